#pragma once

#include <QString>
#include <QStringList>

// What the result report says: the local report's text (the saved path in 「」, or the failure), the lines
// that say why something failed, and the line that names what a run could not collect. The result
// windows show the last two below their own text.
struct OVResultReport
{
    QString messageText;
    QString resultText;
    QStringList problems;
    QString incompleteNote;
    bool saved = false;    // the local file was saved
    bool complete = false; // saved, delivered where asked, nothing missing, nothing to say

    // The lines below the result text, in the order problems, incomplete note.
    QString note() const
    {
        QStringList lines = problems;
        if (!incompleteNote.isEmpty())
            lines.append(incompleteNote);
        return lines.join(QLatin1Char('\n'));
    }
    // The whole text of the local box.
    QString informativeText() const
    {
        const QString below = note();
        return below.isEmpty() ? resultText : resultText + QLatin1Char('\n') + below;
    }
};

// How a run reaches the user: the desktop window, the command line's streams, or a test's recorder.
// A run may call it from its own thread; an implementation that owns widgets hands the calls to its thread.
class OVNotifier
{
public:
    virtual ~OVNotifier() = default;

    virtual void disableControls() = 0;
    virtual void enableControls() = 0;
    // An empty text ends the progress display and stops the busy indicator.
    virtual void showProgress(const QString &text) = 0;
    virtual void collectorStarted(int number, int count, const QString &name) = 0;
    // A modal informational box with one button; returns when the user has closed it.
    virtual void showMessageBox(const QString &messageText, const QString &informativeText) = 0;
    // A question with the answers Yes and No, No the default; true when the user chose Yes.
    virtual bool askQuestion(const QString &messageText, const QString &informativeText) = 0;
    // The local form of the result report.
    virtual void showLocalResult(const OVResultReport &report)
    {
        showMessageBox(report.messageText, report.informativeText());
    }
    // The network form of the result report: the window loaded by this name, run modally.
    virtual void showResultWindow(const QString &windowName, const OVResultReport &report) = 0;
    // Opens the file browser with the file selected.
    virtual void revealFile(const QString &path) = 0;
};
