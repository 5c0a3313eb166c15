#pragma once

#include "app/OVNotifier.h"

// The command line's face: refusals on stderr, the report on stdout (a failed save on stderr), and, when
// stderr is a terminal, one progress line per collector.
class CliNotifier : public OVNotifier
{
public:
    explicit CliNotifier(bool showProgressLines) : m_showProgressLines(showProgressLines) {}

    void disableControls() override {}
    void enableControls() override {}
    void showProgress(const QString &) override {}
    void collectorStarted(int number, int count, const QString &name) override;
    void showMessageBox(const QString &messageText, const QString &informativeText) override;
    void showLocalResult(const QString &messageText, const QString &informativeText, bool saved) override;
    void showResultWindow(const QString &windowName) override;
    void revealFile(const QString &) override {}

private:
    bool m_showProgressLines;
};
