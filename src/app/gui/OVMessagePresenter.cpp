#include "OVMessagePresenter.h"

#include "OVMessageBox.h"
#include "OVMessageWindowController.h"

#include <QApplication>
#include <QDialog>

void OVQtMessagePresenter::showMessageBox(QWidget *parent, const QString &messageText,
                                          const QString &informativeText, MessageKind kind)
{
    if (m_dismissed)
        return;
    OVMessageBox box(parent, messageText, informativeText, kind);
    box.exec();
}

bool OVQtMessagePresenter::askQuestion(QWidget *parent, const QString &messageText,
                                       const QString &informativeText)
{
    if (m_dismissed)
        return false;
    OVMessageBox box(parent, messageText, informativeText, MessageKind::Question);
    return box.exec() == QDialog::Accepted;
}

void OVQtMessagePresenter::showSheet(QWidget *window, const QString &messageText,
                                     const QString &informativeText, std::function<void()> dismissed)
{
    auto *box = new OVMessageBox(window, messageText, informativeText);
    box->setWindowModality(Qt::WindowModal); // a sheet on macOS
    box->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(box, &QDialog::finished, box, [dismissed = std::move(dismissed)] { dismissed(); });
    box->open();
}

void OVQtMessagePresenter::runResultWindow(QWidget *parent, const QString &windowName, const QString &note,
                                           bool warning)
{
    OVMessageWindowController window(windowName, parent);
    if (m_dismissed || !window.isLoaded())
        return;
    window.addNote(note);
    window.setWarning(warning);
    window.exec();
}

void OVQtMessagePresenter::revealFile(const QString &path)
{
    revealInFileBrowser(path);
}

void OVQtMessagePresenter::terminate(int exitCode)
{
    // Not quit(): that first asks the windows to close, and the form answers a close with the end.
    QCoreApplication::exit(exitCode);
}

void OVQtMessagePresenter::dismissAll()
{
    m_dismissed = true;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (auto *dialog = qobject_cast<QDialog *>(widget); dialog && dialog->isVisible())
            dialog->reject();
    }
}
