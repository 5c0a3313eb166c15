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
    void diskRecordsOfTodaysMacs_data();
    void diskRecordsOfTodaysMacs();
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
    QTest::newRow("macOS 26 stays a Mac")
        << fixture("machines/macbookpro-m3pro-macos26/SPSoftwareDataType.xml")
        << "Mac OS [macOS 26.1 (25B78) 32ビット]"
        << "Macintosh HD";
    // What the report says, not the machine that reads it: a Linux kernel is no Mac.
    QTest::newRow("Linux kernel in the report")
        << fixture("os/SPSoftwareDataType.linux.plist")
        << "Linux [Debian GNU/Linux 12 (bookworm) (Linux 6.1.0-28-amd64) 32ビット]"
        << "nvme0n1p2";
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

void TestOsDisk::diskRecordsOfTodaysMacs_data()
{
    QTest::addColumn<QStringList>("files"); // Serial ATA, NVMe and storage overviews; "" for none
    QTest::addColumn<QString>("startVolume");
    QTest::addColumn<QStringList>("sizes"); // disk, free space, volume size
    const auto machine = [](const QString &name) {
        return QStringList{fixture("machines/" + name + "/SPSerialATADataType.xml"),
                           fixture("machines/" + name + "/SPNVMeDataType.xml"),
                           fixture("machines/" + name + "/SPStorageDataType.xml")};
    };
    const QString apfsSata = fixture("disk/SPSerialATADataType.apfs-10.14.plist");
    const QString apfsStorage = fixture("disk/SPStorageDataType.apfs-10.14.plist");
    const QString twoDisks = fixture("disk/SPSerialATADataType.two-disks.plist");
    QTest::newRow("M3 Pro, macOS 26: container named like the start volume, without free space")
        << machine("macbookpro-m3pro-macos26") << "Macintosh HD"
        << QStringList{"1000555", "612345", "994662"};
    QTest::newRow("T2 iMac, macOS 13: the start volume is not in the disk list")
        << machine("imac-t2-macos13") << "Macintosh HD" << QStringList{"500277", "321987", "499963"};
    // The walk ends on the hard disk; the physical drive names the SSD that holds the start volume.
    QTest::newRow("APFS on a SATA SSD, 10.14") << QStringList{apfsSata, "", apfsStorage} << "Macintosh HD"
                                               << QStringList{"251000", "120500", "250790"};
    QTest::newRow("no storage overview: as the walk left it")
        << QStringList{apfsSata, "", ""} << "Macintosh HD" << QStringList{"1000204", "", ""};
    QTest::newRow("no start volume named: the volume mounted at /")
        << QStringList{apfsSata, "", apfsStorage} << "" << QStringList{"251000", "120500", "250790"};
    QTest::newRow("found with its free space: the storage overview is not asked")
        << QStringList{twoDisks, "", apfsStorage} << "Macintosh HD"
        << QStringList{"251000", "120500", "250140"};
    QTest::newRow("nothing at /: by name, size texts, a drive no disk list names")
        << QStringList{apfsSata, "", fixture("disk/SPStorageDataType.named.plist")} << "Macintosh HD"
        << QStringList{"1000204", "100500", "250790"};
    // The NVMe disks follow the Serial ATA ones in one walk; a volume found without free space and no
    // storage overview leaves what the walk found.
    QTest::newRow("NVMe after Serial ATA") << QStringList{twoDisks, machine("imac-t2-macos13")[1], ""}
                                           << "disk0s2" << QStringList{"500277", "", "499963"};
    // Both lists name a volume like the start volume: the Serial ATA one comes first and ends the walk.
    const QString nvmeMacintoshHd = fixture("disk/SPNVMeDataType.macintosh-hd.plist");
    QTest::newRow("Serial ATA before NVMe") << QStringList{twoDisks, nvmeMacintoshHd, ""} << "Macintosh HD"
                                            << QStringList{"251000", "120500", "250140"};
    QTest::newRow("the NVMe disk alone") << QStringList{"", nvmeMacintoshHd, ""} << "Macintosh HD"
                                         << QStringList{"500277", "321987", "499963"};
}

void TestOsDisk::diskRecordsOfTodaysMacs()
{
    QFETCH(QStringList, files);
    QFETCH(QString, startVolume);
    QFETCH(QStringList, sizes);
    std::vector<PlistDocument> documents;
    for (const QString &file : files)
        documents.push_back(file.isEmpty() ? PlistDocument() : PlistDocument::fromFile(file));
    const OVHDDInventory::Overviews overviews{documents[0].root(), documents[1].root(), documents[2].root()};
    const RecordList records = OVHDDInventory::recordsFromList(overviews, kMake, startVolume);
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
    // Read as a decimal number and nothing else, whatever the platform's library would also take.
    QTest::newRow("beyond a float") << "1e39 GB"
                                    << "0";
    QTest::newRow("hexadecimal stops at x") << "0x10 GB"
                                            << "0";
    QTest::newRow("exponent without digits") << "1.5e GB"
                                             << "1500";
    QTest::newRow("infinity is no number") << "inf GB"
                                           << "0";
    QTest::newRow("point first") << ".5 GB"
                                 << "500";
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
    collectors.runAll([&](int, datatypes::Collector next) {
        if (next == datatypes::Collector::Display) // the disk collector has run
            handedOver = collectors.hdd->systemHDDName();
    });
    QCOMPARE(handedOver, QStringLiteral("Macintosh HD"));
    QCOMPARE(describe(collectors.hdd->csvRecords()).at(1), QStringLiteral("Hard|SystemHDD|空容量|120500|MB"));
    QCOMPARE(describe(collectors.os->csvRecords()).at(0),
             QStringLiteral("Soft|OS|Version|Mac OS [macOS 10.13.6 (17G65) 64ビット]|"));
}

QTEST_GUILESS_MAIN(TestOsDisk)
#include "test_os_disk.moc"
