#include "OVMessageBox.h"

#include "OVMessageWindowController.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

QPixmap messageIcon(MessageKind kind, int size)
{
    const QStyle::StandardPixmap pixmap = kind == MessageKind::Warning    ? QStyle::SP_MessageBoxWarning
                                          : kind == MessageKind::Question ? QStyle::SP_MessageBoxQuestion
                                                                          : QStyle::SP_MessageBoxInformation;
    return QApplication::style()->standardIcon(pixmap).pixmap(size, size);
}

OVMessageBox::OVMessageBox(QWidget *parent, const QString &messageText, const QString &informativeText,
                           MessageKind kind)
    : QDialog(parent), m_kind(kind)
{
    initGuiResources();
    // The title names the program, the heading the event; the body says the rest once.
    setWindowTitle(QStringLiteral("Ovalith"));
    auto *icon = new QLabel;
    icon->setObjectName(QStringLiteral("icon"));
    icon->setPixmap(messageIcon(kind, 64));
    icon->setAlignment(Qt::AlignTop);
    auto *message = new QLabel(messageText);
    QFont bold = message->font();
    bold.setBold(true);
    message->setFont(bold);
    auto *informative = new QLabel(informativeText);
    informative->setObjectName(QStringLiteral("informativeText"));
    informative->setWordWrap(true);
    informative->setMinimumWidth(informative->fontMetrics().averageCharWidth() * 64);
    informative->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto *texts = new QVBoxLayout;
    texts->addWidget(message);
    texts->addWidget(informative);
    auto *top = new QHBoxLayout;
    top->setSpacing(16);
    top->addWidget(icon);
    top->addLayout(texts, 1);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 20, 20, 16);
    layout->setSpacing(16);
    layout->addLayout(top);
    layout->addLayout(makeButtons());
}

QHBoxLayout *OVMessageBox::makeButtons()
{
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    if (m_kind == MessageKind::Question) {
        auto *no = new QPushButton(QStringLiteral("いいえ"));
        auto *yes = new QPushButton(QStringLiteral("はい"));
        no->setObjectName(QStringLiteral("no"));
        yes->setObjectName(QStringLiteral("yes"));
        no->setDefault(true); // nothing is replaced unless the user says so
        connect(no, &QPushButton::clicked, this, &QDialog::reject);
        connect(yes, &QPushButton::clicked, this, &QDialog::accept);
        buttons->addWidget(yes);
        buttons->addWidget(no);
    } else {
        auto *ok = new QPushButton(QStringLiteral("OK"));
        ok->setDefault(true);
        ok->setMinimumWidth(96);
        connect(ok, &QPushButton::clicked, this, &QDialog::accept);
        buttons->addWidget(ok);
    }
    return buttons;
}
