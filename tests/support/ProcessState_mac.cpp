#include "TestSupport.h"

#include <csignal>

namespace testsupport {

bool processIsAlive(qint64 pid)
{
    if (pid <= 0 || ::kill(pid_t(pid), 0) != 0)
        return false;
    // kill(0) answers for a zombie too; only its state says it has ended.
    return !shellOutput(QStringLiteral("ps -o stat= -p %1").arg(pid)).startsWith(QLatin1Char('Z'));
}

} // namespace testsupport
