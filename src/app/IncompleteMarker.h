#pragma once

#include "inventory/OVInventoryBase.h"

#include <QString>

#include <vector>

// Beside a file that lacks some data types, a note that says so where the files are gathered: the CSV
// file itself stays exactly as a complete run would write it, and the site's importer, which takes every
// .csv, never sees the note.

// What a note's name ends in; the campaign report pairs each note with its file by it.
inline const QString kMarkerSuffix = QStringLiteral(".incomplete.txt");

// "<management number>.incomplete.txt"
QString makeMarkerName(const QString &managementNumber);
// SAVE/<management number>.incomplete.txt
QString makeMarkerPath(const QString &managementNumber);

struct IncompleteRun
{
    QString managementNumber;
    QString dateTime;     // "2026/12/07 19:14:47"
    QString computerName; // "" when the system cannot tell it
    QString machineKey;
    std::vector<MissingDataType> missing;
};

// The note's text: date and time, computer name, MAC key, each missing data type with its reason, and
// what to do; lines end in CR LF, as in the CSV file.
QString makeIncompleteText(const IncompleteRun &run);

// One line per missing data type, in the user's words: "プリンタ（SPPrintersDataType）：<reason>".
QStringList describeMissing(const std::vector<MissingDataType> &missing);

// The missing data types a note names, one line each as describeMissing() wrote them; empty for a note
// that is not one of ours.
QStringList missingLinesOfNote(const QByteArray &noteBytes);
// "プリンタ" of "プリンタ（SPPrintersDataType）：<reason>".
QString dataTypeNameOfLine(const QString &missingLine);
