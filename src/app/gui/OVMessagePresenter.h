#pragma once

#include "OVMessageBox.h"

#include <QString>

#include <functional>

class QWidget;

// Everything that waits for the user or leaves the program: message boxes, the result windows, the file
// browser and the end. The desktop programs show real windows; tests answer at once and record.
// Every call is made on the GUI thread.
class OVMessagePresenter
{
public:
    virtual ~OVMessagePresenter() = default;

    // A modal box with one button; returns when it is closed.
    virtual void showMessageBox(QWidget *parent, const QString &messageText, const QString &informativeText,
                                MessageKind kind) = 0;
    // A modal question, No the default; true when the user chose Yes.
    virtual bool askQuestion(QWidget *parent, const QString &messageText, const QString &informativeText) = 0;
    // The same box as a sheet on the window; `dismissed` runs when it is closed.
    virtual void showSheet(QWidget *window, const QString &messageText, const QString &informativeText,
                           std::function<void()> dismissed) = 0;
    // The window loaded by this name, run modally until it is closed; a note becomes a line of its own
    // below the window's text. A warning shows the warning icon instead of the information icon.
    virtual void runResultWindow(QWidget *parent, const QString &windowName, const QString &note,
                                 bool warning) = 0;
    virtual void revealFile(const QString &path) = 0;
    // Ends the program with this exit code.
    virtual void terminate(int exitCode) = 0;
    // Closes every box still open and answers every later one at once (a question with No), so that a
    // run waiting for the user can end when the program must.
    virtual void dismissAll() {}
};

// The real thing: OVMessageBox, OVMessageWindowController, the file browser, the end of the event loop.
class OVQtMessagePresenter : public OVMessagePresenter
{
public:
    void showMessageBox(QWidget *parent, const QString &messageText, const QString &informativeText,
                        MessageKind kind) override;
    bool askQuestion(QWidget *parent, const QString &messageText, const QString &informativeText) override;
    void showSheet(QWidget *window, const QString &messageText, const QString &informativeText,
                   std::function<void()> dismissed) override;
    void runResultWindow(QWidget *parent, const QString &windowName, const QString &note,
                         bool warning) override;
    void revealFile(const QString &path) override;
    void terminate(int exitCode) override;
    void dismissAll() override;

private:
    bool m_dismissed = false;
};

// Opens the platform's file browser with the file selected.
void revealInFileBrowser(const QString &path);
