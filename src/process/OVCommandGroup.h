#pragma once

#include <QtGlobal>

#include <functional>
#include <mutex>
#include <set>

// The commands of one run, so that an end of the program or a signal can stop all of them at once.
// Each command runs in a process group of its own; stopping kills every group, and a command that starts
// after the stop is killed as soon as it is added.
class OVCommandGroup
{
public:
    // False when the group was stopped already; the process group has then been killed.
    bool add(qint64 processGroup);
    // Runs `start` (which answers the new process group, or 0 when it made none) and adds what it made, both
    // under the group's lock; false, without starting anything, when the group was stopped already.
    bool startCommand(const std::function<qint64()> &start);
    void remove(qint64 processGroup);
    void stop();
    bool isStopped() const;

private:
    mutable std::mutex m_mutex;
    std::set<qint64> m_running;
    bool m_stopped = false;
};
