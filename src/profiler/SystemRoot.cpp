#include "SystemRoot.h"

#include "process/OVExecuteCommand.h"

#include <QDir>
#include <QFile>

namespace {
constexpr int kToolTimeLimitSeconds = 1;
}

SystemRoot::SystemRoot(QString root)
    : m_root(QDir::cleanPath(root)), m_live(QDir::cleanPath(root) == QStringLiteral("/"))
{}

QString SystemRoot::path(const QString &systemPath) const
{
    return m_live ? systemPath : m_root + systemPath;
}

std::optional<QByteArray> SystemRoot::read(const QString &systemPath) const
{
    QFile file(path(systemPath));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.readAll();
}

QString SystemRoot::text(const QString &systemPath) const
{
    return QString::fromUtf8(read(systemPath).value_or(QByteArray())).trimmed();
}

QStringList SystemRoot::lines(const QString &systemPath) const
{
    return QString::fromUtf8(read(systemPath).value_or(QByteArray()))
        .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QStringList SystemRoot::entries(const QString &systemPath) const
{
    return QDir(path(systemPath))
        .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System, QDir::Name);
}

bool SystemRoot::exists(const QString &systemPath) const
{
    return QFile::exists(path(systemPath));
}

std::optional<QString> SystemRoot::tool(const QString &commandLine) const
{
    if (!m_live)
        return std::nullopt;
    OVExecuteCommand command(commandLine);
    command.executeCommand(kToolTimeLimitSeconds);
    if (command.commandResult() != 0)
        return std::nullopt;
    return command.standardOutput().value_or(QString()).trimmed();
}
