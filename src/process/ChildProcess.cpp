#include "ChildProcess.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <mutex>
#include <poll.h>
#include <sys/wait.h>
#include <system_error>
#include <thread>
#include <unistd.h>

extern char **environ;

namespace {

constexpr int kSliceMilliseconds = 10;

// Pipes are made and children forked under one lock, so that a pipe of one command never leaks into a
// child forked for another before it is marked close-on-exec (pipe2 is Linux's alone).
std::mutex &spawnMutex()
{
    static std::mutex mutex;
    return mutex;
}

bool makePipe(int ends[2])
{
    if (::pipe(ends) != 0)
        return false;
    for (int i = 0; i < 2; ++i)
        ::fcntl(ends[i], F_SETFD, FD_CLOEXEC);
    return true;
}

void closeBoth(int ends[2])
{
    ::close(ends[0]);
    ::close(ends[1]);
}

// In the forked child: only calls that are safe between fork and exec in a program with threads.
[[noreturn]] void execShell(char *const argv[], int out, int err, ChildProcess::Options options)
{
    if (options.ownSession)
        ::setsid();
    else
        ::setpgid(0, 0);
    if (options.nullInput) {
        const int null = ::open("/dev/null", O_RDONLY);
        if (null >= 0) {
            ::dup2(null, STDIN_FILENO);
            ::close(null);
        }
    }
    ::dup2(out, STDOUT_FILENO);
    ::dup2(err, STDERR_FILENO);
    struct sigaction standard
    {};
    standard.sa_handler = SIG_DFL;
    for (const int number : {SIGPIPE, SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGCHLD})
        ::sigaction(number, &standard, nullptr);
    sigset_t none;
    sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
    ::execve("/bin/sh", argv, environ);
    ::_exit(127);
}

void appendAvailable(int &fd, QByteArray &buffer)
{
    char chunk[65536];
    for (;;) {
        const ssize_t count = ::read(fd, chunk, sizeof chunk);
        if (count > 0) {
            buffer.append(chunk, count);
            continue;
        }
        if (count < 0 && errno == EINTR)
            continue;
        if (count == 0 || errno != EAGAIN) {
            ::close(fd);
            fd = -1;
        }
        return;
    }
}

// A child that outlives its bounded wait is reaped whenever it ends, by a thread that waits for nothing
// else; where no thread can be made, it stays a zombie until the program ends.
void reapLater(pid_t pid)
{
    try {
        std::thread([pid] {
            int status = 0;
            while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
            }
        }).detach();
    } catch (const std::system_error &) {
    }
}

} // namespace

ChildProcess::~ChildProcess()
{
    if (m_pid > 0 && !m_reaped)
        killAndReap(std::chrono::milliseconds(0));
    closePipes();
}

bool ChildProcess::start(const QByteArray &commandLine, Options options)
{
    QByteArray line = commandLine;
    char shell[] = "/bin/sh";
    char dashC[] = "-c";
    char *const argv[] = {shell, dashC, line.data(), nullptr};
    std::lock_guard lock(spawnMutex());
    int out[2];
    int err[2];
    if (!makePipe(out))
        return false;
    if (!makePipe(err)) {
        closeBoth(out);
        return false;
    }
    const pid_t pid = ::fork();
    if (pid == 0)
        execShell(argv, out[1], err[1], options);
    ::close(out[1]);
    ::close(err[1]);
    if (pid < 0) {
        ::close(out[0]);
        ::close(err[0]);
        return false;
    }
    // Also from here: a kill of the group may come before the child has made it.
    ::setpgid(pid, pid);
    m_pid = pid;
    m_outPipe = out[0];
    m_errPipe = err[0];
    for (const int fd : {m_outPipe, m_errPipe})
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    return true;
}

bool ChildProcess::reapIfEnded()
{
    if (m_reaped)
        return true;
    int status = 0;
    pid_t result;
    do {
        result = ::waitpid(m_pid, &status, WNOHANG);
    } while (result < 0 && errno == EINTR);
    if (result != m_pid)
        return false;
    m_reaped = true;
    m_exitedNormally = WIFEXITED(status);
    m_exitCode = m_exitedNormally ? WEXITSTATUS(status) : WTERMSIG(status);
    return true;
}

void ChildProcess::drain(int timeoutMilliseconds)
{
    pollfd fds[2];
    nfds_t count = 0;
    for (const int fd : {m_outPipe, m_errPipe}) {
        if (fd >= 0)
            fds[count++] = pollfd{fd, POLLIN, 0};
    }
    if (::poll(count ? fds : nullptr, count, timeoutMilliseconds) <= 0 || count == 0)
        return;
    if (m_outPipe >= 0)
        appendAvailable(m_outPipe, m_out);
    if (m_errPipe >= 0)
        appendAvailable(m_errPipe, m_err);
}

void ChildProcess::closePipes()
{
    for (int *fd : {&m_outPipe, &m_errPipe}) {
        if (*fd >= 0)
            ::close(*fd);
        *fd = -1;
    }
}

bool ChildProcess::waitUntil(const QDeadlineTimer &deadline)
{
    for (;;) {
        if (reapIfEnded()) {
            // What the pipeline wrote before it ended; a grandchild that keeps a pipe open is not waited for.
            drain(0);
            closePipes();
            return true;
        }
        if (deadline.hasExpired())
            return false;
        drain(deadline.isForever() ? kSliceMilliseconds
                                   : int(std::min<qint64>(deadline.remainingTime(), kSliceMilliseconds)));
    }
}

bool ChildProcess::killAndReap(std::chrono::milliseconds grace)
{
    if (m_pid <= 0 || m_reaped)
        return m_reaped;
    ::kill(-m_pid, SIGKILL);
    ::kill(m_pid, SIGKILL);
    const QDeadlineTimer deadline(grace);
    if (waitUntil(deadline))
        return true;
    closePipes();
    reapLater(m_pid);
    m_reaped = true; // the reaper owns it now
    m_exitedNormally = false;
    m_exitCode = SIGKILL;
    return false;
}
