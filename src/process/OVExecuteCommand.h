#pragma once

#include <QString>

#include <atomic>
#include <chrono>
#include <optional>

class ChildProcess;
class OVCommandGroup;

// Runs one command line through /bin/sh -c and keeps what it wrote and how it ended.
// An executor runs once; every command gets a fresh one.
class OVExecuteCommand
{
public:
    enum class Ending { NotRun, Exited, Crashed, TimedOut, Stopped, NotStarted };

    explicit OVExecuteCommand(QString command);

    // Waits as long as the command takes.
    void executeCommand();
    // Waits at most about the limit, then kills the whole pipeline and reports the fixed time-out texts.
    // A command that does not end even then is let go after a few seconds more, never waited for without
    // end.
    void executeCommand(int timeLimitSeconds);
    // A data type's command: in a session of its own with nothing to read on its standard input, so a
    // wrapper that asks for a password fails at once; killed with its whole process group at the limit,
    // or when the group is stopped.
    void executeCommand(std::chrono::milliseconds timeLimit, OVCommandGroup &group);

    // Runs the line to its end and gives its standard output trimmed of white space, "" when it wrote
    // nothing readable.
    static QString trimmedOutputOf(const QString &commandLine);
    // The same within a limit and as one of the group's commands; "" when it did not end by itself.
    static QString trimmedOutputOf(const QString &commandLine, std::chrono::milliseconds timeLimit,
                                   OVCommandGroup &group);

    const QString &command() const { return m_command; }
    // Absent before a run, and when the command wrote bytes that are not UTF-8.
    const std::optional<QString> &standardOutput() const { return m_standardOutput; }
    const std::optional<QString> &standardError() const { return m_standardError; }
    // 0 before a run; the shell's exit status after it; -1 after a time-out.
    int commandResult() const { return m_commandResult; }
    Ending ending() const { return m_ending; }
    // Whether a data type's command runs now; safe to ask from any thread.
    bool isRunning() const { return m_running.load(); }
    // Why the command gave no result ("timed out after 180 s", "exited with status 1", or the command's
    // own last line on stderr before "(exited with status 1)"); absent when it ended with success, or was
    // stopped.
    std::optional<QString> failure() const;

private:
    bool start(ChildProcess &process, bool ownSession = false);
    void collect(const ChildProcess &process);
    void reportStartFailure();
    void terminate(ChildProcess &process);
    void waitWithin(ChildProcess &process, std::chrono::milliseconds timeLimit, OVCommandGroup &group);
    std::optional<QString> ownWords() const;

    QString m_command;
    std::optional<QString> m_standardOutput;
    std::optional<QString> m_standardError;
    int m_commandResult = 0;
    Ending m_ending = Ending::NotRun;
    std::atomic<bool> m_running{false};
    std::chrono::milliseconds m_timeLimit{0};
};
