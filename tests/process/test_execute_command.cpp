#include "TestSupport.h"
#include "process/OVExecuteCommand.h"

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
    QTRY_VERIFY_WITH_TIMEOUT(!processAlive(pidFile), 2000);
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

QTEST_GUILESS_MAIN(TestExecuteCommand)
#include "test_execute_command.moc"
