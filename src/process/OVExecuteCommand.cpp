#include "OVExecuteCommand.h"

#include "ChildProcess.h"
#include "OVCommandGroup.h"
#include "util/Utf8.h"

#include <QStringList>

#include <algorithm>

namespace {

constexpr int kExitStatusNotStarted = 127;
// How long a killed command may take to end before it is let go: one blocked in the kernel acts on SIGKILL
// only when its wait ends.
constexpr std::chrono::seconds kKillGrace{5};
// How often a command's wait looks whether its group was stopped.
constexpr std::chrono::milliseconds kStopCheck{100};
// Enough of a command's own last words to say why it failed.
constexpr qsizetype kReasonLength = 200;

} // namespace

OVExecuteCommand::OVExecuteCommand(QString command) : m_command(std::move(command))
{}

bool OVExecuteCommand::start(ChildProcess &process, bool ownSession)
{
    // A command in a session of its own has no controlling terminal and nothing to read: nothing in the
    // pipeline can wait for the user, and the terminal's signals reach only this program.
    if (process.start(m_command.toUtf8(), ChildProcess::Options{ownSession, ownSession}))
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

void OVExecuteCommand::collect(const ChildProcess &process)
{
    m_standardOutput = utf8::decode(process.standardOutput());
    m_standardError = utf8::decode(process.standardError());
    m_commandResult = process.exitCode();
    m_ending = process.exitedNormally() ? Ending::Exited : Ending::Crashed;
}

void OVExecuteCommand::terminate(ChildProcess &process)
{
    process.killAndReap(kKillGrace);
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

QString OVExecuteCommand::trimmedOutputOf(const QString &commandLine, std::chrono::milliseconds timeLimit,
                                          OVCommandGroup &group)
{
    OVExecuteCommand command(commandLine);
    command.executeCommand(timeLimit, group);
    return command.ending() == Ending::Exited ? command.standardOutput().value_or(QString()).trimmed()
                                              : QString();
}

void OVExecuteCommand::executeCommand()
{
    ChildProcess process;
    if (!start(process))
        return;
    process.waitUntil(QDeadlineTimer(QDeadlineTimer::Forever));
    collect(process);
}

void OVExecuteCommand::executeCommand(int timeLimitSeconds)
{
    ChildProcess process;
    if (!start(process))
        return;
    // The elapsed time is counted in single precision in steps of 0.1 s, so a limit of 5 allows 51 polls.
    const float limit = static_cast<float>(timeLimitSeconds);
    float elapsed = 0.0f;
    bool running = true;
    while (timeLimitSeconds > 0 && running && limit > elapsed) {
        running = !process.waitUntil(QDeadlineTimer(100));
        elapsed = static_cast<float>(static_cast<double>(elapsed) + 0.1);
    }
    if (running && !process.waitUntil(QDeadlineTimer(0)))
        terminate(process);
    else
        collect(process);
}

void OVExecuteCommand::executeCommand(std::chrono::milliseconds timeLimit, OVCommandGroup &group)
{
    m_timeLimit = timeLimit;
    ChildProcess process;
    bool spawned = false;
    // Started and registered under the group's lock, so a stop never misses a command nor precedes its start.
    const bool admitted = group.startCommand([&] {
        spawned = start(process, true);
        return spawned ? qint64(process.pid()) : qint64(0);
    });
    if (!admitted) { // the run is ending: nothing more is started
        m_standardOutput = QString();
        m_standardError = QString();
        m_ending = Ending::Stopped;
        return;
    }
    if (spawned) {
        m_running.store(true);
        waitWithin(process, timeLimit, group);
        m_running.store(false);
    }
}

void OVExecuteCommand::waitWithin(ChildProcess &process, std::chrono::milliseconds timeLimit,
                                  OVCommandGroup &group)
{
    const QDeadlineTimer deadline(timeLimit);
    bool finished = false;
    while (!finished && !deadline.hasExpired() && !group.isStopped())
        finished =
            process.waitUntil(QDeadlineTimer(std::min<qint64>(deadline.remainingTime(), kStopCheck.count())));
    group.remove(process.pid());
    if (!finished && group.isStopped()) {
        process.killAndReap(kKillGrace); // the group killed it already; this bounds the wait for its end
        collect(process);
        m_ending = Ending::Stopped;
        return;
    }
    if (!finished) {
        terminate(process);
        return;
    }
    collect(process);
    if (group.isStopped() && m_ending == Ending::Crashed)
        m_ending = Ending::Stopped;
}

std::optional<QString> OVExecuteCommand::ownWords() const
{
    const QStringList lines =
        m_standardError.value_or(QString()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (auto line = lines.crbegin(); line != lines.crend(); ++line) {
        if (const QString text = line->trimmed(); !text.isEmpty())
            return text.left(kReasonLength);
    }
    return std::nullopt;
}

std::optional<QString> OVExecuteCommand::failure() const
{
    QString reason;
    switch (m_ending) {
    case Ending::Exited:
        if (m_commandResult == 0)
            return std::nullopt;
        reason = QStringLiteral("exited with status %1").arg(m_commandResult);
        break;
    case Ending::Crashed:
        reason = QStringLiteral("ended by signal %1").arg(m_commandResult);
        break;
    case Ending::TimedOut:
        return QStringLiteral("timed out after %1 s").arg(double(m_timeLimit.count()) / 1000.0);
    case Ending::NotStarted:
        return QStringLiteral("could not be started");
    case Ending::NotRun:
    case Ending::Stopped:
        return std::nullopt;
    }
    // The command's own last words say more than its status does.
    if (const auto words = ownWords())
        return *words + QStringLiteral(" (") + reason + QLatin1Char(')');
    return reason;
}
