#include "CliRun.h"

#include <QProcess>

namespace testsupport {

CliResult collect(const QStringList &arguments, const QString &program)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(60000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

QStringList formArguments(const QString &appDir)
{
    return {"--app-dir",     appDir, "--control-number", "abc-12-x123",
            "--family-name", "山田", "--given-name",     "太郎"};
}

QString errorLines(const QStringList &messages)
{
    QString text;
    for (const QString &message : messages) {
        for (const QString &line : message.split('\n', Qt::SkipEmptyParts))
            text += "ovalith-collect: " + line + "\n";
    }
    return text;
}

} // namespace testsupport
