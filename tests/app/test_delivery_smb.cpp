#include "SambaServer.h"
#include "TestSupport.h"
#include "app/NetworkDelivery.h"
#include "app/OVAppDelegate.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QScopeGuard>
#include <QTest>

using namespace testsupport;

namespace {

const FormValues kForm{"abc", "12", "x123", "山田", "太郎"};

QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
}

struct DeliveringRun
{
    explicit DeliveringRun(const QString &server) : delegate(notifier)
    {
        delegate.setDelivery(ShareSettings::forServer(server));
    }
    void run()
    {
        QElapsedTimer timer;
        timer.start();
        delegate.startCollection(kForm);
        milliseconds = timer.elapsed();
    }
    RecordingNotifier notifier;
    OVAppDelegate delegate;
    qint64 milliseconds = 0;
};

} // namespace

// Delivery to a real Samba server on loopback, through Samba's client library.
class TestDeliverySmb : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void firstDelivery();
    void replacesAnEarlierFileAndItsCompanion();
    void unreachableServers_data();
    void unreachableServers();
    void stalledServerFindsTheFileSavedAlready();
    void serverThatRefusesTheWrite();
    void reasonsOfAServerThatIsThereButWillNotTakeTheFile();
    void renameThatFailsIsReported_data();
    void renameThatFailsIsReported();
    void copyOfTheWrongSizeNeverReplaces();
    void endRequestedCopiesNothing();
    void twentyClientsAtOnce();

private:
    std::unique_ptr<StubEnvironment> m_stubs;
    std::unique_ptr<TempAppDir> m_app;
};

void TestDeliverySmb::initTestCase()
{
#ifdef Q_OS_MACOS
    QSKIP("macOS delivers through mount_smbfs, not through Samba's client library");
#endif
}

void TestDeliverySmb::init()
{
    renewStubs(m_stubs);
    m_stubs->servePlists(fixture("real/ohai-MacBookPro8_2-10.7.5"));
    m_stubs->serveIfconfig("en0: flags=8863\n\tether 3c:07:54:74:1e:2b\n");
    m_app = std::make_unique<TempAppDir>();
}

void TestDeliverySmb::cleanup()
{
    m_app.reset();
    m_stubs.reset();
}

void TestDeliverySmb::firstDelivery()
{
    SambaServer samba;
    if (!samba.problem().isEmpty())
        QSKIP(qPrintable(samba.problem()));
    DeliveringRun run(samba.server());
    run.run();
    const QString local = m_app->savePath() + "abc-12-x123.csv";
    QCOMPARE(run.delegate.saveResult(), 0);
    QVERIFY(!run.delegate.isLocal());
    QCOMPARE(filesIn(samba.shareDir()), QStringList{"abc-12-x123.csv"});
    QCOMPARE(readFile(samba.shareDir() + "/abc-12-x123.csv"), readFile(local));
    QCOMPARE(run.notifier.eventsStartingWith("window:"), QStringList{"window:AllOK"});
    QCOMPARE(run.notifier.eventsStartingWith("reveal:"), QStringList{"reveal:" + local});
    QVERIFY(run.notifier.eventsStartingWith("result:").isEmpty());
    // While it delivers, the form says so; the text is gone before the report.
    const QStringList progress = run.notifier.eventsStartingWith("progress:");
    QCOMPARE(progress, (QStringList{"progress:インベントリ情報収集中...", "progress:サーバーへ送信中...",
                                    "progress:"}));
}

void TestDeliverySmb::replacesAnEarlierFileAndItsCompanion()
{
    SambaServer samba;
    if (!samba.problem().isEmpty())
        QSKIP(qPrintable(samba.problem()));
    writeFile(samba.shareDir() + "/abc-12-x123.csv", "delivered by an earlier run");
    writeFile(samba.shareDir() + "/._abc-12-x123.csv", "extended attributes of that file");
    writeFile(samba.shareDir() + "/def-34-y567.csv", "another asset");
    DeliveringRun run(samba.server());
    run.run();
    QCOMPARE(run.delegate.saveResult(), 0);
    QCOMPARE(filesIn(samba.shareDir()), (QStringList{"abc-12-x123.csv", "def-34-y567.csv"}));
    QCOMPARE(readFile(samba.shareDir() + "/abc-12-x123.csv"),
             readFile(m_app->savePath() + "abc-12-x123.csv"));
}

void TestDeliverySmb::unreachableServers_data()
{
    QTest::addColumn<bool>("neverConnects");
    QTest::addColumn<QString>("reason"); // %1 the server
    QTest::newRow("connection refused")
        << false << "サーバー%1が接続を拒否しました（ファイル共有が動いていないか、ポートが違います）";
    QTest::newRow("connection never opens") << true << "サーバー%1に5秒以内に接続できません";
}

void TestDeliverySmb::unreachableServers()
{
    QFETCH(bool, neverConnects);
    QFETCH(QString, reason);
    UnreachableServer unreachable;
    const QString server =
        neverConnects ? unreachable.server() : QStringLiteral("127.0.0.1:%1").arg(sparePort());
    DeliveringRun run(server);
    run.run();
    QCOMPARE(run.delegate.saveResult(), int(OVAppDelegate::NetworkSaveFailed));
    // The window's own line stays; the reason is a line below it.
    QCOMPARE(run.notifier.eventsStartingWith("window:"),
             QStringList{"window:NetworkNG|サーバーへ送信できませんでした：" + reason.arg(server)});
    QVERIFY(QFile::exists(m_app->savePath() + "abc-12-x123.csv")); // the local file is saved all the same
    QCOMPARE(run.notifier.eventsStartingWith("reveal:").size(), 1);
    // Connecting has 5 seconds; Samba's own limit would be 20. The margin is for a loaded machine.
    QVERIFY2(run.milliseconds < 15000, qPrintable(QString::number(run.milliseconds)));
}

void TestDeliverySmb::stalledServerFindsTheFileSavedAlready()
{
    SilentServer stalled;
    QProcess client;
    const auto stopClient = qScopeGuard([&] {
        client.kill();
        client.waitForFinished();
    });
    client.start(OVALITH_COLLECT_PROGRAM,
                 {"--app-dir", m_app->path(), "--control-number", "abc-12-x123", "--family-name", "山田",
                  "--given-name", "太郎", "--deliver", "--server", stalled.server()});
    // The probe's connection, then the library's: the delivery has started and waits for the server.
    QTRY_VERIFY_WITH_TIMEOUT(stalled.connections() >= 2, 30000);
    // Saved under its final name already, and no hidden copy of it is left to lose.
    QCOMPARE(QDir(m_app->savePath()).entryList({"*.csv", ".*.csv"}, QDir::Files | QDir::Hidden),
             QStringList{"abc-12-x123.csv"});
    const QByteArray saved = readFile(m_app->savePath() + "abc-12-x123.csv");
    QVERIFY(saved.startsWith("Key,Group,Item,SubItem,Contents,Unit,Renewalday\r\n"));
    client.kill();
    QVERIFY(client.waitForFinished());
    QCOMPARE(readFile(m_app->savePath() + "abc-12-x123.csv"), saved);
}

void TestDeliverySmb::serverThatRefusesTheWrite()
{
    SambaServer samba(SambaServer::Kind::ReadOnly);
    if (!samba.problem().isEmpty())
        QSKIP(qPrintable(samba.problem()));
    writeFile(samba.shareDir() + "/abc-12-x123.csv", "delivered by an earlier run");
    DeliveringRun run(samba.server());
    run.run();
    QCOMPARE(run.delegate.saveResult(), int(OVAppDelegate::NetworkSaveFailed));
    QCOMPARE(
        run.delegate.problems(),
        QStringList{
            "サーバーへ送信できませんでした：共有stkget$へのアクセスが拒否されました（ユーザー名とパスワー"
            "ド、共有の書き込み権限を確認してください）"});
    QCOMPARE(filesIn(samba.shareDir()), QStringList{"abc-12-x123.csv"});
    QCOMPARE(readFile(samba.shareDir() + "/abc-12-x123.csv"), QByteArray("delivered by an earlier run"));
}

void TestDeliverySmb::reasonsOfAServerThatIsThereButWillNotTakeTheFile()
{
    auto samba = std::make_unique<SambaServer>();
    if (!samba->problem().isEmpty())
        QSKIP(qPrintable(samba->problem()));
    const QString server = samba->server();
    // A share that the server does not have.
    ShareSettings elsewhere = *ShareSettings::forServer(server);
    elsewhere.share = "nosuch$";
    DeliveringRun wrongShare(server);
    wrongShare.delegate.setDelivery(elsewhere);
    wrongShare.run();
    QCOMPARE(wrongShare.delegate.problems(),
             QStringList{"サーバーへ送信できませんでした：共有nosuch$がサーバー" + server + "にありません"});
    // The same server stopped: nothing listens there any more.
    samba.reset();
    DeliveringRun stopped(server);
    stopped.run();
    QCOMPARE(stopped.delegate.problems(),
             QStringList{"サーバーへ送信できませんでした：サーバー" + server +
                         "が接続を拒否しました（ファイル共有が動いていないか、ポートが違います）"});
}

void TestDeliverySmb::renameThatFailsIsReported_data()
{
    QTest::addColumn<bool>("localSaveFails");
    QTest::addColumn<int>("saveResult");
    QTest::addColumn<QString>("window");
    QTest::newRow("saved here, not there") << false << int(OVAppDelegate::NetworkSaveFailed) << "NetworkNG";
    QTest::newRow("saved nowhere") << true
                                   << int(OVAppDelegate::LocalSaveFailed | OVAppDelegate::NetworkSaveFailed)
                                   << "AllNG";
}

void TestDeliverySmb::renameThatFailsIsReported()
{
    QFETCH(bool, localSaveFails);
    QFETCH(int, saveResult);
    QFETCH(QString, window);
    SambaServer samba;
    if (!samba.problem().isEmpty())
        QSKIP(qPrintable(samba.problem()));
    // A folder that is not empty holds the final name on the share: no file can be renamed over it.
    QDir().mkpath(samba.shareDir() + "/abc-12-x123.csv/older");
    if (localSaveFails)
        QDir().mkpath(m_app->savePath() + "abc-12-x123.csv/older");
    DeliveringRun run(samba.server());
    run.run();
    QCOMPARE(run.delegate.saveResult(), saveResult);
    QCOMPARE(run.notifier.eventsStartingWith("window:"),
             QStringList{"window:" + window +
                         "|サーバーへ送信できませんでした：共有stkget$"
                         "に同じ名前のフォルダなどがあり、ファイルを置き換えられま"
                         "せん"});
    QCOMPARE(filesIn(samba.shareDir()), QStringList{"abc-12-x123.csv"});
    QVERIFY(QFileInfo(samba.shareDir() + "/abc-12-x123.csv/older").isDir());
    QCOMPARE(QDir(m_app->savePath()).entryList(QDir::Files | QDir::Hidden),
             localSaveFails ? QStringList() : QStringList{"abc-12-x123.csv"});
}

void TestDeliverySmb::copyOfTheWrongSizeNeverReplaces()
{
    SambaServer samba;
    if (!samba.problem().isEmpty())
        QSKIP(qPrintable(samba.problem()));
    writeFile(samba.shareDir() + "/abc-12-x123.csv", "delivered by an earlier run");
    writeFile(m_app->path() + "/source.csv", "the new inventory");
    // The real share, with one byte added to each copy behind the client's back.
    class GrowingCopies : public OVShareSession
    {
    public:
        GrowingCopies(std::unique_ptr<OVShareSession> share, QString dir)
            : m_share(std::move(share)), m_dir(dir)
        {}
        bool mount() override { return m_share->mount(); }
        void unmount() override { m_share->unmount(); }
        bool copyToShare(const QString &localPath, const QString &name) override
        {
            const bool copied = m_share->copyToShare(localPath, name);
            QFile file(m_dir + "/" + name);
            return copied && file.open(QIODevice::Append) && file.write("x") == 1;
        }
        std::optional<qint64> sizeOf(const QString &name) override { return m_share->sizeOf(name); }
        bool exists(const QString &name) override { return m_share->exists(name); }
        bool remove(const QString &name) override { return m_share->remove(name); }
        bool rename(const QString &from, const QString &to) override { return m_share->rename(from, to); }

    private:
        std::unique_ptr<OVShareSession> m_share;
        QString m_dir;
    } share(makeShareSession(*ShareSettings::forServer(samba.server())), samba.shareDir());
    QVERIFY(!saveNetworkStorage(
        share, {m_app->path() + "/source.csv", "abc-12-x123", "AA", "_1", [] { return false; }, {}, {}}));
    QCOMPARE(filesIn(samba.shareDir()), QStringList{"abc-12-x123.csv"});
    QCOMPARE(readFile(samba.shareDir() + "/abc-12-x123.csv"), QByteArray("delivered by an earlier run"));
}

void TestDeliverySmb::endRequestedCopiesNothing()
{
    SambaServer samba;
    if (!samba.problem().isEmpty())
        QSKIP(qPrintable(samba.problem()));
    writeFile(m_app->path() + "/source.csv", "x");
    auto share = makeShareSession(*ShareSettings::forServer(samba.server()));
    QVERIFY(saveNetworkStorage(
        *share, {m_app->path() + "/source.csv", "abc-12-x123", "AA", "_1", [] { return true; }, {}, {}}));
    QCOMPARE(filesIn(samba.shareDir()), QStringList());
    // Without the end, the same request delivers.
    QVERIFY(saveNetworkStorage(
        *share, {m_app->path() + "/source.csv", "abc-12-x123", "AA", "_1", [] { return false; }, {}, {}}));
    QCOMPARE(filesIn(samba.shareDir()), QStringList{"abc-12-x123.csv"});
}

void TestDeliverySmb::twentyClientsAtOnce()
{
    SambaServer samba;
    if (!samba.problem().isEmpty())
        QSKIP(qPrintable(samba.problem()));
    std::vector<std::unique_ptr<QProcess>> clients;
    QTemporaryDir machines;
    for (int i = 0; i < 20; ++i) {
        // Twenty machines: each its own folder and MAC address, started within the same second.
        const QString folder = machines.filePath(QStringLiteral("pc%1").arg(i));
        QDir().mkpath(folder);
        writeFile(folder + "/ifconfig.txt", QStringLiteral("en0: flags=8863\n\tether 02:00:00:00:00:%1\n")
                                                .arg(i, 2, 16, QChar('0'))
                                                .toUtf8());
        auto client = std::make_unique<QProcess>();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("OVALITH_STUB_IFCONFIG", folder + "/ifconfig.txt");
        client->setProcessEnvironment(environment);
        client->start(OVALITH_COLLECT_PROGRAM,
                      {"--app-dir", folder, "--control-number",
                       QStringLiteral("abc-12-a%1").arg(i, 3, 10, QChar('0')), "--family-name", "山田",
                       "--given-name", "太郎", "--deliver", "--server", samba.server()});
        clients.push_back(std::move(client));
    }
    for (int i = 0; i < 20; ++i) {
        QProcess &client = *clients[std::size_t(i)];
        QVERIFY(client.waitForFinished(60000));
        QCOMPARE(client.exitCode(), 0);
        const QString name = QStringLiteral("abc-12-a%1.csv").arg(i, 3, 10, QChar('0'));
        const QString local = machines.filePath(QStringLiteral("pc%1/SAVE/").arg(i) + name);
        // The report with the saved file's path, then the window's name; nothing else on stdout.
        QCOMPARE(QString::fromUtf8(client.readAllStandardOutput()),
                 "データ収集を完了しました。\n「" + local +
                     "」\n上記ファイルを指定された場所へ送付してください。\nAllOK\n");
        QCOMPARE(readFile(samba.shareDir() + "/" + name), readFile(local));
    }
    const QStringList delivered = filesIn(samba.shareDir());
    QCOMPARE(delivered.size(), 20);
    QVERIFY(delivered.filter(QRegularExpression("^\\.")).isEmpty()); // no temporary file left
}

QTEST_GUILESS_MAIN(TestDeliverySmb)
#include "test_delivery_smb.moc"
