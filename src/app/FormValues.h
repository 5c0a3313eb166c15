#pragma once

#include <QString>

// The form as it stood when the run started; the run never reads the form again, so an edit during a run
// cannot give one file two management numbers.
struct FormValues
{
    QString controlNumber01;
    QString controlNumber02;
    QString controlNumber03;
    QString firstName; // the family name, written first
    QString lastName;  // the given name

    // The three parts joined by "-", as typed: it names the file and fills the first CSV column.
    QString managementNumber() const
    {
        return controlNumber01 + QLatin1Char('-') + controlNumber02 + QLatin1Char('-') + controlNumber03;
    }
};
