#include "TestSupport.h"
#include "util/InstalledLayout.h"
#include "util/OVBuildProfile.h"
#include "util/OVUtil.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeZone>

using namespace testsupport;

class TestUtil : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void macAddressesComeFromIfconfig();
    void foldersHangOffTheProgramFolder();
    void installedProgramKeepsItsFolderInTheUsersData();
    void nowStringUsesTheLocalClock();
    void outputFileWritesCodePage932();
    void outputFileLeavesTargetWhenItCannotWrite();
    void urlEncodeFollowsTheBuild_data();
    void urlEncodeFollowsTheBuild();
    void urlDecode();
};

void TestUtil::macAddressesComeFromIfconfig()
{
    StubEnvironment stubs;
    stubs.serveIfconfig("en0: flags=8863<UP,BROADCAST> mtu 1500\n"
                        "\tether aa:bb:cc:dd:ee:ff \n"
                        "\tinet 192.168.1.2 netmask 0xffffff00\n"
                        "en1: flags=8863<UP>\n"
                        "\tether 11:22:33:44:55:66\n");
    QCOMPARE(OVUtil::getMacAddress(), (QStringList{QStringLiteral("AA-BB-CC-DD-EE-FF"),
                                                   QStringLiteral("11-22-33-44-55-66"), QString()}));

    stubs.serveIfconfig("lo0: flags=8049<UP,LOOPBACK>\n\tinet 127.0.0.1\n");
    QCOMPARE(OVUtil::getMacAddress(), QStringList{QString()});
}

void TestUtil::foldersHangOffTheProgramFolder()
{
    // Where the build put this program, as the build system says, not as Qt's call the code makes says.
    QCOMPARE(OVUtil::getCurrentDirectory(), QStringLiteral(OVALITH_TEST_PROGRAM_DIR));
    OVUtil::setCurrentDirectory(QStringLiteral("/Applications/"));
    QCOMPARE(OVUtil::getSaveFilePath(), QStringLiteral("/Applications/SAVE/"));
    QCOMPARE(OVUtil::getDatFilePath(), QStringLiteral("/Applications/DAT/"));

    TempAppDir app;
    QVERIFY(!QFileInfo::exists(app.savePath()));
    OVUtil::createSaveFilePath();
    OVUtil::createSaveFilePath(); // an existing folder is simply used
    QVERIFY(QFileInfo(app.savePath()).isDir());
}

void TestUtil::installedProgramKeepsItsFolderInTheUsersData()
{
    // An unpacked package: the program in usr/bin, the sample lists in usr/share/ovalith/DAT.
    QTemporaryDir root;
    QDir().mkpath(root.filePath("usr/bin"));
    QDir().mkpath(root.filePath("usr/share/ovalith/DAT"));
    writeFile(root.filePath("usr/share/ovalith/DAT/Busho.TxT"), "\x91\x8D\x96\xB1\x95\x94\r\n");
    writeFile(root.filePath("usr/share/ovalith/DAT/Basho.TxT"), "A\r\n");
    QTemporaryDir home;
    ScopedEnv env;
    env.set("HOME", QFile::encodeName(home.path()));
    env.unset("XDG_DATA_HOME");
    const QString folder = installedProgramFolder(root.filePath("usr/bin"));
    QCOMPARE(folder, home.path() + "/.local/share/ovalith"); // made with its parents
    QVERIFY(QFileInfo(folder).isDir());
    QCOMPARE(QDir(folder + "/DAT").entryList(QDir::Files), (QStringList{"Basho.TxT", "Busho.TxT"}));
    QCOMPARE(readFile(folder + "/DAT/Busho.TxT"), QByteArray("\x91\x8D\x96\xB1\x95\x94\r\n"));
    // The site's own lists are never overwritten, and a list it removed does not come back.
    writeFile(folder + "/DAT/Busho.TxT", "site list");
    QFile::remove(folder + "/DAT/Basho.TxT");
    QCOMPARE(installedProgramFolder(root.filePath("usr/bin")), folder);
    QCOMPARE(readFile(folder + "/DAT/Busho.TxT"), QByteArray("site list"));
    QVERIFY(!QFile::exists(folder + "/DAT/Basho.TxT"));
    // XDG_DATA_HOME wins when it is an absolute path; a relative one is ignored.
    env.set("XDG_DATA_HOME", QFile::encodeName(home.filePath("data")));
    QCOMPARE(installedProgramFolder(root.filePath("usr/bin")), home.filePath("data") + "/ovalith");
    env.set("XDG_DATA_HOME", "relative/data");
    QCOMPARE(installedProgramFolder(root.filePath("usr/bin")), folder);
}

void TestUtil::nowStringUsesTheLocalClock()
{
    OVUtil::setClock([] { return QDateTime(QDate(2026, 12, 5), QTime(9, 3, 7)); });
    QCOMPARE(OVUtil::getNowString(QStringLiteral("yyyy/MM/dd")), QStringLiteral("2026/12/05"));
    QCOMPARE(OVUtil::getNowString(QStringLiteral("HH:mm:ss")), QStringLiteral("09:03:07"));
    QCOMPARE(OVUtil::getNowString(QStringLiteral("yyyyMMddHHmmss")), QStringLiteral("20261205090307"));
    OVUtil::setClock({});
    // The real clock agrees with the system's own date command (asked on both sides of the reading, in
    // case midnight passes between them).
    const auto systemDate = [] {
        QProcess date;
        date.start("date", {"+%Y/%m/%d"});
        date.waitForFinished();
        return QString::fromLatin1(date.readAllStandardOutput()).trimmed();
    };
    const QString before = systemDate();
    const QString today = OVUtil::getNowString(QStringLiteral("yyyy/MM/dd"));
    const QString after = systemDate();
    QVERIFY2(today == before || today == after, qPrintable(today + " " + before + " " + after));
    QCOMPARE(before.size(), 10);
}

void TestUtil::outputFileWritesCodePage932()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("out.csv"));
    writeFile(path, "older content that is longer than the new one");
    QVERIFY(OVUtil::outputFile(QStringLiteral("管理番号,😀\r\n"), path));
    QCOMPARE(readFile(path), QByteArray("\x8A\xC7\x97\x9D\x94\xD4\x8D\x86,?\r\n"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("out.csv")});
}

void TestUtil::outputFileLeavesTargetWhenItCannotWrite()
{
    QTemporaryDir dir;
    QVERIFY(!OVUtil::outputFile(QStringLiteral("x"), dir.filePath(QStringLiteral("missing/out.csv"))));
    // A file where the folder should be stops even root.
    writeFile(dir.filePath(QStringLiteral("folder")), "a file");
    QVERIFY(!OVUtil::outputFile(QStringLiteral("x"), dir.filePath(QStringLiteral("folder/out.csv"))));
    QCOMPARE(readFile(dir.filePath(QStringLiteral("folder"))), QByteArray("a file"));
}

void TestUtil::urlEncodeFollowsTheBuild_data()
{
    QTest::addColumn<bool>("universal");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("encoded");
    QTest::newRow("64-bit address") << false << QStringLiteral("192.168.0.10/a")
                                    << QStringLiteral("192.168.0.10/a");
    QTest::newRow("64-bit space and percent")
        << false << QStringLiteral("a b%") << QStringLiteral("a%20b%25");
    QTest::newRow("64-bit delimiters stay")
        << false << QStringLiteral("!$&'()*+,;=:@?") << QStringLiteral("!$&'()*+,;=:@?");
    QTest::newRow("64-bit others escaped")
        << false << QStringLiteral("#[]\"<>") << QStringLiteral("%23%5B%5D%22%3C%3E");
    QTest::newRow("64-bit utf-8 bytes") << false << QStringLiteral("資") << QStringLiteral("%E8%B3%87");
    QTest::newRow("universal address")
        << true << QStringLiteral("192.168.0.10/a:b@c~") << QStringLiteral("192.168.0.10/a:b@c~");
    QTest::newRow("universal delimiters")
        << true << QStringLiteral("!*'();&=+$,?%#[]")
        << QStringLiteral("%21%2A%27%28%29%3B%26%3D%2B%24%2C%3F%25%23%5B%5D");
}

void TestUtil::urlEncodeFollowsTheBuild()
{
    QFETCH(bool, universal);
    QFETCH(QString, text);
    QFETCH(QString, encoded);
    OVBuildProfile::setCurrent(universal ? OVBuildProfile::universal() : OVBuildProfile::sixtyFourBit());
    QCOMPARE(OVUtil::urlEncode(text), encoded);
    QCOMPARE(OVUtil::urlDecode(encoded), std::optional(text));
    OVBuildProfile::setCurrent(OVBuildProfile::sixtyFourBit());
}

void TestUtil::urlDecode()
{
    QCOMPARE(OVUtil::urlDecode(QStringLiteral("//guest@10.0.0.1/stkget%24")),
             std::optional(QStringLiteral("//guest@10.0.0.1/stkget$")));
    QCOMPARE(OVUtil::urlDecode(QStringLiteral("%e8%b3%87")), std::optional(QStringLiteral("資")));
    QVERIFY(!OVUtil::urlDecode(QStringLiteral("%E8%B3")).has_value()); // cut UTF-8 sequence
    QVERIFY(!OVUtil::urlDecode(QStringLiteral("%G1")).has_value());
    QVERIFY(!OVUtil::urlDecode(QStringLiteral("abc%4")).has_value());
}

QTEST_GUILESS_MAIN(TestUtil)
#include "test_util.moc"
