#include "OVAppController.h"

#include "OVMessageWindowController.h"

#include <QLabel>
#include <QPushButton>

OVAppController::OVAppController(OVMessageWindowController &window, const QString &text)
    : QObject(&window), m_window(window)
{
    if (auto *label = window.findChild<QLabel *>(QStringLiteral("label")))
        label->setText(text);
    if (auto *end = window.findChild<QPushButton *>(QStringLiteral("endButton")))
        connect(end, &QPushButton::clicked, &window, &OVMessageWindowController::close);
    window.adjustSize();
}

QString OVAppController::labelText() const
{
    const auto *label = m_window.findChild<QLabel *>(QStringLiteral("label"));
    return label ? label->text() : QString();
}
