#pragma once

#include <QDialog>

class QHBoxLayout;

// What a box is about, and so its icon: the information icon only for what went wholly well.
enum class MessageKind { Information, Warning, Question };

// The box of the program: icon, message in bold, informative text, and OK (or Yes and No, No the default,
// for a question). Wide enough that a saved file's path reads on one line.
class OVMessageBox : public QDialog
{
    Q_OBJECT

public:
    OVMessageBox(QWidget *parent, const QString &messageText, const QString &informativeText,
                 MessageKind kind = MessageKind::Information);

    MessageKind kind() const { return m_kind; }

private:
    QHBoxLayout *makeButtons();

    MessageKind m_kind;
};

// The standard icon of that kind, as the platform's style draws it.
QPixmap messageIcon(MessageKind kind, int size);
