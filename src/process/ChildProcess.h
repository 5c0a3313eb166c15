#pragma once

#include <QByteArray>
#include <QDeadlineTimer>

#include <chrono>
#include <sys/types.h>

// One /bin/sh -c child with both output pipes drained while it runs. Its own process group (or session),
// so that a kill reaches the whole pipeline. A child that does not end after SIGKILL (blocked in the
// kernel, on a dead network volume) is let go after a bounded wait and reaped whenever it ends, so no
// caller ever waits without end.
class ChildProcess
{
public:
    struct Options
    {
        bool ownSession = false; // setsid: no controlling terminal; else only a process group of its own
        bool nullInput = false;  // /dev/null on standard input; else the program's own
    };

    ChildProcess() = default;
    ~ChildProcess();
    ChildProcess(const ChildProcess &) = delete;
    ChildProcess &operator=(const ChildProcess &) = delete;

    // Starts the line; false when no process could be made.
    [[nodiscard]] bool start(const QByteArray &commandLine, Options options);
    // The child's process id, which is also its process group's; 0 before a start.
    pid_t pid() const { return m_pid; }

    // Reads the pipes until the child has ended (true) or the deadline has passed (false).
    bool waitUntil(const QDeadlineTimer &deadline);
    // SIGKILL to the group and the child, then a wait of at most `grace`; a child still there after it is
    // let go. True when the child was reaped.
    bool killAndReap(std::chrono::milliseconds grace);

    bool exitedNormally() const { return m_exitedNormally; }
    // The exit status, or the number of the signal that ended it.
    int exitCode() const { return m_exitCode; }
    const QByteArray &standardOutput() const { return m_out; }
    const QByteArray &standardError() const { return m_err; }

private:
    bool reapIfEnded();
    void drain(int timeoutMilliseconds);
    void closePipes();

    pid_t m_pid = 0;
    int m_outPipe = -1;
    int m_errPipe = -1;
    bool m_reaped = false;
    bool m_exitedNormally = false;
    int m_exitCode = 0;
    QByteArray m_out;
    QByteArray m_err;
};
