#pragma once

#include "app/OVNotifier.h"

// The command line's face: refusals on stderr, the report on stdout (a failed save on stderr, and the
// result window's name on stdout), and, when stderr is a terminal, one progress line per collector.
class CliNotifier : public OVNotifier
{
public:
    explicit CliNotifier(bool showProgressLines) : m_showProgressLines(showProgressLines) {}

    void disableControls() override {}
    void enableControls() override {}
    void showProgress(const QString &) override {}
    void collectorStarted(int number, int count, const QString &name) override;
    void showMessageBox(const QString &messageText, const QString &informativeText) override;
    // The command asks nothing: it says what it would have asked and how to say yes, and answers No.
    bool askQuestion(const QString &messageText, const QString &informativeText) override;
    void showLocalResult(const OVResultReport &report) override;
    // The report text as the local form gives it, then the window's name on stdout.
    void showResultWindow(const QString &windowName, const OVResultReport &report) override;
    void revealFile(const QString &) override {}

private:
    bool m_showProgressLines;
};
