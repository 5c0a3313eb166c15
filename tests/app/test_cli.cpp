#include "CliRun.h"
#include "SambaServer.h"
#include "TestSupport.h"
#include "util/Cp932.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

using namespace testsupport;

namespace {

// The creation date and time the program wrote on line 2, checked for their shape.
std::pair<QByteArray, QByteArray> creationStamp(const QByteArray &csv)
{
    const QList<QByteArray> fields = csv.split('\n').value(1).trimmed().split(',');
    const QByteArray date = fields.value(3);
    const QByteArray time = fields.value(4);
    if (!QRegularExpression("^\\d{4}/\\d\\d/\\d\\d$").match(QString::fromLatin1(date)).hasMatch() ||
        !QRegularExpression("^\\d\\d:\\d\\d:\\d\\d$").match(QString::fromLatin1(time)).hasMatch())
        return {};
    return {date, time};
}

} // namespace

class TestCli : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void writesTheFileAndPrintsTheReport();
    void todaysMacsFillEveryFact_data();
    void todaysMacsFillEveryFact();
    void refusesInput_data();
    void refusesInput();
    void failedSaveExitsWithOne();
    void debugKeepsTheLastCheckpoint();
    void defaultProgramFolderIsTheExecutables();
    void deliveryFailureExitsWithThree();

private:
    std::unique_ptr<StubEnvironment> m_stubs;
    ScopedEnv m_env;
};

void TestCli::init()
{
    m_env.unset("OVALITH_FILE_SERVER");
    renewStubs(m_stubs);
    m_stubs->servePlists(fixture("real/ohai-MacBookPro8_2-10.7.5"));
    m_stubs->serveIfconfig("en0: flags=8863\n\tether 3c:07:54:74:1e:2b\n");
}

void TestCli::writesTheFileAndPrintsTheReport()
{
    QTemporaryDir root;
    const QString app = root.filePath("O'Brien's $HOME; rm x");
    QDir().mkpath(app);
    const CliResult result = collect(formArguments(app));
    QCOMPARE(result.exitCode, 0);
    const QString path = app + "/SAVE/abc-12-x123.csv";
    QCOMPARE(result.out, "データ収集を完了しました。\n「" + path +
                             "」\n上記ファイルを指定された場所へ送付してください。\n");
    QCOMPARE(result.err, QString());
    const QByteArray written = readFile(path);
    const auto [date, time] = creationStamp(written);
    QVERIFY(!date.isEmpty());
    QCOMPARE(written, expectedCsv("ohai-MacBookPro8_2.csv", date, time));
    QCOMPARE(QDir(app + "/SAVE").entryList(QDir::Files | QDir::Hidden), QStringList{"abc-12-x123.csv"});
}

void TestCli::todaysMacsFillEveryFact_data()
{
    QTest::addColumn<QString>("machine");
    QTest::addColumn<QStringList>("lines"); // group to unit of the facts this checks, in file order
    QTest::newRow("MacBook Pro M3 Pro, macOS 26")
        << "macbookpro-m3pro-macos26"
        << QStringList{
               "Hard,CPU,NameString,Apple M3 Pro,",
               "Hard,メモリ,全容量,18,GB",
               "Hard,Hard Disk,合計量,1000555,MB",
               "Hard,SystemHDD,空容量,612345,MB",
               "Hard,SystemHDD,全容量,994662,MB",
               "Hard,画面,解像度,1512 x 982 @ 120.00Hz,",
               "Hard,Keyboard,キーボード,Magic Keyboard with Touch ID,",
               "Hard,Keyboard,キーボード,山田のMagic Keyboard,",
               "Hard,Keyboard,キーボード,USB Keyboard,",
               "Hard,Keyboard,キーボード,Keychron K8 Keyboard,",
               "Hard,Printer,デフォルトプリンタ,Canon G3060 series-AirPrint,ipp://Canon%20G3060%20series."
               "_ipp._tcp.local./?uuid=00000000-1111-2222-3333-444455556666",
               "Soft,OS,Version,Mac OS [macOS 26.1 (25B78) 64ビット],",
               "Hard,SystemHDD,Drive,Macintosh HD,"};
    QTest::newRow("iMac with T2, macOS 13")
        << "imac-t2-macos13"
        << QStringList{"Hard,CPU,NameString,6-Core Intel Core i5 3.1 GHz,",
                       "Hard,メモリ,全容量,32,GB",
                       "Hard,Hard Disk,合計量,500277,MB",
                       "Hard,SystemHDD,空容量,321987,MB",
                       "Hard,SystemHDD,全容量,499963,MB",
                       "Hard,画面,解像度,2560 x 1440 @ 60.00Hz CGSThirtyBitColor,",
                       "Hard,Keyboard,キーボード,Magic Keyboard,",
                       "Hard,Keyboard,キーボード,Apple Keyboard,",
                       "Hard,Printer,デフォルトプリンタ,RICOH MP C3004 PS,ipp://192.168.1.60/ipp/print",
                       "Soft,OS,Version,Mac OS [macOS 13.6.1 (22G313) 64ビット],",
                       "Hard,SystemHDD,Drive,Macintosh HD,"};
}

void TestCli::todaysMacsFillEveryFact()
{
    QFETCH(QString, machine);
    QFETCH(QStringList, lines);
    m_stubs->servePlists(fixture("machines/" + machine));
    QTemporaryDir app;
    QCOMPARE(collect(formArguments(app.path())).exitCode, 0);
    const auto csv = cp932::decode(readFile(app.filePath("SAVE/abc-12-x123.csv")));
    QVERIFY(csv);
    QStringList facts;
    const QRegularExpression checked(
        "^Hard,(CPU|メモリ|Hard Disk|SystemHDD|画面|Keyboard|Printer),|^Soft,OS,Version,");
    for (const QString &line : csv->split("\r\n")) {
        const QString fact = line.section(',', 1, 5);
        if (checked.match(fact).hasMatch())
            facts << fact;
    }
    QCOMPARE(facts.join("\n"), lines.join("\n"));
}

void TestCli::refusesInput_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");
    const QString seeHelp = "使い方は ovalith-collect --help で見られます。";
    const QString a = "管理番号が不正です";
    const QStringList names{"--family-name", "山田", "--given-name", "太郎"};
    QTest::newRow("no management number") << names << errorLines({"--control-number がありません", seeHelp});
    QTest::newRow("nothing at all")
        << QStringList()
        << errorLines({"--control-number、--family-name、--given-name がありません", seeHelp});
    QTest::newRow("two parts") << QStringList{"--control-number", "abc-12"} + names
                               << errorLines(
                                      {a, "管理番号は3つの部分を「-」でつないだものです（例：abc-12-x123）"});
    QTest::newRow("four parts")
        << QStringList{"--control-number", "abc-12-x123-4"} + names
        << errorLines({a, "管理番号は3つの部分を「-」でつないだものです（例：abc-12-x123）"});
    QTest::newRow("upper case")
        << QStringList{"--control-number", "ABC-12-x123"} + names
        << errorLines({a, "管理番号の最初の部分は英小文字3文字です（例：abc-12-x123 の abc）"});
    QTest::newRow("three digits in the middle")
        << QStringList{"--control-number", "abc-123-x123"} + names
        << errorLines({a, "管理番号の2番目の部分は数字2桁です（例：abc-12-x123 の 12）"});
    QTest::newRow("no family name") << QStringList{"--control-number", "abc-12-x123", "--given-name", "太郎"}
                                    << errorLines({"--family-name がありません", seeHelp});
    QTest::newRow("blank given name")
        << QStringList{"--control-number", "abc-12-x123", "--family-name", "山田", "--given-name", "  "}
        << errorLines({"使用者氏名を入力してください。", "姓と名の両方を入力してください"});
    const QStringList form = QStringList{"--control-number", "abc-12-x123"} + names;
    QTest::newRow("delivery without a server")
        << form + QStringList{"--deliver"}
        << errorLines({"送り先のファイルサーバーがありません：--server HOST[:PORT] "
                       "を付けるか、OVALITH_FILE_SERVER か "
                       "DAT/delivery.ini で指定してください",
                       seeHelp});
    QTest::newRow("server without delivery")
        << form + QStringList{"--server", "10.0.0.1"}
        << errorLines({"--server、--share-user、--share-password-file は --deliver と共に使います", seeHelp});
    QTest::newRow("unknown option") << form + QStringList{"--colour"}
                                    << errorLines({"知らないオプションです：--colour", seeHelp});
    QTest::newRow("a value missing") << form + QStringList{"--deliver", "--server"}
                                     << errorLines({"--server には値が必要です", seeHelp});
    QTest::newRow("an option given twice") << QStringList{"--control-number", "def-34-y567"} + form
                                           << errorLines({"--control-number が2回以上あります", seeHelp});
    for (const char *server :
         {"file server", "smb://fileserver", "fileserver/stkget$", "fs@example", "[::1]:445"})
        QTest::addRow("server %s", server)
            << form + QStringList{"--deliver", "--server", server}
            << errorLines({QString("送り先のファイルサーバーになりません：%1（HOST か "
                                   "HOST:PORT。IPv6アドレスは使えません）")
                               .arg(server),
                           seeHelp});
    QTest::newRow("a timeout that is no time")
        << form + QStringList{"--timeout", "0"} << errorLines({"--timeout は正の秒数です：0", seeHelp});
}

void TestCli::refusesInput()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    QTemporaryDir app;
    const CliResult result = collect(QStringList{"--app-dir", app.path()} + arguments);
    QCOMPARE(result.exitCode, 2);
    QCOMPARE(result.err, message);
    QCOMPARE(result.out, QString());
    QCOMPARE(QDir(app.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList());
}

void TestCli::failedSaveExitsWithOne()
{
    // A folder stands at the final name, so the written file cannot take its place.
    QTemporaryDir app;
    QDir().mkpath(app.filePath("SAVE/abc-12-x123.csv/older"));
    CliResult result = collect(formArguments(app.path()));
    QCOMPARE(result.exitCode, 1);
    QCOMPARE(result.err, errorLines({"データ収集失敗しました。"}));
    QCOMPARE(result.out, QString());
    // The delivery fails too: the failure on stderr, the window's name on stdout.
    const QString server = QStringLiteral("127.0.0.1:%1").arg(sparePort());
    result = collect(formArguments(app.path()) << "--deliver"
                                               << "--server" << server);
    QCOMPARE(result.exitCode, 1);
    QCOMPARE(result.err, errorLines({"データ収集失敗しました。",
                                     "サーバーへ送信できませんでした：サーバー" + server +
                                         "が接続を拒否しました（ファイル共有が動いていないか、"
                                         "ポートが違います）"}));
    QCOMPARE(result.out, QStringLiteral("AllNG\n"));
    QCOMPARE(QDir(app.filePath("SAVE")).entryList(QDir::Files | QDir::Hidden), QStringList());

    // Without a save folder no command could write its file either: the run says so before any starts.
    QTemporaryDir noFolder;
    writeFile(noFolder.filePath("SAVE"), "not a folder");
    const qsizetype commandsBefore = m_stubs->log().filter("system_profiler").size();
    result = collect(formArguments(noFolder.path()));
    QCOMPARE(result.exitCode, 1);
    QCOMPARE(result.err, errorLines({"データ収集失敗しました。", "保存先フォルダに書き込めません：" +
                                                                     noFolder.filePath("SAVE/") +
                                                                     "（Not a directory）"}));
    QCOMPARE(m_stubs->log().filter("system_profiler").size(), commandsBefore);
}

void TestCli::debugKeepsTheLastCheckpoint()
{
    QTemporaryDir app;
    QCOMPARE(collect(formArguments(app.path()) << "--debug").exitCode, 0);
    QCOMPARE(readFile(app.filePath("SAVE/debug.txt")), QByteArray("\x8F\x88\x97\x9D\x8A\xAE\x97\xB9"));
}

void TestCli::defaultProgramFolderIsTheExecutables()
{
    QTemporaryDir root;
    const QString folder = root.filePath("資産 (1)");
    QDir().mkpath(folder);
    const QString program = folder + "/ovalith-collect";
    QVERIFY(QFile::copy(OVALITH_COLLECT_PROGRAM, program));
    const CliResult result = collect(formArguments(folder).mid(2), program);
    QCOMPARE(result.exitCode, 0);
    QVERIFY(QFile::exists(folder + "/SAVE/abc-12-x123.csv"));
}

void TestCli::deliveryFailureExitsWithThree()
{
    QTemporaryDir app;
    const QString closedPort = QStringLiteral("127.0.0.1:%1").arg(sparePort());
    const CliResult result = collect(formArguments(app.path()) << "--deliver"
                                                               << "--server" << closedPort);
    QCOMPARE(result.exitCode, 3);
    const QString path = app.filePath("SAVE/abc-12-x123.csv");
    QCOMPARE(result.out, "データ収集を完了しました。\n「" + path +
                             "」\n上記ファイルを指定された場所へ送付してください。\nNetworkNG\n");
    QCOMPARE(result.err,
             errorLines({"サーバーへ送信できませんでした：サーバー" + closedPort +
                         "が接続を拒否しました（ファイル共有が動いていないか、ポートが違います）"}));
    QVERIFY(QFile::exists(path));

    m_env.set("OVALITH_FILE_SERVER", closedPort.toUtf8());
    QCOMPARE(collect(formArguments(app.path()) << "--deliver").exitCode, 3);
    QCOMPARE(collect(formArguments(app.path())).exitCode, 0); // without --deliver, no delivery
}

QTEST_GUILESS_MAIN(TestCli)
#include "test_cli.moc"
