#include "SignalStop.h"

#include <csignal>
#include <fcntl.h>
#include <iterator>
#include <unistd.h>

namespace {

constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};
std::atomic<int> g_writeEnd{-1};

void onSignal(int number)
{
    // Only what is safe in a signal handler: hand the number to the watching thread.
    const auto byte = static_cast<unsigned char>(number);
    const int fd = g_writeEnd.load();
    if (fd >= 0)
        (void)!::write(fd, &byte, 1);
}

} // namespace

SignalStop::SignalStop(std::function<void(int number)> stop) : m_stop(std::move(stop))
{
    if (::pipe(m_pipe) != 0)
        return;
    for (const int fd : m_pipe)
        ::fcntl(fd, F_SETFD, FD_CLOEXEC); // macOS has no pipe2
    g_writeEnd.store(m_pipe[1]);
    struct sigaction action
    {};
    action.sa_handler = onSignal;
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    for (std::size_t i = 0; i < std::size(kSignals); ++i) {
        ::sigaction(kSignals[i], nullptr, &m_previous[i]);
        // A signal ignored at start stays ignored: nohup's hangup must not end the run.
        if (m_previous[i].sa_handler != SIG_IGN)
            ::sigaction(kSignals[i], &action, nullptr);
    }
    m_watcher = std::thread([this] { watch(); });
}

SignalStop::~SignalStop()
{
    if (m_pipe[1] < 0)
        return;
    for (std::size_t i = 0; i < std::size(kSignals); ++i)
        ::sigaction(kSignals[i], &m_previous[i], nullptr);
    g_writeEnd.store(-1);
    ::close(m_pipe[1]); // the watcher reads the end of the pipe and returns
    m_watcher.join();
    ::close(m_pipe[0]);
}

void SignalStop::watch()
{
    unsigned char number = 0;
    while (::read(m_pipe[0], &number, 1) == 1) {
        const bool first = m_signal.load() == 0;
        if (first)
            m_signal.store(number);
        m_stop(number); // a second signal stops what may still run before it ends the program
        if (!first)
            ::_exit(128 + number);
    }
}
