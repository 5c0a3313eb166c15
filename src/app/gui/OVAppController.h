#pragma once

#include <QObject>

class OVMessageWindowController;

// Fills the window that refuses the system and ends the program from it: its end button and its close
// box both end the modal loop, after which the program ends.
class OVAppController : public QObject
{
    Q_OBJECT

public:
    OVAppController(OVMessageWindowController &window, const QString &text);

    // The text shown, for the record.
    QString labelText() const;

private:
    OVMessageWindowController &m_window;
};
