#include "OVMessageBox.h"

#include "OVMessageWindowController.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

OVMessageBox::OVMessageBox(QWidget *parent, const QString &messageText, const QString &informativeText)
    : QDialog(parent)
{
    initGuiResources();
    setWindowTitle(messageText);
    auto *icon = new QLabel;
    icon->setPixmap(
        QPixmap(QStringLiteral(":/icon.png")).scaled(64, 64, Qt::KeepAspectRatio, Qt::SmoothTransformation));
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
    auto *ok = new QPushButton(QStringLiteral("OK"));
    ok->setDefault(true);
    ok->setMinimumWidth(96);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto *texts = new QVBoxLayout;
    texts->addWidget(message);
    texts->addWidget(informative);
    auto *top = new QHBoxLayout;
    top->setSpacing(16);
    top->addWidget(icon);
    top->addLayout(texts, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 20, 20, 16);
    layout->setSpacing(16);
    layout->addLayout(top);
    layout->addLayout(buttons);
}
