#include "TestSupport.h"
#include "app/OVAppDelegate.h"
#include "app/cDebugLog.h"
#include "inventory/DataTypes.h"
#include "util/OVUtil.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

using namespace testsupport;

namespace {

const FormValues kForm{"abc", "12", "x123", "山田", "太郎"};

// The clock stands still at the given second; each run can move it on.
struct FixedClock
{
    explicit FixedClock(QDateTime at) : now(std::move(at))
    {
        OVUtil::setClock([this] { return now; });
    }
    ~FixedClock() { OVUtil::setClock({}); }
    QDateTime now;
};

QStringList hiddenFiles(const QString &folder)
{
    return QDir(folder).entryList({".*"}, QDir::Files | QDir::Hidden);
}

} // namespace

class TestRun : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void completeRun();
    void secondRunReplacesTheFirst();
    void failedWriteReportsFailure();
    void failedRenameKeepsTheOlderFile();
    void readOnlySaveFolderKeepsTheOlderFile();
    void endRequestedDuringARunSkipsSaveAndReport();
    void debugLogKeepsTheLastCheckpoint();
    void incompleteRunSaysSoInItsReport();
    void slowDataTypeDelaysNoOther();
    void serialCommands_data();
    void serialCommands();

private:
    std::unique_ptr<StubEnvironment> m_stubs;
};

void TestRun::init()
{
    renewStubs(m_stubs);
    m_stubs->servePlists(fixture("real/ohai-MacBookPro8_2-10.7.5"));
    m_stubs->serveIfconfig(
        "en0: flags=8863\n\tether 3c:07:54:74:1e:2b\nen1: flags=8863\n\tether 68:a8:6d:50:89:64\n");
    cDebugLog::setDebugMode(false);
}

void TestRun::completeRun()
{
    TempAppDir app("Asset Tools");
    FixedClock clock(QDateTime(QDate(2026, 12, 5), QTime(19, 30, 5)));
    RecordingNotifier notifier;
    QString suffixDuringRun;
    OVAppDelegate delegate(notifier);
    QCOMPARE(delegate.machineKey(), QStringLiteral("3C-07-54-74-1E-2B"));
    QVERIFY(delegate.inputCheck(kForm));
    notifier.onCollectorStarted = [&](int) { suffixDuringRun = delegate.tempFileSuffix(); };
    delegate.startCollection(kForm);

    const QString path = app.savePath() + "abc-12-x123.csv";
    QCOMPARE(readFile(path), expectedCsv("ohai-MacBookPro8_2.csv", "2026/12/05", "19:30:05"));
    QCOMPARE(suffixDuringRun, QStringLiteral("_20261205193005"));
    QStringList expected{"disable", "progress:インベントリ情報収集中..."};
    for (const char *name :
         {"software", "hardware", "network", "OS", "disk", "display", "Bluetooth", "USB", "printer"})
        expected << QStringLiteral("collector:%1/%2 %3")
                        .arg(expected.size() - 1)
                        .arg(datatypes::kCollectorCount)
                        .arg(name);
    expected << "progress:"
             << "result:インベントリ収集|データ収集を完了しました。\n「" + path +
                    "」\n上記ファイルを指定された場所へ送付してください。\n保存先フォルダを開きます。|saved"
             << "reveal:" + path << "enable";
    QCOMPARE(notifier.events(), expected);
    QCOMPARE(delegate.saveResult(), 0);
    QVERIFY(delegate.isLocal());
    QCOMPARE(delegate.savePath(), path);
    QVERIFY(!delegate.hasRunObjects());
    QVERIFY(delegate.tempFileSuffix().isEmpty());
    QCOMPARE(hiddenFiles(app.savePath()), QStringList());
    // The stale-mount clean-up reached umount as one argument, the first command of the run.
    const QStringList log = m_stubs->log();
    QCOMPARE(log.at(1), "umount [" + app.path() + "/.mountPoint]");
    QCOMPARE(log.filter("getconf").size(), 1); // asked while the OS collector reads its file
}

void TestRun::secondRunReplacesTheFirst()
{
    TempAppDir app;
    FixedClock clock(QDateTime(QDate(2026, 12, 5), QTime(23, 59, 58)));
    RecordingNotifier notifier;
    OVAppDelegate delegate(notifier);
    QStringList suffixes;
    notifier.onCollectorStarted = [&](int number) {
        if (number == 1)
            suffixes << delegate.tempFileSuffix();
    };
    delegate.startCollection(kForm);
    clock.now = clock.now.addSecs(3);
    delegate.startCollection(FormValues{"abc", "12", "x123", "佐藤", "花子"});
    QCOMPARE(suffixes, (QStringList{"_20261205235958", "_20261206000001"}));
    const QByteArray written = readFile(app.savePath() + "abc-12-x123.csv");
    QVERIFY(written.contains(",2026/12/06\r\n") && !written.contains("2026/12/05"));
    QVERIFY(!written.contains("\x8E\x52\x93\x63")); // 山田 is gone
    QCOMPARE(notifier.eventsStartingWith("reveal:").size(), 2);
    QCOMPARE(QDir(app.savePath()).entryList(QDir::Files | QDir::Hidden), QStringList{"abc-12-x123.csv"});
}

void TestRun::failedWriteReportsFailure()
{
    TempAppDir app;
    writeFile(app.path() + "/SAVE", "a file where the save folder should be");
    RecordingNotifier notifier;
    OVAppDelegate delegate(notifier);
    delegate.startCollection(kForm);
    QCOMPARE(delegate.saveResult(), int(OVAppDelegate::LocalSaveFailed));
    // No command could have written its file either: none ran, and the report says why.
    QVERIFY(delegate.missingDataTypes().empty());
    QCOMPARE(
        notifier.events(),
        QStringList{"result:インベントリ収集|データ収集失敗しました。\n保存先フォルダに書き込めません：" +
                    app.savePath() + "（Not a directory）|failed"});
    QCOMPARE(delegate.problems(),
             QStringList{"保存先フォルダに書き込めません：" + app.savePath() + "（Not a directory）"});

    // The next run starts afresh.
    QFile::remove(app.path() + "/SAVE");
    delegate.startCollection(kForm);
    QCOMPARE(delegate.saveResult(), 0);
    QVERIFY(delegate.missingDataTypes().empty());
    QVERIFY(delegate.problems().isEmpty());
    QVERIFY(QFile::exists(app.savePath() + "abc-12-x123.csv"));
}

void TestRun::failedRenameKeepsTheOlderFile()
{
    TempAppDir app;
    // Something that cannot be replaced by a file stands at the final name.
    QDir().mkpath(app.savePath() + "abc-12-x123.csv/older");
    RecordingNotifier notifier;
    OVAppDelegate delegate(notifier);
    delegate.startCollection(kForm);
    QCOMPARE(delegate.saveResult(), int(OVAppDelegate::LocalSaveFailed));
    QVERIFY(QFileInfo(app.savePath() + "abc-12-x123.csv/older").isDir());
    QCOMPARE(hiddenFiles(app.savePath()), QStringList());
    QVERIFY(notifier.eventsStartingWith("reveal:").isEmpty());
}

void TestRun::readOnlySaveFolderKeepsTheOlderFile()
{
    if (const QString problem = bindMountProblem(); !problem.isEmpty())
        QSKIP(qPrintable(problem));
    TempAppDir app;
    QDir().mkpath(app.savePath());
    writeFile(app.savePath() + "abc-12-x123.csv", "older");
    ReadOnlyMount readOnly(app.savePath());
    QVERIFY(readOnly.mounted);
    RecordingNotifier notifier;
    OVAppDelegate delegate(notifier);
    delegate.startCollection(kForm);
    readOnly.release();
    QCOMPARE(delegate.saveResult(), int(OVAppDelegate::LocalSaveFailed));
    QCOMPARE(readFile(app.savePath() + "abc-12-x123.csv"), QByteArray("older"));
    QCOMPARE(hiddenFiles(app.savePath()), QStringList());
}

void TestRun::endRequestedDuringARunSkipsSaveAndReport()
{
    TempAppDir app;
    RecordingNotifier notifier;
    OVAppDelegate delegate(notifier);
    notifier.onCollectorStarted = [&](int number) {
        if (number == 3)
            delegate.requestEnd();
    };
    delegate.startCollection(kForm);
    QVERIFY(delegate.saveResult() & OVAppDelegate::EndRequested);
    QVERIFY(!QFile::exists(app.savePath() + "abc-12-x123.csv"));
    QVERIFY(notifier.eventsStartingWith("result:").isEmpty());
    QVERIFY(delegate.missingDataTypes().empty()); // an ended run has nothing to report missing
    QCOMPARE(notifier.events().last(), QStringLiteral("enable"));
    QCOMPARE(hiddenFiles(app.savePath()), QStringList());
    delegate.waitForRun(); // the lock is free again
}

void TestRun::debugLogKeepsTheLastCheckpoint()
{
    TempAppDir app;
    RecordingNotifier notifier;
    OVAppDelegate delegate(notifier);
    delegate.startCollection(kForm);
    QVERIFY(!QFile::exists(app.savePath() + "debug.txt"));

    writeFile(app.savePath() + "debug.txt", "sequence3");
    delegate.startCollection(kForm);
    QCOMPARE(readFile(app.savePath() + "debug.txt"), QByteArray("sequence3"));

    TempAppDir fresh; // no save folder yet: the first messages are lost without harm
    cDebugLog::setDebugMode(true);
    delegate.startCollection(kForm);
    cDebugLog::setDebugMode(false);
    QCOMPARE(readFile(fresh.savePath() + "debug.txt"),
             QByteArray("\x8F\x88\x97\x9D\x8A\xAE\x97\xB9")); // 処理完了
}

void TestRun::incompleteRunSaysSoInItsReport()
{
    TempAppDir app;
    m_stubs->set("OVALITH_STUB_FAIL", "SPPrintersDataType SPApplicationsDataType");
    RecordingNotifier notifier;
    OVAppDelegate delegate(notifier);
    cDebugLog::setDebugMode(true);
    delegate.startCollection(kForm);
    cDebugLog::setDebugMode(false);
    const QString path = app.savePath() + "abc-12-x123.csv";
    QCOMPARE(notifier.eventsStartingWith("result:"),
             QStringList{"result:インベントリ収集|データ収集を完了しました。\n「" + path +
                         "」\n上記ファイルを指定された場所へ送付してください。\n保存先フォルダを開きます。\n"
                         "一部の情報を収集できませんでした：アプリケーション、プリンタ|saved"});
    const auto missing = delegate.missingDataTypes();
    QCOMPARE(missing.size(), std::size_t(2));
    QCOMPARE(missing.back().dataType + ": " + missing.back().reason,
             QStringLiteral(
                 "SPPrintersDataType: SPPrintersDataType: subsystem not answering (exited with status 1)"));
    QCOMPARE(readFile(app.savePath() + "debug.txt"),
             QByteArray("\x8F\x88\x97\x9D\x8A\xAE\x97\xB9")); // 処理完了
    QCOMPARE(delegate.saveResult(), 0);
    // The next complete run reports nothing missing.
    m_stubs->set("OVALITH_STUB_FAIL", "");
    delegate.startCollection(kForm);
    QVERIFY(delegate.missingDataTypes().empty());
    QVERIFY(!notifier.eventsStartingWith("result:").last().contains("一部の情報"));
}

void TestRun::slowDataTypeDelaysNoOther()
{
    // The application scan answers only once every other data type has started: one after the other, it
    // would wait half a minute for starts that come after it.
    TempAppDir app;
    FixedClock clock(QDateTime(QDate(2026, 12, 5), QTime(19, 30, 5)));
    m_stubs->set("OVALITH_STUB_LAST", "SPApplicationsDataType");
    RecordingNotifier notifier;
    OVAppDelegate delegate(notifier);
    delegate.startCollection(kForm);
    const QStringList order = m_stubs->order();
    QCOMPARE(order.filter("start ").size(), qsizetype(datatypes::all().size()));
    const qsizetype lastStart = order.lastIndexOf(QRegularExpression("^start "));
    QVERIFY2(lastStart < order.indexOf("done SPApplicationsDataType"), qPrintable(order.join(", ")));
    // The same bytes as when they ran one after the other.
    QCOMPARE(readFile(app.savePath() + "abc-12-x123.csv"),
             expectedCsv("ohai-MacBookPro8_2.csv", "2026/12/05", "19:30:05"));
    QVERIFY(delegate.missingDataTypes().empty());
}

void TestRun::serialCommands_data()
{
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<bool>("serial");
    QTest::newRow("1") << QByteArray("1") << true;
    QTest::newRow("empty") << QByteArray("") << false;
    QTest::newRow("0") << QByteArray("0") << false;
    QTest::newRow("yes") << QByteArray("yes") << false;
}

void TestRun::serialCommands()
{
    QFETCH(QByteArray, value);
    QFETCH(bool, serial);
    TempAppDir app;
    FixedClock clock(QDateTime(QDate(2026, 12, 5), QTime(19, 30, 5)));
    m_stubs->set("OVALITH_SERIAL_COMMANDS", value);
    m_stubs->set("OVALITH_STUB_SLEEP", "0.05");
    RecordingNotifier notifier;
    OVAppDelegate delegate(notifier);
    delegate.startCollection(kForm);
    QStringList oneAfterTheOther;
    for (const char *type :
         {"SPApplicationsDataType", "SPHardwareDataType", "SPNetworkDataType", "SPNetworkLocationDataType",
          "SPSoftwareDataType", "SPSerialATADataType", "SPNVMeDataType", "SPStorageDataType",
          "SPDisplaysDataType", "SPBluetoothDataType", "SPUSBDataType", "SPUSBHostDataType",
          "SPPrintersDataType"})
        oneAfterTheOther << QStringLiteral("start %1").arg(type) << QStringLiteral("done %1").arg(type);
    QCOMPARE(m_stubs->order() == oneAfterTheOther, serial);
    QCOMPARE(readFile(app.savePath() + "abc-12-x123.csv"),
             expectedCsv("ohai-MacBookPro8_2.csv", "2026/12/05", "19:30:05"));
}

QTEST_GUILESS_MAIN(TestRun)
#include "test_run.moc"
