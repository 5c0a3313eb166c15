#include "OVMessageWindowController.h"

#include "OVMessageBox.h"
#include "ui_AllNG.h"
#include "ui_AllOK.h"
#include "ui_LocalNG.h"
#include "ui_NetworkNG.h"
#include "ui_OSCheck.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

namespace {

template <typename Ui> void setupLayout(QDialog *dialog)
{
    Ui ui;
    ui.setupUi(dialog);
}

using Setup = void (*)(QDialog *);

Setup layoutNamed(const QString &name)
{
    static const std::pair<QLatin1String, Setup> kLayouts[] = {
        {QLatin1String("OSCheck"), setupLayout<Ui::OSCheck>},
        {QLatin1String("AllOK"), setupLayout<Ui::AllOK>},
        {QLatin1String("LocalNG"), setupLayout<Ui::LocalNG>},
        {QLatin1String("NetworkNG"), setupLayout<Ui::NetworkNG>},
        {QLatin1String("AllNG"), setupLayout<Ui::AllNG>}};
    for (const auto &[layoutName, setup] : kLayouts) {
        if (name == layoutName)
            return setup;
    }
    return nullptr;
}

} // namespace

void initGuiResources()
{
    static const bool loaded = [] {
        Q_INIT_RESOURCE(resources); // the icon lives in a static library
        return true;
    }();
    Q_UNUSED(loaded);
}

OVMessageWindowController::OVMessageWindowController(const QString &windowNibName, QWidget *parent)
    : QDialog(parent)
{
    initGuiResources();
    const Setup setup = layoutNamed(windowNibName);
    m_loaded = setup != nullptr;
    if (!m_loaded)
        return;
    setup(this);
    if (auto *icon = findChild<QLabel *>(QStringLiteral("iconImageView")))
        icon->setPixmap(QPixmap(QStringLiteral(":/icon.png")));
    if (auto *ok = findChild<QPushButton *>(QStringLiteral("okButton")))
        connect(ok, &QPushButton::clicked, this, &OVMessageWindowController::close);
    adjustSize();
    if (const QScreen *screen = parent ? parent->screen() : QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void OVMessageWindowController::close()
{
    reject(); // ends the modal loop and hides the window
}

void OVMessageWindowController::addNote(const QString &note)
{
    auto *message = findChild<QLabel *>(QStringLiteral("message"));
    if (note.isEmpty() || !message)
        return;
    message->setText(message->text() + QLatin1Char('\n') + note);
    adjustSize();
}

void OVMessageWindowController::setWarning(bool warning)
{
    m_warning = warning;
    auto *icon = findChild<QLabel *>(QStringLiteral("iconImageView"));
    if (icon)
        icon->setPixmap(warning ? messageIcon(MessageKind::Warning, 64)
                                : QPixmap(QStringLiteral(":/icon.png")));
}

QString OVMessageWindowController::messageText() const
{
    const auto *message = findChild<QLabel *>(QStringLiteral("message"));
    return message ? message->text() : QString();
}
