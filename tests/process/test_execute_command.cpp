#include "TestSupport.h"
#include "inventory/DataTypes.h"
#include "process/OVCommandGroup.h"
#include "process/OVExecuteCommand.h"
#include "process/TimeLimits.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/types.h>

namespace {

bool processAlive(const QString &pidFile)
{
    QFile file(pidFile);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    return testsupport::processIsAlive(file.readAll().trimmed().toLongLong());
}

} // namespace

class TestExecuteCommand : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void capturesOutputAndStatus();
    void beforeARunNothingIsSet();
    void outputThatIsNotUtf8IsAbsent();
    void chattyCommandsDoNotHang();
    void timeLimitKillsTheWholePipeline();
    void timeLimitOfZeroChecksOnce();
    void commandWithinTheLimitIsReportedNormally();
    void failureGivesTheCommandsOwnLastWords();
    void stoppedGroupStartsNothing();
    void grandchildHoldingThePipeDoesNotHoldTheWait();
    void timeLimitsOfTheDataTypes();
};

void TestExecuteCommand::capturesOutputAndStatus()
{
    OVExecuteCommand longBit(QStringLiteral("getconf LONG_BIT"));
    longBit.executeCommand();
    QCOMPARE(longBit.standardOutput(), std::optional(QStringLiteral("64\n")));
    QCOMPARE(longBit.standardError(), std::optional(QString()));
    QCOMPARE(longBit.commandResult(), 0);

    OVExecuteCommand silent(QStringLiteral("true"));
    silent.executeCommand();
    QVERIFY(silent.standardOutput().has_value() && silent.standardOutput()->isEmpty());
    QVERIFY(silent.standardError().has_value() && silent.standardError()->isEmpty());

    OVExecuteCommand failing(QStringLiteral("echo 'ディスクがありません' >&2; exit 1"));
    failing.executeCommand();
    QCOMPARE(failing.commandResult(), 1);
    QCOMPARE(failing.standardError(), std::optional(QStringLiteral("ディスクがありません\n")));

    OVExecuteCommand pipeline(
        QStringLiteral("printf 'a\\nb\\n' | grep b | awk '{ print $1 }'; false | true"));
    pipeline.executeCommand();
    QCOMPARE(pipeline.standardOutput(), std::optional(QStringLiteral("b\n")));
    QCOMPARE(pipeline.commandResult(), 0);

    OVExecuteCommand unknown(QStringLiteral("no-such-command-here"));
    unknown.executeCommand();
    QCOMPARE(unknown.commandResult(), 127);
}

void TestExecuteCommand::beforeARunNothingIsSet()
{
    const OVExecuteCommand command(QStringLiteral("echo x"));
    QCOMPARE(command.command(), QStringLiteral("echo x"));
    QVERIFY(!command.standardOutput() && !command.standardError());
    QCOMPARE(command.commandResult(), 0);
}

void TestExecuteCommand::outputThatIsNotUtf8IsAbsent()
{
    OVExecuteCommand command(QStringLiteral("printf '\\202\\240'; printf ok >&2"));
    command.executeCommand();
    QVERIFY(!command.standardOutput().has_value());
    QCOMPARE(command.standardError(), std::optional(QStringLiteral("ok")));
}

void TestExecuteCommand::chattyCommandsDoNotHang()
{
    // Far more than a pipe holds, on both streams at once.
    OVExecuteCommand command(
        QStringLiteral("head -c 3000000 /dev/zero | tr '\\0' a; head -c 3000000 /dev/zero | tr '\\0' b >&2"));
    command.executeCommand();
    QCOMPARE(command.standardOutput()->size(), 3000000);
    QCOMPARE(command.standardError()->size(), 3000000);

    OVExecuteCommand limited(QStringLiteral("head -c 3000000 /dev/zero | tr '\\0' a >&2"));
    limited.executeCommand(10);
    QCOMPARE(limited.commandResult(), 0);
    QCOMPARE(limited.standardError()->size(), 3000000);
}

void TestExecuteCommand::timeLimitKillsTheWholePipeline()
{
    QTemporaryDir dir;
    const QString pidFile = dir.filePath(QStringLiteral("sleep.pid"));
    OVExecuteCommand command(QStringLiteral("sleep 30 & echo $! > '%1'; wait").arg(pidFile));
    QElapsedTimer timer;
    timer.start();
    command.executeCommand(1);
    QVERIFY2(timer.elapsed() >= 900 && timer.elapsed() < 10000, qPrintable(QString::number(timer.elapsed())));
    QCOMPARE(command.standardOutput(), std::optional(QStringLiteral("command terminated")));
    QCOMPARE(command.standardError(), std::optional(QStringLiteral("command timeout")));
    QCOMPARE(command.commandResult(), -1);
    QTRY_VERIFY_WITH_TIMEOUT(!processAlive(pidFile), 10000);
}

void TestExecuteCommand::timeLimitOfZeroChecksOnce()
{
    for (const int limit : {0, -3}) {
        OVExecuteCommand command(QStringLiteral("sleep 5"));
        QElapsedTimer timer;
        timer.start();
        command.executeCommand(limit);
        QVERIFY(timer.elapsed() < 4000);
        QCOMPARE(command.commandResult(), -1);
    }
}

void TestExecuteCommand::commandWithinTheLimitIsReportedNormally()
{
    OVExecuteCommand command(QStringLiteral("echo out; echo err >&2; exit 3"));
    command.executeCommand(5);
    QCOMPARE(command.standardOutput(), std::optional(QStringLiteral("out\n")));
    QCOMPARE(command.standardError(), std::optional(QStringLiteral("err\n")));
    QCOMPARE(command.commandResult(), 3);
}

void TestExecuteCommand::failureGivesTheCommandsOwnLastWords()
{
    OVCommandGroup group;
    OVExecuteCommand command(
        QStringLiteral("echo asking >&2; echo '  printer subsystem not answering  ' >&2; echo >&2; exit 1"));
    command.executeCommand(std::chrono::seconds(10), group);
    QCOMPARE(command.failure(),
             std::optional(QStringLiteral("printer subsystem not answering (exited with status 1)")));
    OVExecuteCommand silent(QStringLiteral("exit 2"));
    silent.executeCommand(std::chrono::seconds(10), group);
    QCOMPARE(silent.failure(), std::optional(QStringLiteral("exited with status 2")));
}

void TestExecuteCommand::stoppedGroupStartsNothing()
{
    QTemporaryDir dir;
    const QString marker = dir.filePath("started");
    OVCommandGroup group;
    group.stop();
    OVExecuteCommand command(QStringLiteral("touch '%1'").arg(marker));
    command.executeCommand(std::chrono::seconds(10), group);
    QCOMPARE(command.ending(), OVExecuteCommand::Ending::Stopped);
    QCOMPARE(command.failure(), std::nullopt);
    QVERIFY(!QFile::exists(marker));
}

void TestExecuteCommand::grandchildHoldingThePipeDoesNotHoldTheWait()
{
    // The shell ends; what it left running keeps its output open. The command is over when the shell is.
    QTemporaryDir dir;
    const QString pidFile = dir.filePath(QStringLiteral("sleep.pid"));
    OVExecuteCommand command(QStringLiteral("sleep 30 & echo $! > '%1'; echo done").arg(pidFile));
    QElapsedTimer timer;
    timer.start();
    command.executeCommand();
    QVERIFY2(timer.elapsed() < 10000, qPrintable(QString::number(timer.elapsed())));
    QCOMPARE(command.standardOutput(), std::optional(QStringLiteral("done\n")));
    ::kill(pid_t(QString::fromUtf8(testsupport::readFile(pidFile)).trimmed().toLongLong()), SIGKILL);
}

void TestExecuteCommand::timeLimitsOfTheDataTypes()
{
    using namespace std::chrono_literals;
    testsupport::ScopedEnv env;
    env.unset("OVALITH_COMMAND_TIMEOUT");
    // Written out here, not taken from the list: a swapped or misspelt name would cut a real application
    // scan at three minutes.
    QCOMPARE(dataTypeTimeLimit("SPApplicationsDataType"), std::chrono::milliseconds(10min));
    for (const datatypes::DataType &type : datatypes::all()) {
        if (qstrcmp(type.name, "SPApplicationsDataType") != 0)
            QCOMPARE(dataTypeTimeLimit(QString::fromLatin1(type.name)), std::chrono::milliseconds(3min));
    }
    QCOMPARE(helperTimeLimit(), std::chrono::milliseconds(30s));
    for (const char *ignored : {"0", "-5", "ten", "", "nan", "inf"}) {
        env.set("OVALITH_COMMAND_TIMEOUT", ignored);
        QCOMPARE(dataTypeTimeLimit("SPApplicationsDataType"), std::chrono::milliseconds(10min));
        QCOMPARE(dataTypeTimeLimit("SPHardwareDataType"), std::chrono::milliseconds(3min));
    }
    env.set("OVALITH_COMMAND_TIMEOUT", " 2.5 ");
    QCOMPARE(dataTypeTimeLimit("SPApplicationsDataType"), std::chrono::milliseconds(2500));
    QCOMPARE(helperTimeLimit(), std::chrono::milliseconds(2500));
}

QTEST_GUILESS_MAIN(TestExecuteCommand)
#include "test_execute_command.moc"
