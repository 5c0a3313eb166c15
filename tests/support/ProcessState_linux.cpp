#include "TestSupport.h"

#include <QFile>

#include <csignal>

namespace testsupport {

bool processIsAlive(qint64 pid)
{
    if (pid <= 0 || ::kill(pid_t(pid), 0) != 0)
        return false;
    // kill(0) answers for a zombie too; only its state says it has ended.
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    return !stat.open(QIODevice::ReadOnly) || !stat.readAll().contains(") Z ");
}

} // namespace testsupport
