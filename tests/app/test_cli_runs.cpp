#include "CliRun.h"
#include "TestSupport.h"
#include "util/Cp932.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTest>

#include <csignal>

using namespace testsupport;

// ovalith-collect when its commands fail, hang or meet another run in the same folder, and when it is
// interrupted.
class TestCliRuns : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void incompleteRunSavesAndExitsWithFour();
    void signalsStopEveryCommand_data();
    void signalsStopEveryCommand();
    void twoMacsInOneFolderKeepTheirOwnFacts();
    void debugLogNamesTheDataTypeWaitedFor();

private:
    std::unique_ptr<StubEnvironment> m_stubs;
};

void TestCliRuns::init()
{
    renewStubs(m_stubs);
    m_stubs->servePlists(fixture("real/ohai-MacBookPro8_2-10.7.5"));
    m_stubs->serveIfconfig("en0: flags=8863\n\tether 3c:07:54:74:1e:2b\n");
}

void TestCliRuns::incompleteRunSavesAndExitsWithFour()
{
    // A copy of the capture in which one data type writes nothing and one lists no items: nothing to
    // report, so not missing.
    QTemporaryDir plists;
    for (const QString &name : QDir(fixture("real/ohai-MacBookPro8_2-10.7.5")).entryList(QDir::Files))
        QFile::copy(fixture("real/ohai-MacBookPro8_2-10.7.5/" + name), plists.filePath(name));
    writeFile(plists.filePath("SPNVMeDataType.xml"), "");
    QFile::copy(fixture("machines/macbookpro-m3pro-macos26/SPUSBDataType.xml"),
                plists.filePath("SPUSBHostDataType.xml"));
    m_stubs->servePlists(plists.path());
    m_stubs->set("OVALITH_STUB_HANG", "SPDisplaysDataType");
    m_stubs->set("OVALITH_STUB_GARBAGE", "SPBluetoothDataType");
    m_stubs->set("OVALITH_STUB_FAIL", "SPPrintersDataType");
    m_stubs->set("OVALITH_COMMAND_TIMEOUT", "1");
    QTemporaryDir broken;
    const CliResult result = collect(formArguments(broken.path()));
    QCOMPARE(result.exitCode, 4);
    QCOMPARE(
        result.err,
        errorLines({"ディスプレイ（SPDisplaysDataType）を収集できませんでした：timed out after 1 s",
                    "Bluetooth（SPBluetoothDataType）を収集できませんでした：not a property list",
                    "プリンタ（SPPrintersDataType）を収集できませんでした：SPPrintersDataType: subsystem not "
                    "answering (exited with status 1)"}));
    const QString path = broken.filePath("SAVE/abc-12-x123.csv");
    QCOMPARE(result.out, "データ収集を完了しました。\n「" + path +
                             "」\n上記ファイルを指定された場所へ送付してください。\n"
                             "一部の情報を収集できませんでした：ディスプレイ、Bluetooth、プリンタ\n");
    // A killed process ends when the kernel next runs it: waited for, within a bound.
    QTRY_VERIFY_WITH_TIMEOUT(!m_stubs->anyStubStillRunning(), 20000);
    QCOMPARE(QDir(broken.filePath("SAVE")).entryList(QDir::Files | QDir::Hidden),
             (QStringList{"abc-12-x123.csv", "abc-12-x123.incomplete.txt"}));
    // Where the files are gathered, the note beside the file says what it lacks and why.
    const auto note = cp932::decode(readFile(broken.filePath("SAVE/abc-12-x123.incomplete.txt")));
    QVERIFY(note);
    const QStringList noteLines = note->split("\r\n");
    QCOMPARE(noteLines.size(), 10);
    QCOMPARE(noteLines.at(0),
             "管理番号abc-12-x123のファイルは、一部の情報を収集できないまま保存されました。");
    QVERIFY(QRegularExpression("^日時：\\d{4}/\\d\\d/\\d\\d \\d\\d:\\d\\d:\\d\\d$")
                .match(noteLines.at(1))
                .hasMatch());
    QVERIFY(noteLines.at(2).startsWith("コンピュータ名："));
    QCOMPARE(
        noteLines.mid(3, 6),
        (QStringList{"MACアドレス：3C-07-54-74-1E-2B", "収集できなかった情報：",
                     "　ディスプレイ（SPDisplaysDataType）：timed out after 1 s",
                     "　Bluetooth（SPBluetoothDataType）：not a property list",
                     "　プリンタ（SPPrintersDataType）：SPPrintersDataType: subsystem not answering (exited "
                     "with status 1)",
                     "このMacでもう一度収集してください。完全に収集できると、このファイルは削除されます。"}));
    QCOMPARE(noteLines.at(9), QString());

    // The file is the one a Mac writes whose reports of those three data types are simply empty.
    for (const char *name : {"SPDisplaysDataType.xml", "SPBluetoothDataType.xml", "SPPrintersDataType.xml"})
        QFile::remove(plists.filePath(name));
    for (const char *name : {"OVALITH_STUB_HANG", "OVALITH_STUB_GARBAGE", "OVALITH_STUB_FAIL"})
        m_stubs->set(name, "");
    QTemporaryDir empty;
    QCOMPARE(collect(formArguments(empty.path())).exitCode, 0);
    // A complete run takes the note away again.
    QCOMPARE(collect(formArguments(broken.path())).exitCode, 0);
    QCOMPARE(QDir(broken.filePath("SAVE")).entryList(QDir::Files | QDir::Hidden),
             QStringList{"abc-12-x123.csv"});
    const auto withoutCreationLine = [](QByteArray csv) {
        QList<QByteArray> lines = csv.split('\n');
        lines.removeAt(1);
        return lines;
    };
    QCOMPARE(withoutCreationLine(readFile(path)),
             withoutCreationLine(readFile(empty.filePath("SAVE/abc-12-x123.csv"))));
}

void TestCliRuns::signalsStopEveryCommand_data()
{
    QTest::addColumn<int>("signal");
    QTest::addColumn<int>("exitCode");
    QTest::newRow("SIGTERM") << int(SIGTERM) << 143;
    QTest::newRow("SIGINT") << int(SIGINT) << 130;
    QTest::newRow("SIGHUP") << int(SIGHUP) << 129;
}

void TestCliRuns::signalsStopEveryCommand()
{
    QFETCH(int, signal);
    QFETCH(int, exitCode);
    m_stubs->set("OVALITH_STUB_HANG", "SPNetworkDataType");
    QTemporaryDir app;
    QProcess process;
    process.start(OVALITH_COLLECT_PROGRAM, formArguments(app.path()));
    QVERIFY(process.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(m_stubs->stubsStarted(1), 30000);
    ::kill(pid_t(process.processId()), signal);
    QVERIFY(process.waitForFinished(30000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), exitCode);
    // A killed process ends when the kernel next runs it: waited for, within a bound.
    QTRY_VERIFY_WITH_TIMEOUT(!m_stubs->anyStubStillRunning(), 20000);
    // Nothing saved, nothing reported, no temporary file left.
    QCOMPARE(QDir(app.filePath("SAVE")).entryList(QDir::Files | QDir::Hidden), QStringList());
    QCOMPARE(process.readAllStandardOutput(), QByteArray());
}

void TestCliRuns::twoMacsInOneFolderKeepTheirOwnFacts()
{
    // Two Macs run from one shared folder at the same moment; each answer takes a while, so their
    // collections overlap from the first data type to the last.
    QTemporaryDir shared;
    m_stubs->set("OVALITH_STUB_SLEEP", "0.2");
    std::vector<std::unique_ptr<QProcess>> macs;
    const QStringList machines{"macbookpro-m3pro-macos26", "imac-t2-macos13"};
    for (int i = 0; i < 2; ++i) {
        const QString ifconfig = shared.filePath(QStringLiteral("ifconfig%1.txt").arg(i));
        writeFile(ifconfig, QStringLiteral("en0: flags=8863\n\tether 02:00:00:00:00:0%1\n").arg(i).toUtf8());
        auto mac = std::make_unique<QProcess>();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("OVALITH_STUB_IFCONFIG", ifconfig);
        environment.insert("OVALITH_STUB_PLISTS", fixture("machines/" + machines[i]));
        mac->setProcessEnvironment(environment);
        mac->start(OVALITH_COLLECT_PROGRAM,
                   {"--app-dir", shared.path(), "--control-number", QStringLiteral("abc-12-x00%1").arg(i),
                    "--family-name", "山田", "--given-name", "太郎"});
        macs.push_back(std::move(mac));
    }
    const QStringList processors{"Apple M3 Pro", "6-Core Intel Core i5 3.1 GHz"};
    for (int i = 0; i < 2; ++i) {
        QVERIFY(macs[std::size_t(i)]->waitForFinished(60000));
        QCOMPARE(macs[std::size_t(i)]->exitCode(), 0);
        const auto csv =
            cp932::decode(readFile(shared.filePath(QStringLiteral("SAVE/abc-12-x00%1.csv").arg(i))));
        QVERIFY(csv);
        QVERIFY2(csv->contains(QStringLiteral(",Hard,CPU,NameString,%1,").arg(processors[i])),
                 qPrintable(*csv));
        QVERIFY(
            csv->contains(QStringLiteral(",Hard,Hard Disk,合計量,%1,").arg(i == 0 ? "1000555" : "500277")));
    }
    QCOMPARE(QDir(shared.filePath("SAVE")).entryList(QDir::Files | QDir::Hidden),
             (QStringList{"abc-12-x000.csv", "abc-12-x001.csv"}));
}

void TestCliRuns::debugLogNamesTheDataTypeWaitedFor()
{
    m_stubs->set("OVALITH_STUB_HANG", "SPNetworkLocationDataType");
    QTemporaryDir app;
    QProcess process;
    process.start(OVALITH_COLLECT_PROGRAM, formArguments(app.path()) << "--debug");
    const auto stop = qScopeGuard([&] {
        process.kill();
        process.waitForFinished();
    });
    // The network collector's second data type hangs: the log says so while the run waits for it.
    QTRY_COMPARE_WITH_TIMEOUT(QFile::exists(app.filePath("SAVE/debug.txt"))
                                  ? readFile(app.filePath("SAVE/debug.txt"))
                                  : QByteArray(),
                              QByteArray("inventory_3 SPNetworkLocationDataType"), 30000);
    ::kill(pid_t(process.processId()), SIGTERM);
    QVERIFY(process.waitForFinished(30000));
    QCOMPARE(readFile(app.filePath("SAVE/debug.txt")),
             QByteArray("\x8F\x88\x97\x9D\x8A\xAE\x97\xB9")); // 処理完了
}

QTEST_GUILESS_MAIN(TestCliRuns)
#include "test_cli_runs.moc"
