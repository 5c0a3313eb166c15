#include "OVExecuteCommand.h"

#include "OVCommandGroup.h"

#include <QProcess>
#include <QStringDecoder>

#include <algorithm>
#include <climits>
#include <csignal>
#include <sys/types.h>
#include <unistd.h>

namespace {

constexpr int kPollMilliseconds = 100;
constexpr int kExitStatusNotStarted = 127;

std::optional<QString> decodeUtf8(const QByteArray &bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

} // namespace

OVExecuteCommand::OVExecuteCommand(QString command) : m_command(std::move(command))
{}

bool OVExecuteCommand::start(QProcess &process, bool ownSession)
{
    process.setProgram(QStringLiteral("/bin/sh"));
    process.setArguments({QStringLiteral("-c"), m_command});
    if (ownSession) {
        // No controlling terminal: nothing in the pipeline can wait for the user, and the terminal's
        // signals reach only this program, which stops the group itself.
        process.setStandardInputFile(QProcess::nullDevice());
        process.setChildProcessModifier([] { ::setsid(); });
    } else {
        process.setInputChannelMode(QProcess::ForwardedInputChannel);
        // Its own process group, so that a time-out kills the whole pipeline and not only the shell.
        process.setChildProcessModifier([] { ::setpgid(0, 0); });
    }
    process.start();
    if (process.waitForStarted(-1))
        return true;
    reportStartFailure();
    return false;
}

void OVExecuteCommand::reportStartFailure()
{
    m_standardOutput = QString();
    m_standardError = QString();
    m_commandResult = kExitStatusNotStarted;
    m_ending = Ending::NotStarted;
}

void OVExecuteCommand::collect(QProcess &process)
{
    // QProcess reads both pipes while it waits, so a chatty command never blocks on a full pipe.
    m_standardOutput = decodeUtf8(process.readAllStandardOutput());
    m_standardError = decodeUtf8(process.readAllStandardError());
    m_commandResult = process.exitCode();
    m_ending = process.exitStatus() == QProcess::NormalExit ? Ending::Exited : Ending::Crashed;
}

void OVExecuteCommand::terminate(QProcess &process)
{
    const qint64 pid = process.processId();
    if (pid > 0)
        ::kill(-static_cast<pid_t>(pid), SIGKILL);
    process.kill();
    process.waitForFinished(-1); // reap it: no zombie is left behind
    m_standardOutput = QStringLiteral("command terminated");
    m_standardError = QStringLiteral("command timeout");
    m_commandResult = -1;
    m_ending = Ending::TimedOut;
}

QString OVExecuteCommand::trimmedOutputOf(const QString &commandLine)
{
    OVExecuteCommand command(commandLine);
    command.executeCommand();
    return command.standardOutput().value_or(QString()).trimmed();
}

void OVExecuteCommand::executeCommand()
{
    QProcess process;
    if (!start(process))
        return;
    process.waitForFinished(-1);
    collect(process);
}

void OVExecuteCommand::executeCommand(int timeLimitSeconds)
{
    QProcess process;
    if (!start(process))
        return;
    // The elapsed time is counted in single precision in steps of 0.1 s, so a limit of 5 allows 51 polls.
    const float limit = static_cast<float>(timeLimitSeconds);
    float elapsed = 0.0f;
    bool running = process.state() != QProcess::NotRunning;
    while (timeLimitSeconds > 0 && running && limit > elapsed) {
        process.waitForFinished(kPollMilliseconds);
        running = process.state() != QProcess::NotRunning;
        elapsed = static_cast<float>(static_cast<double>(elapsed) + 0.1);
    }
    if (process.state() != QProcess::NotRunning)
        terminate(process);
    else
        collect(process);
}

void OVExecuteCommand::executeCommand(std::chrono::milliseconds timeLimit, OVCommandGroup &group)
{
    m_timeLimit = timeLimit;
    if (group.isStopped()) { // the run is ending: nothing more is started
        m_standardOutput = QString();
        m_standardError = QString();
        m_ending = Ending::Stopped;
        return;
    }
    QProcess process;
    if (start(process, true))
        waitWithin(process, timeLimit, group);
}

void OVExecuteCommand::waitWithin(QProcess &process, std::chrono::milliseconds timeLimit,
                                  OVCommandGroup &group)
{
    const qint64 processGroup = process.processId();
    group.add(processGroup);
    const bool finished = process.waitForFinished(int(std::min<qint64>(timeLimit.count(), INT_MAX)));
    group.remove(processGroup);
    if (!finished) {
        terminate(process);
        return;
    }
    collect(process);
    if (group.isStopped() && m_ending == Ending::Crashed)
        m_ending = Ending::Stopped;
}

std::optional<QString> OVExecuteCommand::failure() const
{
    switch (m_ending) {
    case Ending::Exited:
        if (m_commandResult == 0)
            return std::nullopt;
        return QStringLiteral("exited with status %1").arg(m_commandResult);
    case Ending::Crashed:
        return QStringLiteral("ended by signal %1").arg(m_commandResult);
    case Ending::TimedOut:
        return QStringLiteral("timed out after %1 s").arg(double(m_timeLimit.count()) / 1000.0);
    case Ending::NotStarted:
        return QStringLiteral("could not be started");
    case Ending::NotRun:
    case Ending::Stopped:
        break;
    }
    return std::nullopt;
}
