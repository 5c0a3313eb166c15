#include "TestSupport.h"
#include "inventory/OVCollectors.h"
#include "util/OVUtil.h"

#include <QDir>
#include <QTest>

using namespace testsupport;

namespace {

const RecordMaker kMake{"AA-BB", "2026/12/05"};

PlistValue rootOf(const PlistDocument &document)
{
    return document.root();
}

} // namespace

class TestOsDisk : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void osRecords_data();
    void osRecords();
    void diskRecords_data();
    void diskRecords();
    void sizeTextConversion_data();
    void sizeTextConversion();
    void startVolumeIsHandedToTheDiskCollector();
};

void TestOsDisk::osRecords_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("version");
    QTest::addColumn<QString>("volume");
    QTest::newRow("10.13 with start volume")
        << fixture("os/SPSoftwareDataType.high-sierra.plist") << "Mac OS [macOS 10.13.6 (17G65) 32ビット]"
        << "Macintosh HD";
    QTest::newRow("10.10 full detail")
        << realCapture("imos-intel-10.10", "SPSoftwareDataType") << "Mac OS [OS X 10.10 (14A389) 32ビット]"
        << "Pikachu";
    QTest::newRow("10.7 mini, no start volume")
        << realCapture("ohai-MacBookPro8_2-10.7.5", "SPSoftwareDataType")
        << "Mac OS [Mac OS X 10.7.5 (11G63) 32ビット]"
        << "";
    QTest::newRow("no version: word size not asked")
        << fixture("os/SPSoftwareDataType.no-version.plist") << ""
        << "Data";
    QTest::newRow("no file") << fixture("os/missing.plist") << ""
                             << "";
}

void TestOsDisk::osRecords()
{
    QFETCH(QString, file);
    QFETCH(QString, version);
    QFETCH(QString, volume);
    int asked = 0;
    QString systemHDDName;
    const RecordList records = OVOSInventory::recordsFromList(
        rootOf(PlistDocument::fromFile(file)), kMake, [&] { return ++asked, QStringLiteral("32"); },
        systemHDDName);
    QCOMPARE(describe(records),
             (QStringList{"Soft|OS|Version|" + version + "|", "Hard|SystemHDD|Drive|" + volume + "|",
                          "Soft|OS|SystemPath|/System|"}));
    QCOMPARE(asked, version.isEmpty() ? 0 : 1);
    QCOMPARE(systemHDDName, volume);
    QVERIFY(stampedWith(records, kMake.key, kMake.date));
}

void TestOsDisk::diskRecords_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("startVolume");
    QTest::addColumn<QStringList>("sizes"); // disk, free space, volume size
    const QString twoDisks = fixture("disk/SPSerialATADataType.two-disks.plist");
    const QString texts = fixture("disk/SPSerialATADataType.size-texts.plist");
    QTest::newRow("bytes win, walk stops at the first disk")
        << twoDisks << "Macintosh HD" << QStringList{"251000", "120500", "250140"};
    QTest::newRow("start volume on the second disk")
        << twoDisks << "Data" << QStringList{"1000204", "900000", "1000000"};
    QTest::newRow("names compare exactly") << twoDisks << "data" << QStringList{"1000204", "", ""};
    QTest::newRow("size texts") << texts << "Macintosh HD" << QStringList{"500110", "12500", "499250"};
    // The DVD drive has no size and keeps the first disk's; the last disk's "1 TB" reads as 1000.
    QTest::newRow("not found: last disk with a size") << texts << "Other" << QStringList{"1000", "", ""};
    QTest::newRow("volumes_anonymous are not volumes")
        << realCapture("ohai-MacBookPro8_2-10.7.5", "SPSerialATADataType") << "disk0s2"
        << QStringList{"750156", "", ""};
    QTest::newRow("empty start volume, no file")
        << fixture("disk/missing.plist") << "" << QStringList{"", "", ""};
}

void TestOsDisk::diskRecords()
{
    QFETCH(QString, file);
    QFETCH(QString, startVolume);
    QFETCH(QStringList, sizes);
    const RecordList records =
        OVHDDInventory::recordsFromList(rootOf(PlistDocument::fromFile(file)), kMake, startVolume);
    QCOMPARE(describe(records), (QStringList{"Hard|Hard Disk|合計量|" + sizes[0] + "|MB",
                                             "Hard|SystemHDD|空容量|" + sizes[1] + "|MB",
                                             "Hard|SystemHDD|全容量|" + sizes[2] + "|MB"}));
}

void TestOsDisk::sizeTextConversion_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("megabytes");
    QTest::newRow("500.11 GB") << "500.11 GB"
                               << "500110";
    QTest::newRow("512.1 GB, single precision") << "512.1 GB"
                                                << "512099";
    QTest::newRow("120 GB") << "120 GB"
                            << "120000";
    QTest::newRow("1 TB read as gigabytes") << "1 TB"
                                            << "1000";
    QTest::newRow("209.7 MB too") << "209.7 MB"
                                  << "209700";
    QTest::newRow("no space before GB") << " 7.5GB"
                                        << "7500";
    QTest::newRow("decimal comma stops the number") << "1,5 GB"
                                                    << "1000";
    QTest::newRow("sign") << "-1.5 GB"
                          << "-1500";
    QTest::newRow("no number") << "unknown"
                               << "0";
    QTest::newRow("empty") << ""
                           << "0";
    QTest::newRow("too large") << "3e6 GB"
                               << "2147483520";
}

void TestOsDisk::sizeTextConversion()
{
    QFETCH(QString, text);
    QFETCH(QString, megabytes);
    QCOMPARE(OVHDDInventory::sizeTextConversion(text), megabytes);
}

void TestOsDisk::startVolumeIsHandedToTheDiskCollector()
{
    StubEnvironment stubs;
    QTemporaryDir plists;
    QFile::copy(fixture("os/SPSoftwareDataType.high-sierra.plist"),
                plists.filePath("SPSoftwareDataType.xml"));
    QFile::copy(fixture("disk/SPSerialATADataType.two-disks.plist"),
                plists.filePath("SPSerialATADataType.xml"));
    stubs.servePlists(plists.path());
    TempAppDir app;
    OVUtil::createSaveFilePath();
    auto collectors = OVCollectors::make("AA", [] { return QStringLiteral("2026/12/05"); });
    QString handedOver = "not asked";
    collectors.runAll([&](int number, const QString &) {
        if (number == 6) // the disk collector has run
            handedOver = collectors.hdd->systemHDDName();
    });
    QCOMPARE(handedOver, QStringLiteral("Macintosh HD"));
    QCOMPARE(describe(collectors.hdd->csvRecords()).at(1), QStringLiteral("Hard|SystemHDD|空容量|120500|MB"));
    QCOMPARE(describe(collectors.os->csvRecords()).at(0),
             QStringLiteral("Soft|OS|Version|Mac OS [macOS 10.13.6 (17G65) 64ビット]|"));
}

QTEST_GUILESS_MAIN(TestOsDisk)
#include "test_os_disk.moc"
