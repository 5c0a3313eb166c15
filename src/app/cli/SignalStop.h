#pragma once

#include <atomic>
#include <functional>
#include <thread>

// Turns SIGINT, SIGTERM and SIGHUP into an orderly end of the run: `stop` kills every running command
// and makes the run skip its save and report, and the program then exits with 128 + the signal's
// number once the run has removed its temporary files. A second signal ends the program at once.
class SignalStop
{
public:
    explicit SignalStop(std::function<void()> stop);
    ~SignalStop();
    SignalStop(const SignalStop &) = delete;
    SignalStop &operator=(const SignalStop &) = delete;

    // 0 while no signal came.
    int signalNumber() const { return m_signal.load(); }

private:
    void watch();

    std::function<void()> m_stop;
    std::atomic<int> m_signal{0};
    int m_pipe[2] = {-1, -1};
    std::thread m_watcher;
};
