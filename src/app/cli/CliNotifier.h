#pragma once

#include "ProgressLine.h"
#include "app/OVNotifier.h"

#include <memory>
#include <optional>

// The command line's face. Every line for the user on stderr begins with "ovalith-collect: " and is in
// Japanese; the report goes to stdout (a failed save's to stderr), unless --quiet keeps it back or --json
// turns it into one JSON object that main prints at the end. The progress is ProgressLine's.
class CliNotifier : public OVNotifier
{
public:
    enum class Output { Report, Quiet, Json };

    CliNotifier(Output output, std::unique_ptr<ProgressLine> progress);

    // A message of the program's own on stderr, each line with the prefix.
    void error(const QString &text);
    ProgressLine &progress() { return *m_progress; }

    void disableControls() override {}
    void enableControls() override {}
    void showProgress(const QString &) override {}
    void collectorStarted(int number, int count, const QString &name) override;
    void showMessageBox(const QString &messageText, const QString &informativeText) override;
    // The command asks nothing: it says what it would have asked and how to say yes, and answers No.
    bool askQuestion(const QString &messageText, const QString &informativeText) override;
    void showLocalResult(const OVResultReport &report) override;
    // The report as the local form gives it, then the window's name on stdout.
    void showResultWindow(const QString &windowName, const OVResultReport &report) override;
    void revealFile(const QString &) override {}

    // What the run reported, for --json: the report, and the result window's name when it had one.
    const std::optional<OVResultReport> &report() const { return m_report; }
    const QString &windowName() const { return m_windowName; }

private:
    void printReport(const OVResultReport &report);

    Output m_output;
    std::unique_ptr<ProgressLine> m_progress;
    std::optional<OVResultReport> m_report;
    QString m_windowName;
};

// The report's text for the command: the window's "保存先フォルダを開きます。" is left out, as the command
// opens nothing.
QString commandResultText(const QString &resultText);
