#include "SambaServer.h"
#include "TestSupport.h"
#include "app/NetworkDelivery.h"
#include "util/OVUtil.h"
#include "util/share/OVMountedShare.h"
#include "util/share/SessionSecurity.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTest>

using namespace testsupport;

namespace {

QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

bool isMountPoint(const QString &path)
{
    return QProcess::execute("/bin/mountpoint", {"-q", path}) == 0;
}

} // namespace

// The delivery as macOS does it, through mount_smbfs, umount, mount, smbutil and nmblookup; here they are
// stubs that log their arguments, and the "share" is a local folder bind-mounted on the mount point.
class TestDeliveryMounted : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void deliversThroughTheMountPoint();
    void mountThatHangsIsCutAtFiveSeconds();
    void failedMountCopiesAndUnmountsNothing();
    void mountedDrivesAndMountPoint();
    void accountSessionsAreCheckedBeforeAnythingIsCopied();

private:
    DeliveryRequest request(bool endRequested = false) const;

    std::unique_ptr<StubEnvironment> m_stubs;
    std::unique_ptr<TempAppDir> m_app;
    std::unique_ptr<QTemporaryDir> m_shareDir;
    const ShareSettings m_settings = *ShareSettings::forServer("10.0.0.1");
};

void TestDeliveryMounted::initTestCase()
{
#ifndef Q_OS_LINUX
    QSKIP("the stub mount_smbfs bind-mounts a folder with Linux's mount");
#endif
}

void TestDeliveryMounted::init()
{
    renewStubs(m_stubs);
    m_shareDir = std::make_unique<QTemporaryDir>();
    m_stubs->set("OVALITH_STUB_SHARE_DIR", QFile::encodeName(m_shareDir->path()));
    // A folder name with a quote, a dollar sign and a semicolon must reach the tools as one argument.
    m_app = std::make_unique<TempAppDir>("O'Brien $HOME; x");
    writeFile(m_app->path() + "/source.csv", "Key,Group\r\n");
}

void TestDeliveryMounted::cleanup()
{
    if (isMountPoint(OVUtil::getMountPointPath()))
        QProcess::execute("/bin/umount", {OVUtil::getMountPointPath()});
    m_app.reset();
    m_stubs.reset();
}

DeliveryRequest TestDeliveryMounted::request(bool endRequested) const
{
    return {m_app->path() + "/source.csv",
            "abc-12-x123",
            "3C-07-54-74-1E-2B",
            "_20261206120000",
            [endRequested] { return endRequested; },
            {},
            {}};
}

void TestDeliveryMounted::deliversThroughTheMountPoint()
{
    if (const QString problem = bindMountProblem(); !problem.isEmpty())
        QSKIP(qPrintable("the stub mount_smbfs bind-mounts: " + problem));
    writeFile(m_shareDir->path() + "/abc-12-x123.csv", "earlier");
    writeFile(m_shareDir->path() + "/._abc-12-x123.csv", "companion");
    OVMountedShare share(m_settings);
    QVERIFY(saveNetworkStorage(share, request()));
    const QString mountPoint = m_app->path() + "/.mountPoint";
    QCOMPARE(m_stubs->log(),
             (QStringList{"mount_smbfs [-o] [nobrowse] [//guest:@10.0.0.1/stkget$] [" + mountPoint + "]",
                          "umount [" + mountPoint + "]"}));
    QCOMPARE(filesIn(m_shareDir->path()), QStringList{"abc-12-x123.csv"});
    QCOMPARE(readFile(m_shareDir->path() + "/abc-12-x123.csv"), QByteArray("Key,Group\r\n"));
    QVERIFY(!isMountPoint(mountPoint));
    QCOMPARE(makeTempDstPath("3C-07-54-74-1E-2B", "_20261206120000"),
             mountPoint + "/.3C-07-54-74-1E-2B_20261206120000.csv");
    QCOMPARE(makeDstPath("abc-12-x123"), mountPoint + "/abc-12-x123.csv");

    // With the end requested it mounts and unmounts, and copies nothing.
    QVERIFY(saveNetworkStorage(
        share, {m_app->path() + "/other.csv", "def-34-y567", "AA", "_1", [] { return true; }, {}, {}}));
    QCOMPARE(filesIn(m_shareDir->path()), QStringList{"abc-12-x123.csv"});
    QCOMPARE(m_stubs->log().size(), 4);
}

void TestDeliveryMounted::mountThatHangsIsCutAtFiveSeconds()
{
    m_stubs->set("OVALITH_STUB_MOUNT_SLEEP", "30");
    OVMountedShare share(m_settings);
    QElapsedTimer timer;
    timer.start();
    QVERIFY(!saveNetworkStorage(share, request()));
    QVERIFY2(timer.elapsed() >= 4900 && timer.elapsed() < 9000, qPrintable(QString::number(timer.elapsed())));
    QCOMPARE(m_stubs->log().filter("umount").size(), 0);
    QCOMPARE(filesIn(m_shareDir->path()), QStringList());
}

void TestDeliveryMounted::failedMountCopiesAndUnmountsNothing()
{
    m_stubs->set("OVALITH_STUB_MOUNT_FAIL", "1");
    OVMountedShare share(m_settings);
    QString reason;
    QVERIFY(!saveNetworkStorage(share, request(), &reason));
    QCOMPARE(m_stubs->log(), QStringList{"mount_smbfs [-o] [nobrowse] [//guest:@10.0.0.1/stkget$] [" +
                                         m_app->path() + "/.mountPoint]"}); // and nothing after it
    // The mount command's own words say why.
    QCOMPARE(reason, QStringLiteral(
                         "共有stkget$をマウントできません：mount_smbfs: server connection failed: No route "
                         "to host (exited with status 68)"));
    QVERIFY(QFileInfo(m_app->path() + "/.mountPoint").isDir());
    QCOMPARE(filesIn(m_shareDir->path()), QStringList());
}

void TestDeliveryMounted::mountedDrivesAndMountPoint()
{
    writeFile(m_app->path() + "/netbios.txt", "FILESERVER 10.0.0.1\nNAS01 10.0.0.9\n");
    m_stubs->set("OVALITH_STUB_NETBIOS", QFile::encodeName(m_app->path() + "/netbios.txt"));
    const QString list = m_app->path() + "/mounts.txt";
    m_stubs->set("OVALITH_STUB_MOUNT_LIST", QFile::encodeName(list));

    writeFile(list, "");
    QCOMPARE(OVUtil::getMountedDrive(), QStringList());
    QVERIFY(!getMountPoint(m_settings).has_value());

    writeFile(list, "/dev/disk1s1 on / (apfs, local, journaled)\n");
    QVERIFY(!getMountPoint(m_settings).has_value()); // no SMB share at all

    // grep smbfs picks the shares, host names become addresses and escapes are decoded; a line that is
    // not //user@host/share is passed over.
    writeFile(list, "//guest@NAS01/public%20files on /Volumes/public (smbfs, nodev, nosuid)\n"
                    "//GUEST@FILESERVER/stkget%24 on /tmp/elsewhere (smbfs, nodev, nosuid)\n"
                    "smbfs-helper on /private/var/run (smbfs)\n"
                    "//guest@NAS01/after on /Volumes/after (smbfs)\n");
    QCOMPARE(OVUtil::getMountedDrive(), (QStringList{"//guest@10.0.0.9/public files",
                                                     "//GUEST@10.0.0.1/stkget$", "//guest@10.0.0.9/after"}));
    QCOMPARE(OVUtil::resolveNetBIOSName("NAS01"), QStringLiteral("10.0.0.9"));
    QCOMPARE(OVUtil::resolveNetBIOSName("UNKNOWN"), QString());
    QCOMPARE(OVUtil::makeMountDriveUrl(m_settings), QStringLiteral("//guest@10.0.0.1/stkget$"));
    // Matched without regard to case, the address named again by its NetBIOS name, and the folder taken
    // from the mount list line that grep -i finds for it.
    // The list prints the share as "stkget%24" while the pattern ends in "$", grep's end of line, so the
    // query finds the share but names no folder for it: "".
    QCOMPARE(getMountPoint(m_settings), std::optional(QString()));
    QCOMPARE(m_stubs->log().filter("nmblookup").last(), QStringLiteral("nmblookup -A 10.0.0.1"));

    writeFile(list, "//guest@NAS01/public on /Volumes/public (smbfs)\n");
    QVERIFY(!getMountPoint(m_settings).has_value()); // SMB shares, but not ours
}

void TestDeliveryMounted::accountSessionsAreCheckedBeforeAnythingIsCopied()
{
    // What smbutil statshares -m says of a session, as macOS 14 prints it, and what the site requires.
    const QString signedOnly = "==================================================\n"
                               "SHARE                         ATTRIBUTE TYPE                VALUE\n"
                               "stkget$\n"
                               "                              SERVER_NAME                   fs01\n"
                               "                              SMB_VERSION                   SMB_3.1.1\n"
                               "                              SMB_CURR_ENCRYPT_ALGORITHM    OFF\n"
                               "                              SIGNING_SUPPORTED             TRUE\n"
                               "                              SIGNING_REQUIRED              TRUE\n";
    QString encrypted = signedOnly;
    encrypted.replace("ALGORITHM    OFF", "ALGORITHM    AES_128_GCM")
        .replace("REQUIRED              TRUE", "REQUIRED              FALSE");
    ShareSettings account = m_settings;
    account.user = "ovalith";
    QCOMPARE(securityProblem(parseStatshares(encrypted), account), std::nullopt);
    QVERIFY(securityProblem(parseStatshares(signedOnly), account)->contains("暗号化されたSMB 3ではない"));
    account.security = ShareSettings::Security::Sign;
    QCOMPARE(securityProblem(parseStatshares(signedOnly), account), std::nullopt);
    QString smb2 = signedOnly;
    QVERIFY(!parseStatshares(
                 smb2.replace("SMB_3.1.1", "SMB_2.1").replace("ALGORITHM    OFF", "ALGORITHM    AES_128_GCM"))
                 .encrypted);
    QString unsigned_ = signedOnly;
    QVERIFY(securityProblem(parseStatshares(unsigned_.replace("REQUIRED              TRUE",
                                                              "REQUIRED              FALSE")),
                            account)
                ->contains("署名されていない"));
    QVERIFY(securityProblem(parseStatshares("smbutil: not found"), account)->contains("確かめられない"));
    QCOMPARE(securityProblem(parseStatshares(""), m_settings), std::nullopt); // the guest's as ever

    // NetFS gets the account in the URL, each part escaped, and the password apart from it.
    account.domain = "EXAMPLE";
    account.user = "yamada@site";
    account.server = "fs01.example.jp:4450";
    QCOMPARE(OVMountedShare::accountUrl(account),
             QStringLiteral("smb://EXAMPLE;yamada%40site@fs01.example.jp:4450/stkget%24"));

    // A server that will not encrypt gets nothing: no mount, no logon.
    SambaServer samba(SambaServer::Kind::AccountWithoutEncryption);
    if (!samba.problem().isEmpty())
        QSKIP(qPrintable(samba.problem()));
    ShareSettings refusing = *ShareSettings::forServer(samba.server());
    refusing.user = SambaServer::kUser;
    refusing.password = "Pw-2026!";
    OVMountedShare share(refusing);
    QVERIFY(!share.mount());
    QVERIFY(share.lastError().contains("が暗号化されたSMB 3の接続に応じないため、送信しませんでした"));
    QVERIFY(m_stubs->log().filter("mount_smbfs").isEmpty());
    QVERIFY(!samba.log().contains(SambaServer::kUser));
}

QTEST_GUILESS_MAIN(TestDeliveryMounted)
#include "test_delivery_mounted.moc"
