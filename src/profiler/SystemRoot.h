#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

// Where the profiler reads the system's facts: "/" for this machine, or a folder holding hand-made
// /proc, /sys, /etc trees. Every read may fail; a missing file, folder or permission is no error.
class SystemRoot
{
public:
    explicit SystemRoot(QString root = QStringLiteral("/"));

    // The path of a system file below the root.
    QString path(const QString &systemPath) const;
    std::optional<QByteArray> read(const QString &systemPath) const;
    // The file's text trimmed; "" when it cannot be read.
    QString text(const QString &systemPath) const;
    QStringList lines(const QString &systemPath) const;
    // Names in a folder, sorted; empty when it cannot be listed.
    QStringList entries(const QString &systemPath) const;
    bool exists(const QString &systemPath) const;

    // Whether this is the running system, so that its tools and live queries may be asked too.
    bool isLive() const { return m_live; }
    // A tool's standard output, trimmed; absent for a folder root, a missing tool or one that took more
    // than a second.
    std::optional<QString> tool(const QString &commandLine) const;

private:
    QString m_root;
    bool m_live;
};
