#include "CliNotifier.h"

#include <cstdio>

namespace {

void printLine(std::FILE *stream, const QString &text)
{
    std::fputs(text.toUtf8().constData(), stream);
    std::fputc('\n', stream);
    std::fflush(stream);
}

} // namespace

void CliNotifier::collectorStarted(int number, int count, const QString &name)
{
    if (m_showProgressLines)
        printLine(stderr, QStringLiteral("[%1/%2] %3").arg(number).arg(count).arg(name));
}

void CliNotifier::showMessageBox(const QString &, const QString &informativeText)
{
    printLine(stderr, informativeText);
}

bool CliNotifier::askQuestion(const QString &, const QString &informativeText)
{
    printLine(stderr,
              informativeText + QStringLiteral("\n置き換えるには --replace を付けて実行してください。"));
    return false;
}

void CliNotifier::showLocalResult(const OVResultReport &report)
{
    // Why something failed is a message of its own, on stderr; the report goes where its result belongs.
    for (const QString &problem : report.problems) {
        if (report.saved)
            printLine(stderr, problem);
    }
    QString text = report.resultText;
    if (!report.saved && !report.problems.isEmpty())
        text += QLatin1Char('\n') + report.problems.join(QLatin1Char('\n'));
    if (!report.incompleteNote.isEmpty())
        text += QLatin1Char('\n') + report.incompleteNote;
    printLine(report.saved ? stdout : stderr, text);
}

void CliNotifier::showResultWindow(const QString &windowName, const OVResultReport &report)
{
    showLocalResult(report);
    printLine(stdout, windowName);
}
