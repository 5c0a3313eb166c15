#pragma once

#include <QDialog>

// The informational box of the program: icon, message in bold, informative text, one OK button. Wide
// enough that a saved file's path reads on one line.
class OVMessageBox : public QDialog
{
    Q_OBJECT

public:
    OVMessageBox(QWidget *parent, const QString &messageText, const QString &informativeText);
};
