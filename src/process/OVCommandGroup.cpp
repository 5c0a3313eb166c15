#include "OVCommandGroup.h"

#include <csignal>
#include <sys/types.h>

namespace {

void killGroup(qint64 processGroup)
{
    if (processGroup > 0)
        ::kill(-static_cast<pid_t>(processGroup), SIGKILL);
}

} // namespace

bool OVCommandGroup::add(qint64 processGroup)
{
    std::lock_guard lock(m_mutex);
    if (m_stopped) {
        killGroup(processGroup);
        return false;
    }
    m_running.insert(processGroup);
    return true;
}

bool OVCommandGroup::startCommand(const std::function<qint64()> &start)
{
    std::lock_guard lock(m_mutex);
    if (m_stopped)
        return false;
    if (const qint64 processGroup = start(); processGroup > 0)
        m_running.insert(processGroup);
    return true;
}

void OVCommandGroup::remove(qint64 processGroup)
{
    std::lock_guard lock(m_mutex);
    m_running.erase(processGroup);
}

void OVCommandGroup::stop()
{
    std::lock_guard lock(m_mutex);
    m_stopped = true;
    for (const qint64 processGroup : m_running)
        killGroup(processGroup);
}

bool OVCommandGroup::isStopped() const
{
    std::lock_guard lock(m_mutex);
    return m_stopped;
}
