#pragma once

#include <QDialog>

// Makes the program's resources (the icon) available; safe to call more than once.
void initGuiResources();

// A window loaded by its layout's name ("OSCheck", "AllOK", "LocalNG", "NetworkNG", "AllNG"), centred,
// with the program's icon. Its button ends the modal loop.
class OVMessageWindowController : public QDialog
{
    Q_OBJECT

public:
    explicit OVMessageWindowController(const QString &windowNibName, QWidget *parent = nullptr);

    // False when no layout of that name exists.
    bool isLoaded() const { return m_loaded; }
    // A line of its own below the window's text; an empty note adds nothing.
    void addNote(const QString &note);
    // The warning icon instead of the program's: the window reports a failure or an incomplete run.
    void setWarning(bool warning);
    bool isWarning() const { return m_warning; }
    QString messageText() const;

public Q_SLOTS:
    void close();

private:
    bool m_loaded = false;
    bool m_warning = false;
};
