#include "CliRun.h"
#include "SambaServer.h"
#include "TestSupport.h"
#include "util/OVUtil.h"
#include "util/share/DeliveryConfig.h"

#include <QDir>
#include <QDirIterator>
#include <QProcess>
#include <QTest>

using namespace testsupport;

namespace {

const QString kAwkward = QStringLiteral("p a,s;s \"w\\o%r=d# 密");

QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

// The site file as a site writes it: Notepad's byte-order mark and CR LF.
void writeSiteFile(const QString &app, const QString &lines)
{
    QDir().mkpath(app + "/DAT");
    writeFile(app + "/DAT/delivery.ini", "\xEF\xBB\xBF[delivery]\r\n" + lines.toUtf8());
}

// A password in Qt's INI form: in double quotes, with \" for a quote and \\ for a backslash.
QString quotedForIni(QString password)
{
    password.replace("\\", "\\\\").replace("\"", "\\\"");
    return "\"" + password + "\"";
}

QStringList deliverArguments(const QString &app)
{
    return formArguments(app) << "--deliver";
}

// What smbclient, logged on as the share's account, gets for a command.
QString asTheAccount(const SambaServer &samba, const QString &password, const QString &command)
{
    QProcess client;
    client.start("smbclient",
                 {"//127.0.0.1/stkget$", "-p", samba.server().section(':', 1), "--client-protection=encrypt",
                  "-U", QString(SambaServer::kUser) + "%" + password, "-c", command});
    client.waitForFinished(30000);
    return QString::fromUtf8(client.readAllStandardOutput() + client.readAllStandardError());
}

} // namespace

// Delivery to file servers as sites have them in 2026: no guest, SMB 3, signing and encryption required,
// an account from the site file. Through the real program and a real smbd on loopback.
class TestDeliveryAccount : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void settingsComeFromTheFirstThatNamesThem();
    void guestIsRefusedByAServerOf2026();
    void accountFromTheSiteFileDelivers();
    void wrongPasswordLeavesNothing();
    void serverWithoutEncryptionGetsNothing();
    void dropBoxTakesFilesAndShowsNone();
    void awkwardPasswordsFromEachSource();
    void passwordAppearsNowhere();
    void siteFileThatCannotBeUsed_data();
    void siteFileThatCannotBeUsed();

private:
    std::unique_ptr<StubEnvironment> m_stubs;
    ScopedEnv m_env;
};

void TestDeliveryAccount::init()
{
    for (const char *name : {"OVALITH_FILE_SERVER", "OVALITH_SHARE_USER", "OVALITH_SHARE_PASSWORD_FILE"})
        m_env.unset(name);
    renewStubs(m_stubs);
    m_stubs->servePlists(fixture("machines/imac-t2-macos13"));
}

void TestDeliveryAccount::settingsComeFromTheFirstThatNamesThem()
{
    TempAppDir app;
    QTemporaryDir secrets;
    writeFile(secrets.filePath("pw"), "from the environment\r\nsecond line\r\n");
    // Nothing anywhere: no delivery, exactly as before there was a site file.
    QVERIFY(!loadDeliveryConfig().delivers());

    writeSiteFile(app.path(), "server = fs01.example.jp\r\nuser = site\r\npassword = " +
                                  quotedForIni(kAwkward) + "\r\ndomain = EXAMPLE\r\nshare = drop$\r\n");
    auto config = loadDeliveryConfig();
    QVERIFY(config.share && config.problem.isEmpty());
    QCOMPARE(config.share->server, QStringLiteral("fs01.example.jp"));
    QCOMPARE(config.share->user, QStringLiteral("site"));
    QCOMPARE(config.share->password, kAwkward);
    QCOMPARE(config.share->domain, QStringLiteral("EXAMPLE"));
    QCOMPARE(config.share->share, QStringLiteral("drop$"));
    QVERIFY(config.share->security == ShareSettings::Security::Encrypt); // the default with an account

    m_env.set("OVALITH_FILE_SERVER", "fs02.example.jp:4450");
    m_env.set("OVALITH_SHARE_USER", "environment");
    m_env.set("OVALITH_SHARE_PASSWORD_FILE", QFile::encodeName(secrets.filePath("pw")));
    config = loadDeliveryConfig();
    QCOMPARE(config.share->server, QStringLiteral("fs02.example.jp:4450"));
    QCOMPARE(config.share->user, QStringLiteral("environment"));
    QCOMPARE(config.share->password, QStringLiteral("from the environment"));

    config = loadDeliveryConfig({"fs03.example.jp", "option", QStringLiteral("from the option")});
    QCOMPARE(config.share->server, QStringLiteral("fs03.example.jp"));
    QCOMPARE(config.share->user, QStringLiteral("option"));
    QCOMPARE(config.share->password, QStringLiteral("from the option"));

    // The guest, named or not, keeps the guest's delivery.
    writeSiteFile(app.path(), "server = fs01.example.jp\r\nuser = Guest\r\n");
    m_env.unset("OVALITH_SHARE_USER");
    QVERIFY(!loadDeliveryConfig().share->hasAccount());
}

void TestDeliveryAccount::guestIsRefusedByAServerOf2026()
{
    SambaServer samba(SambaServer::Kind::Account);
    if (!samba.problem().isEmpty())
        QSKIP(qPrintable(samba.problem()));
    QTemporaryDir app;
    const CliResult result = collect(deliverArguments(app.path()) << "--server" << samba.server());
    QCOMPARE(result.exitCode, 3);
    QVERIFY(result.out.endsWith("NetworkNG\n"));
    QCOMPARE(result.err,
             errorLines({"サーバーへ送信できませんでした：サーバー" + samba.server() +
                         "がゲストでの接続を受け付けません（今日のWindowsサーバーはゲストを受け付けません。"
                         "DAT/delivery.ini にアカウントを設定してください）"}));
    QCOMPARE(filesIn(samba.shareDir()), QStringList());
}

void TestDeliveryAccount::accountFromTheSiteFileDelivers()
{
    SambaServer samba(SambaServer::Kind::Account);
    if (!samba.problem().isEmpty())
        QSKIP(qPrintable(samba.problem()));
    QTemporaryDir app;
    writeSiteFile(app.path(), "server = " + samba.server() + "\r\nuser = " + SambaServer::kUser +
                                  "\r\npassword = Pw-2026!\r\n");
    const CliResult result = collect(deliverArguments(app.path()));
    QVERIFY2(result.exitCode == 0, qPrintable(result.err));
    QVERIFY(result.out.endsWith("AllOK\n"));
    QCOMPARE(result.err, QString());
    QCOMPARE(readFile(samba.shareDir() + "/abc-12-x123.csv"), readFile(app.filePath("SAVE/abc-12-x123.csv")));
    // Without --deliver the site file's server delivers nothing: the command delivers when it is told to.
    QCOMPARE(collect(formArguments(app.path())).exitCode, 0);
}

void TestDeliveryAccount::wrongPasswordLeavesNothing()
{
    SambaServer samba(SambaServer::Kind::Account);
    if (!samba.problem().isEmpty())
        QSKIP(qPrintable(samba.problem()));
    QTemporaryDir app;
    writeSiteFile(app.path(), "server = " + samba.server() + "\r\nuser = " + SambaServer::kUser +
                                  "\r\npassword = not-the-password\r\n");
    const CliResult result = collect(deliverArguments(app.path()));
    QCOMPARE(result.exitCode, 3);
    QCOMPARE(result.err,
             errorLines({"サーバーへ送信できませんでした：サーバー" + samba.server() + "にアカウント" +
                         SambaServer::kUser +
                         "でログオンできないか、共有stkget$の利用が許されていません（パスワード、アカウント"
                         "のロックや無効、共有の権限を確認してください）"}));
    QCOMPARE(filesIn(samba.shareDir()), QStringList());
    QVERIFY(QFile::exists(app.filePath("SAVE/abc-12-x123.csv")));
}

void TestDeliveryAccount::serverWithoutEncryptionGetsNothing()
{
    SambaServer samba(SambaServer::Kind::AccountWithoutEncryption);
    if (!samba.problem().isEmpty())
        QSKIP(qPrintable(samba.problem()));
    QTemporaryDir app;
    const QString account =
        "server = " + samba.server() + "\r\nuser = " + SambaServer::kUser + "\r\npassword = Pw-2026!\r\n";
    writeSiteFile(app.path(), account);
    const CliResult result = collect(deliverArguments(app.path()));
    QCOMPARE(result.exitCode, 3);
    QVERIFY2(result.err.contains("が暗号化されたSMB 3の接続に応じないため、送信しませんでした"),
             qPrintable(result.err));
    // Nothing was sent in clear text: no file there, and the server never opened one nor saw a logon.
    QCOMPARE(filesIn(samba.shareDir()), QStringList());
    QVERIFY(!samba.log().contains("opened file"));
    QVERIFY(!samba.log().contains(SambaServer::kUser));

    // A site that settles for signing says so, and then delivers.
    writeSiteFile(app.path(), account + "security = sign\r\n");
    QCOMPARE(collect(deliverArguments(app.path())).exitCode, 0);
    QCOMPARE(filesIn(samba.shareDir()), QStringList{"abc-12-x123.csv"});
}

void TestDeliveryAccount::dropBoxTakesFilesAndShowsNone()
{
    SambaServer samba(SambaServer::Kind::DropBox);
    if (!samba.problem().isEmpty())
        QSKIP(qPrintable(samba.problem()));
    QTemporaryDir first;
    QTemporaryDir second;
    for (const QString &app : {first.path(), second.path()})
        writeSiteFile(app, "server = " + samba.server() + "\r\nuser = " + SambaServer::kUser +
                               "\r\npassword = Pw-2026!\r\n");
    // An incomplete run's note goes with it, and a second run replaces both file and note.
    m_stubs->set("OVALITH_STUB_FAIL", "SPPrintersDataType");
    QCOMPARE(collect(deliverArguments(first.path())).exitCode, 4);
    m_stubs->set("OVALITH_STUB_FAIL", "");
    QCOMPARE(collect(deliverArguments(first.path())).exitCode, 0);
    QCOMPARE(collect(QStringList{"--app-dir", second.path(), "--control-number", "def-34-y567",
                                 "--family-name", "佐藤", "--given-name", "花子", "--deliver"})
                 .exitCode,
             0);
    QCOMPARE(filesIn(samba.shareDir()), (QStringList{"abc-12-x123.csv", "def-34-y567.csv"}));
    QCOMPARE(readFile(samba.shareDir() + "/abc-12-x123.csv"),
             readFile(first.filePath("SAVE/abc-12-x123.csv")));
    // The same account lists nothing and reads nothing back: a leaked site file shows no machine's facts.
    QVERIFY(asTheAccount(samba, "Pw-2026!", "ls").contains("NT_STATUS_ACCESS_DENIED"));
    QVERIFY(
        asTheAccount(samba, "Pw-2026!", "get def-34-y567.csv /dev/null").contains("NT_STATUS_ACCESS_DENIED"));
}

void TestDeliveryAccount::awkwardPasswordsFromEachSource()
{
    SambaServer samba(SambaServer::Kind::Account, kAwkward);
    if (!samba.problem().isEmpty())
        QSKIP(qPrintable(samba.problem()));
    QTemporaryDir app;
    const QString server = "server = " + samba.server() + "\r\nuser = " + SambaServer::kUser + "\r\n";
    writeSiteFile(app.path(), server + "password = " + quotedForIni(kAwkward) + "\r\n");
    QCOMPARE(collect(deliverArguments(app.path())).exitCode, 0);

    // The password file's first line, its line end removed, over the site file's wrong one.
    writeSiteFile(app.path(), server + "password = wrong\r\n");
    QTemporaryDir secrets;
    writeFile(secrets.filePath("pw"), kAwkward.toUtf8() + "\r\n");
    QCOMPARE(
        collect(deliverArguments(app.path()) << "--share-password-file" << secrets.filePath("pw")).exitCode,
        0);
    m_env.set("OVALITH_SHARE_PASSWORD_FILE", QFile::encodeName(secrets.filePath("pw")));
    QCOMPARE(collect(deliverArguments(app.path())).exitCode, 0);
    QCOMPARE(filesIn(samba.shareDir()), QStringList{"abc-12-x123.csv"});
}

void TestDeliveryAccount::passwordAppearsNowhere()
{
    const QString password = QStringLiteral("Secret-4821-Ovalith");
    SambaServer samba(SambaServer::Kind::Account, password);
    if (!samba.problem().isEmpty())
        QSKIP(qPrintable(samba.problem()));
    QTemporaryDir app;
    QTemporaryDir temporary;
    writeSiteFile(app.path(), "server = " + samba.server() + "\r\nuser = " + SambaServer::kUser +
                                  "\r\npassword = " + password + "\r\n");
    m_stubs->set("OVALITH_STUB_SLEEP", "0.3"); // long enough to look at the processes meanwhile
    QProcess run;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("TMPDIR", temporary.path());
    run.setProcessEnvironment(environment);
    run.start(OVALITH_COLLECT_PROGRAM, deliverArguments(app.path()) << "--debug");
    QStringList seen; // every process's arguments and environment while the run lasts
    while (!run.waitForFinished(20)) {
        QProcess ps;
        ps.start("ps", {"-eo", "pid=,args="});
        ps.waitForFinished();
        for (const QByteArray &line : ps.readAllStandardOutput().split('\n')) {
            seen << QString::fromUtf8(line);
            QFile processEnvironment(
                QStringLiteral("/proc/%1/environ").arg(line.trimmed().split(' ').value(0).toInt()));
            if (processEnvironment.open(QIODevice::ReadOnly))
                seen << QString::fromUtf8(processEnvironment.readAll());
        }
    }
    QCOMPARE(run.exitCode(), 0);
    QVERIFY(!seen.isEmpty());
    QVERIFY(!seen.join('\n').contains(password));
    QVERIFY(!run.readAllStandardOutput().contains(password.toUtf8()));
    QVERIFY(!run.readAllStandardError().contains(password.toUtf8()));
    // Nor any file the run wrote: the save folder (the debug log, the CSV, a note) and the temporary folder.
    for (const QString &folder : {app.filePath("SAVE"), temporary.path()}) {
        QDirIterator files(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (files.hasNext())
            QVERIFY2(!readFile(files.next()).contains(password.toUtf8()), qPrintable(files.filePath()));
    }
    QVERIFY(QFile::exists(app.filePath("SAVE/debug.txt")));
}

void TestDeliveryAccount::siteFileThatCannotBeUsed_data()
{
    QTest::addColumn<QByteArray>("content"); // "" for a folder where the file should be
    QTest::addColumn<QString>("reason");     // %1 the file
    QTest::newRow("not a host") << QByteArray("[delivery]\nserver = smb://fs01/stkget$\n")
                                << "%1 の server がホスト名かIPv4アドレスではありません：smb://fs01/stkget$";
    QTest::newRow("unknown security") << QByteArray("[delivery]\nserver = fs01\nuser = a\nsecurity = none\n")
                                      << "%1 の security は encrypt か sign です：none";
    QTest::newRow("a comma without quotes")
        << QByteArray("[delivery]\nserver = fs01\nuser = a\npassword = a,b\n")
        << "%1 の password は、「,」を含むときは \" で囲んでください";
    QTest::newRow("a folder in its place")
        << QByteArray() << "%1 を読み込めません（file to open is a directory）";
}

void TestDeliveryAccount::siteFileThatCannotBeUsed()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, reason);
    QTemporaryDir app;
    QDir().mkpath(app.filePath("DAT"));
    if (content.isEmpty())
        QDir().mkpath(app.filePath("DAT/delivery.ini"));
    else
        writeFile(app.filePath("DAT/delivery.ini"), content);
    // Saved all the same; not delivered, and the message names the file and the key.
    const CliResult result = collect(deliverArguments(app.path()));
    QCOMPARE(result.exitCode, 3);
    QVERIFY(result.out.endsWith("NetworkNG\n"));
    QCOMPARE(result.err,
             errorLines({"サーバーへ送信できませんでした：" + reason.arg(app.filePath("DAT/delivery.ini"))}));
    QVERIFY(QFile::exists(app.filePath("SAVE/abc-12-x123.csv")));
}

QTEST_GUILESS_MAIN(TestDeliveryAccount)
#include "test_delivery_account_linux.moc"
