#include "CliNotifier.h"

#include "inventory/DataTypes.h"

#include <cstdio>

namespace {

const QString kPrefix = QStringLiteral("ovalith-collect: ");

void printOut(const QString &text)
{
    std::fputs((text + QLatin1Char('\n')).toUtf8().constData(), stdout);
    std::fflush(stdout);
}

} // namespace

QString commandResultText(const QString &resultText)
{
    QStringList lines = resultText.split(QLatin1Char('\n'));
    lines.removeAll(QStringLiteral("保存先フォルダを開きます。"));
    return lines.join(QLatin1Char('\n'));
}

CliNotifier::CliNotifier(Output output, std::unique_ptr<ProgressLine> progress)
    : m_output(output), m_progress(std::move(progress))
{}

void CliNotifier::error(const QString &text)
{
    for (const QString &line : text.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        m_progress->printLine(kPrefix + line);
}

void CliNotifier::collectorStarted(int number, int count, const QString &name)
{
    Q_UNUSED(name);
    const auto which = datatypes::runOrder().at(std::size_t(number - 1));
    m_progress->step(number, count, QString::fromUtf16(datatypes::entryOf(which).displayName));
}

void CliNotifier::showMessageBox(const QString &messageText, const QString &informativeText)
{
    error(messageText == informativeText ? messageText : messageText + QLatin1Char('\n') + informativeText);
}

bool CliNotifier::askQuestion(const QString &, const QString &informativeText)
{
    error(informativeText + QStringLiteral("\n置き換えるには --replace を付けて実行してください。"));
    return false;
}

void CliNotifier::printReport(const OVResultReport &report)
{
    m_progress->finish();
    m_report = report;
    QString text = commandResultText(report.resultText);
    if (!report.saved)
        error(text); // the failure first, then why
    // Why something failed is a message of its own, on stderr, whatever is printed on stdout.
    for (const QString &problem : report.problems)
        error(problem);
    if (!report.incompleteNote.isEmpty())
        text += QLatin1Char('\n') + report.incompleteNote;
    if (report.saved && m_output == Output::Report)
        printOut(text);
}

void CliNotifier::showLocalResult(const OVResultReport &report)
{
    printReport(report);
}

void CliNotifier::showResultWindow(const QString &windowName, const OVResultReport &report)
{
    printReport(report);
    m_windowName = windowName;
    if (m_output == Output::Report)
        printOut(windowName);
}
