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
    printLine(stderr, informativeText + QStringLiteral("\n置き換えるには --replace を付けて実行してください。"));
    return false;
}

void CliNotifier::showLocalResult(const OVResultReport &report)
{
    printLine(report.saved ? stdout : stderr, report.informativeText);
}

void CliNotifier::showResultWindow(const QString &windowName, const OVResultReport &report)
{
    showLocalResult(report);
    printLine(stdout, windowName);
}
