#include "CliRun.h"
#include "SambaServer.h"
#include "TestSupport.h"
#include "app/LocalSave.h"
#include "app/StaleFiles.h"
#include "util/Cp932.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QScopeGuard>
#include <QTest>

#include <csignal>

using namespace testsupport;

namespace {

QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

// The program started in the background, for signals.
struct Running
{
    explicit Running(const QStringList &arguments, const QString &program = OVALITH_COLLECT_PROGRAM)
    {
        process.start(program, arguments);
        process.waitForStarted();
    }
    ~Running()
    {
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished();
        }
    }
    void signal(int number) const { ::kill(pid_t(process.processId()), number); }
    QProcess process;
};

// A file of ours as another Mac would have left it.
QByteArray fileOfAnotherMac()
{
    return cp932::encode(QStringLiteral("Key,Group,Item,SubItem,Contents,Unit,Renewalday\r\n"
                                        "abc-12-x123,Create,DateTime,2026/11/30,10:00:00,,2026/11/30\r\n"
                                        "abc-12-x123,LAN,en0,MACアドレス,AA-BB-CC-00-11-22,,2026/11/30\r\n"
                                        "abc-12-x123,Hard,CPU,NameString,Apple M1,,2026/11/30\r\n"));
}

} // namespace

// Failures that must say why and faults that must end in bounded time, through the real program.
class TestFailures : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void anotherMacsFileIsNotReplacedUnasked();
    void slowHelpersEndWithTheRun();
    void helperPastItsLimitDoesNotHoldTheRun();
    void nohupKeepsTheRunThroughAHangup();
    void signalDuringTheDeliveryKeepsTheSavedFileAndSaysSo();
    void leftoverTemporaryFilesAreRemoved();
    void twoRunsInOneSecondKeepTheirOwnFiles();

private:
    std::unique_ptr<StubEnvironment> m_stubs;
    ScopedEnv m_env;
};

void TestFailures::init()
{
    m_env.unset("OVALITH_FILE_SERVER");
    renewStubs(m_stubs);
    m_stubs->servePlists(fixture("machines/imac-t2-macos13"));
    m_stubs->serveIfconfig("en0: flags=8863\n\tether 3c:07:54:74:1e:2b\n");
}

void TestFailures::anotherMacsFileIsNotReplacedUnasked()
{
    // This Mac's report names its Ethernet address, as ifconfig does.
    m_stubs->servePlists(fixture("machines/macbookpro-m3pro-macos26"));
    m_stubs->serveIfconfig("en0: flags=8863\n\tether f0:2f:4b:12:34:56\n");
    QTemporaryDir app;
    QDir().mkpath(app.filePath("SAVE"));
    const QString path = app.filePath("SAVE/abc-12-x123.csv");
    writeFile(path, fileOfAnotherMac());
    const CliResult refused = collect(formArguments(app.path()));
    QCOMPARE(refused.exitCode, 5);
    QCOMPARE(refused.err,
             errorLines({"この管理番号のファイルは別のMac（AA-BB-CC-00-11-22）のものです。置き換えますか？",
                         "置き換えるには --replace を付けて実行してください。"}));
    QCOMPARE(refused.out, QString());
    QCOMPARE(readFile(path), fileOfAnotherMac());
    QVERIFY(m_stubs->log().filter("system_profiler").isEmpty()); // nothing was collected

    // Told to, it replaces; then the file is this Mac's own, and the next run replaces it unasked.
    QCOMPARE(collect(formArguments(app.path()) << "--replace").exitCode, 0);
    QVERIFY(readFile(path).contains("F0-2F-4B-12-34-56"));
    QCOMPARE(collect(formArguments(app.path())).exitCode, 0);

    // Something that is not a file of ours at all is not replaced unasked either.
    writeFile(path, "a spreadsheet of the site's own\r\n");
    const CliResult unknown = collect(formArguments(app.path()));
    QCOMPARE(unknown.exitCode, 5);
    QVERIFY(unknown.err.startsWith("ovalith-collect: この管理番号のファイルは別のMac（不明）のものです。"));
}

void TestFailures::slowHelpersEndWithTheRun()
{
    // getconf answers only after a minute; SIGTERM while the run waits for it ends the run at once,
    // and nothing it started lives on.
    for (const char *helper : {"getconf", "umount"}) {
        m_stubs->set(helper == QByteArray("getconf") ? "OVALITH_STUB_GETCONF_SLEEP"
                                                     : "OVALITH_STUB_UMOUNT_SLEEP",
                     "60");
        QTemporaryDir app;
        Running run(formArguments(app.path()));
        QTRY_VERIFY_WITH_TIMEOUT(m_stubs->log().filter(helper).size() == 1, 30000);
        QElapsedTimer sinceSignal;
        sinceSignal.start();
        run.signal(SIGTERM);
        QVERIFY(run.process.waitForFinished(30000));
        QCOMPARE(run.process.exitCode(), 143);
        QVERIFY2(sinceSignal.elapsed() < 10000, qPrintable(QString::number(sinceSignal.elapsed())));
        QTRY_VERIFY_WITH_TIMEOUT(!m_stubs->anyStubStillRunning(), 20000);
        QCOMPARE(filesIn(app.filePath("SAVE")), QStringList());
        QVERIFY2(m_stubs->log().filter(helper).size() == 1, helper);
        init();
    }
}

void TestFailures::helperPastItsLimitDoesNotHoldTheRun()
{
    m_stubs->set("OVALITH_STUB_GETCONF_SLEEP", "60");
    m_stubs->set("OVALITH_COMMAND_TIMEOUT", "1");
    QTemporaryDir app;
    QElapsedTimer timer;
    timer.start();
    const CliResult result = collect(formArguments(app.path()));
    QCOMPARE(result.exitCode, 0);
    QVERIFY2(timer.elapsed() < 30000, qPrintable(QString::number(timer.elapsed())));
    // Without getconf's answer the version line lacks the word size, and nothing else.
    const auto csv = cp932::decode(readFile(app.filePath("SAVE/abc-12-x123.csv")));
    QVERIFY(csv && csv->contains(",Soft,OS,Version,Mac OS [macOS 13.6.1 (22G313) ビット],"));
}

void TestFailures::nohupKeepsTheRunThroughAHangup()
{
    m_stubs->set("OVALITH_STUB_SLEEP", "1");
    QTemporaryDir app;
    Running run(QStringList{OVALITH_COLLECT_PROGRAM} + formArguments(app.path()), "/usr/bin/nohup");
    QTRY_VERIFY_WITH_TIMEOUT(!m_stubs->log().filter("system_profiler").isEmpty(), 30000);
    run.signal(SIGHUP); // nohup's own process became the program
    QVERIFY(run.process.waitForFinished(60000));
    QCOMPARE(run.process.exitCode(), 0);
    QVERIFY(QFile::exists(app.filePath("SAVE/abc-12-x123.csv")));
}

void TestFailures::signalDuringTheDeliveryKeepsTheSavedFileAndSaysSo()
{
#ifdef Q_OS_MACOS
    QSKIP("macOS delivers through mount_smbfs, whose own 5-second limit bounds the wait");
#endif
    SilentServer stalled;
    QTemporaryDir app;
    Running run(formArguments(app.path()) << "--deliver"
                                          << "--server" << stalled.server());
    // The probe's connection, then the library's: the delivery waits for a server that never answers.
    QTRY_VERIFY_WITH_TIMEOUT(stalled.connections() >= 2, 30000);
    QElapsedTimer sinceSignal;
    sinceSignal.start();
    run.signal(SIGTERM);
    QVERIFY(run.process.waitForFinished(30000));
    QVERIFY2(sinceSignal.elapsed() < 10000, qPrintable(QString::number(sinceSignal.elapsed())));
    // Saved, not delivered: exit 3 and the report, not 143 as for a run that saved nothing.
    QCOMPARE(run.process.exitCode(), 3);
    const QString out = QString::fromUtf8(run.process.readAllStandardOutput());
    QVERIFY2(out.startsWith("データ収集を完了しました。") && out.endsWith("\nNetworkNG\n"), qPrintable(out));
    QCOMPARE(QString::fromUtf8(run.process.readAllStandardError()),
             errorLines({"サーバーへ送信できませんでした：中断されたため、送信をやめました",
                         "中断しました。ファイルは保存しましたが、サーバーへは送っていません。"}));
    QVERIFY(QFile::exists(app.filePath("SAVE/abc-12-x123.csv")));
}

void TestFailures::leftoverTemporaryFilesAreRemoved()
{
    QTemporaryDir app;
    const QString save = app.filePath("SAVE/");
    QDir().mkpath(save);
    const QDateTime now = QDateTime::currentDateTime();
    const auto leave = [&](const QString &name, qint64 ageSeconds) {
        writeFile(save + name, "left by a run that did not end");
        QFile file(save + name);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(now.addSecs(-ageSeconds), QFileDevice::FileModificationTime));
    };
    // This Mac's, from a process that is gone: removed at once. The program's own process id (1 here is
    // init, always there) keeps another run's file.
    leave(".SPHardwareDataType_20261207101010_3C-07-54-74-1E-2B_999999.plist", 60);
    leave(".SPHardwareDataType_20261207101010_3C-07-54-74-1E-2B_1.plist", 60);
    // Another Mac's, of this hour: maybe of a run that goes on there.
    leave(".SPHardwareDataType_20261207101010_AA-BB-CC-00-11-22_999999.plist", 60);
    // Anyone's, older than a day: the CSV being written, a plist, a write probe.
    leave(".abc-12-x999_20261201101010.csv", 2 * 86400);
    leave(".SPPrintersDataType_20261201101010_AA-BB-CC-00-11-22_5.plist", 2 * 86400);
    leave(".ovalith-probe_4242", 2 * 86400);
    // Not ours to touch, however old.
    leave("abc-12-x999.csv", 3 * 86400);
    leave(".DS_Store", 3 * 86400);
    QCOMPARE(removeStaleTemporaryFiles(save, "3C-07-54-74-1E-2B", now), 4);
    QCOMPARE(filesIn(save),
             (QStringList{".DS_Store", ".SPHardwareDataType_20261207101010_3C-07-54-74-1E-2B_1.plist",
                          ".SPHardwareDataType_20261207101010_AA-BB-CC-00-11-22_999999.plist",
                          "abc-12-x999.csv"}));
    // A run does it before it starts its commands.
    leave(".SPUSBDataType_20261207101010_3C-07-54-74-1E-2B_999998.plist", 60);
    QCOMPARE(collect(formArguments(app.path())).exitCode, 0);
    QVERIFY(!QFile::exists(save + ".SPUSBDataType_20261207101010_3C-07-54-74-1E-2B_999998.plist"));
    // The file being written is hidden until it takes its name.
    QVERIFY(QFileInfo(makeTempSrcPath("abc-12-x123", "_20261207101010")).fileName().startsWith('.'));
}

void TestFailures::twoRunsInOneSecondKeepTheirOwnFiles()
{
    // One Mac, one folder, two runs started together: the time and MAC key are the same, the process
    // tells their files apart.
    m_stubs->set("OVALITH_STUB_HANG", "SPPrintersDataType");
    QTemporaryDir app;
    Running first(formArguments(app.path()));
    Running second(QStringList{"--app-dir", app.path(), "--control-number", "abc-12-x124", "--family-name",
                               "山田", "--given-name", "太郎"});
    QTRY_VERIFY_WITH_TIMEOUT(m_stubs->stubsStarted(2), 30000);
    const QStringList printers = filesIn(app.filePath("SAVE")).filter(".SPPrintersDataType_");
    QCOMPARE(printers.size(), 2);
    QVERIFY(printers.at(0).endsWith(QStringLiteral("_%1.plist").arg(first.process.processId())) !=
            printers.at(0).endsWith(QStringLiteral("_%1.plist").arg(second.process.processId())));
    first.signal(SIGTERM);
    second.signal(SIGTERM);
    QVERIFY(first.process.waitForFinished(30000) && second.process.waitForFinished(30000));
    QCOMPARE(filesIn(app.filePath("SAVE")), QStringList());
}

QTEST_GUILESS_MAIN(TestFailures)
#include "test_failures.moc"
