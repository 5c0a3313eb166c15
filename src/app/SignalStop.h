#pragma once

#include <atomic>
#include <csignal>
#include <functional>
#include <thread>

// Turns SIGINT, SIGTERM and SIGHUP into an orderly end: `stop` is called with the signal's number on a
// thread of its own (never in the handler), so the program can stop its run's commands and end once the
// run has removed its temporary files. A second signal ends the program at once with 128 + its number. A
// signal that was ignored when the program started (nohup) stays ignored.
class SignalStop
{
public:
    explicit SignalStop(std::function<void(int number)> stop);
    ~SignalStop();
    SignalStop(const SignalStop &) = delete;
    SignalStop &operator=(const SignalStop &) = delete;

    // 0 while no signal came.
    int signalNumber() const { return m_signal.load(); }

private:
    void watch();

    std::function<void(int number)> m_stop;
    std::atomic<int> m_signal{0};
    int m_pipe[2] = {-1, -1};
    struct sigaction m_previous[3] = {};
    std::thread m_watcher;
};
