#include "OVMessagePresenter.h"

#include "OVMessageWindowController.h"

#include <QCoreApplication>
#include <QMessageBox>

namespace {

QMessageBox *makeBox(QWidget *parent, const QString &messageText, const QString &informativeText)
{
    auto *box = new QMessageBox(QMessageBox::Information, messageText, messageText, QMessageBox::Ok, parent);
    box->setInformativeText(informativeText);
    box->setIconPixmap(
        QPixmap(QStringLiteral(":/icon.png")).scaled(64, 64, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    return box;
}

} // namespace

void OVQtMessagePresenter::showMessageBox(QWidget *parent, const QString &messageText,
                                          const QString &informativeText)
{
    QMessageBox *box = makeBox(parent, messageText, informativeText);
    box->exec();
    delete box;
}

void OVQtMessagePresenter::showSheet(QWidget *window, const QString &messageText,
                                     const QString &informativeText, std::function<void()> dismissed)
{
    QMessageBox *box = makeBox(window, messageText, informativeText);
    box->setWindowModality(Qt::WindowModal); // a sheet on macOS
    box->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(box, &QMessageBox::finished, box, [dismissed = std::move(dismissed)] { dismissed(); });
    box->open();
}

void OVQtMessagePresenter::runResultWindow(QWidget *parent, const QString &windowName)
{
    OVMessageWindowController window(windowName, parent);
    if (window.isLoaded())
        window.exec();
}

void OVQtMessagePresenter::revealFile(const QString &path)
{
    revealInFileBrowser(path);
}

void OVQtMessagePresenter::terminate()
{
    QCoreApplication::quit();
}
