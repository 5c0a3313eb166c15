#include "TestSupport.h"
#include "inventory/DataTypes.h"
#include "inventory/OVCollectors.h"
#include "profiler/Profiler.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

using namespace testsupport;

namespace {

const RecordMaker kMake{"AA", "2026/12/06"};

PlistDocument profiled(const QString &dataType)
{
    return PlistDocument::fromBytes(profile({dataType}, SystemRoot(fixture("linux-root"))));
}

PlistValue firstItem(const QString &dataType)
{
    return profiled(dataType).rootElements().at(0).items().at(0);
}

QString text(const PlistValue &value, const char *key)
{
    return value.value(key).text().value_or("<absent>");
}

} // namespace

// The profiler reads a hand-made system; its lists go through the unchanged collectors.
class TestProfiler : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void hardware();
    void operatingSystemAndDisks();
    void storageAndTheTypesLinuxLacks();
    void applications();
    void network();
    void peripherals();
    void shapeOfTheOutput();
    void emptyRootGivesFewerKeysNotErrors();
    void installedMemoryInWholeGigabytes();

private:
    ScopedEnv m_env;
};

void TestProfiler::initTestCase()
{
#ifndef Q_OS_LINUX
    QSKIP("ovalith-profiler reads a Linux system's own files; macOS has system_profiler");
#endif
    m_env.set("HOME", "/home/yamada");
    m_env.set("LANG", "ja_JP.UTF-8");
    m_env.unset("LC_ALL");
    m_env.unset("LC_MESSAGES");
}

void TestProfiler::hardware()
{
    const PlistValue item = firstItem("SPHardwareDataType");
    QCOMPARE(text(item, "cpu_type"), QStringLiteral("11th Gen Intel(R) Core(TM) i7-1165G7 @ 2.80GHz"));
    QCOMPARE(text(item, "current_processor_speed"), QStringLiteral("2.8 GHz")); // cpufreq's base frequency
    QCOMPARE(text(item, "physical_memory"), QStringLiteral("16 GB"));           // two 8 GB modules
    QCOMPARE(text(item, "serial_number"), QStringLiteral("PF2ABCDE"));
    QCOMPARE(text(item, "machine_model"), QStringLiteral("ThinkPad X1 Carbon Gen 9"));
    QCOMPARE(text(item, "platform_UUID"), QStringLiteral("4C4C4544-0042-3510-8051-B7C04F4E3733"));
    QCOMPARE(item.value("number_processors").integer(), std::optional<qint64>(8));
    QCOMPARE(describe(OVHardwareInventory::recordsFromList(profiled("SPHardwareDataType").root(), kMake))
                 .mid(0, 2),
             (QStringList{"Hard|CPU|NameString|11th Gen Intel(R) Core(TM) i7-1165G7 @ 2.80GHz 2.8 GHz|",
                          "Hard|メモリ|全容量|16|GB"}));
}

void TestProfiler::operatingSystemAndDisks()
{
    const PlistValue os = firstItem("SPSoftwareDataType");
    QCOMPARE(text(os, "os_version"), QStringLiteral("Debian GNU/Linux 12 (bookworm) (Linux 6.1.0-18-amd64)"));
    QCOMPARE(text(os, "boot_volume"), QStringLiteral("Debian")); // the root partition's label
    QCOMPARE(text(os, "uptime"), QStringLiteral("up 1:2:3:4"));
    // The disk collector finds the start volume the OS collector names.
    QString startVolume;
    OVOSInventory::recordsFromList(
        profiled("SPSoftwareDataType").root(), kMake, [] { return QStringLiteral("64"); }, startVolume);
    const RecordList disks =
        OVHDDInventory::recordsFromList(profiled("SPSerialATADataType").root(), kMake, startVolume);
    // 1000215216 and 999164928 sectors of 512 bytes; no free space from a folder root.
    QCOMPARE(describe(disks), (QStringList{"Hard|Hard Disk|合計量|512110|MB", "Hard|SystemHDD|空容量||MB",
                                           "Hard|SystemHDD|全容量|511572|MB"}));
    const auto controller = firstItem("SPSerialATADataType");
    QStringList names;
    for (const PlistValue &disk : controller.items())
        names << text(disk, "_name");
    QCOMPARE(names, (QStringList{"SAMSUNG MZVLB512HBJQ-000L7", "USB Flash Disk"})); // no loop device
    const auto stick = controller.items().at(1).value("volumes").elements().at(0);
    QCOMPARE(text(stick, "_name"), QStringLiteral("USB STICK"));
    QCOMPARE(text(stick, "mount_point"), QStringLiteral("/media/yamada/USB STICK"));
}

void TestProfiler::storageAndTheTypesLinuxLacks()
{
    QStringList volumes;
    for (const PlistValue &volume : profiled("SPStorageDataType").rootElements().at(0).items()) {
        volumes << text(volume, "_name") + "|" + text(volume, "mount_point") + "|" +
                       text(volume.value("physical_drive"), "device_name") + "|" +
                       text(volume.value("physical_drive"), "is_internal_disk") + "|" +
                       text(volume, "writable");
    }
    QCOMPARE(volumes, (QStringList{"Debian|/|SAMSUNG MZVLB512HBJQ-000L7|yes|yes",
                                   "nvme0n1p1|/boot/efi|SAMSUNG MZVLB512HBJQ-000L7|yes|yes",
                                   "USB STICK|/media/yamada/USB STICK|USB Flash Disk|no|yes"}));
    // A chroot's "/" is no mount point: it is reported all the same.
    QTemporaryDir chroot;
    QDir().mkpath(chroot.filePath("proc/self"));
    writeFile(chroot.filePath("proc/self/mountinfo"), "30 1 0:25 / /proc rw - proc proc rw\n");
    const auto inChroot = PlistDocument::fromBytes(profile({"SPStorageDataType"}, SystemRoot(chroot.path())));
    const auto chrootItems = inChroot.rootElements().at(0).items();
    QCOMPARE(chrootItems.size(), std::size_t(1));
    QCOMPARE(text(chrootItems.at(0), "mount_point") + " " + text(chrootItems.at(0), "_name"),
             QStringLiteral("/ /"));
    // Reports with nothing to say: a property list whose list of items is empty.
    for (const char *dataType : {"SPNVMeDataType", "SPUSBHostDataType"}) {
        const auto elements = profiled(dataType).rootElements();
        QCOMPARE(elements.size(), std::size_t(1));
        QCOMPARE(text(elements.at(0), "_dataType"), QString::fromLatin1(dataType));
        QVERIFY(elements.at(0).value("_items").isArray() && elements.at(0).items().empty());
    }
    // The OS line says what the report says: Linux.
    QString startVolume;
    const RecordList os = OVOSInventory::recordsFromList(
        profiled("SPSoftwareDataType").root(), kMake, [] { return QStringLiteral("64"); }, startVolume);
    QCOMPARE(describe(os).at(0),
             QStringLiteral(
                 "Soft|OS|Version|Linux [Debian GNU/Linux 12 (bookworm) (Linux 6.1.0-18-amd64) 64ビット]|"));
}

void TestProfiler::applications()
{
    const RecordList records =
        OVSoftwareInventory::recordsFromList(profiled("SPApplicationsDataType").root(), kMake);
    // The user's own entry overrides the system's; hidden entries and other files are left out; the
    // Japanese name is taken in a Japanese session; versions come from the Debian packages.
    QCOMPARE(describe(records),
             (QStringList{"Soft|Application|Firefox (private copy)|<absent>|/opt/firefox",
                          "Soft|Application|テキストエディター|43.2-1|/usr/bin",
                          "Soft|Application|LibreOffice Calc|<absent>|/var/lib/flatpak/app"}));
}

void TestProfiler::network()
{
    const PlistDocument services = profiled("SPNetworkDataType");
    const PlistDocument locations = profiled("SPNetworkLocationDataType");
    const RecordList records = OVNetworkInventory::recordsFromLists(services.root(), locations.root(), kMake,
                                                                    QStringLiteral("pc"), "yamada");
    const QStringList lines = describe(records);
    // The loopback and an unused virtual bridge are no adapters; enp0s31f6 sorts before wlp0s20f3.
    QCOMPARE(lines.filter("|Adapter|").size(), 9);
    QCOMPARE(lines.filter("|Adapter2|").size(), 9);
    QCOMPARE(lines.filter("|Adapter3|").size(), 0);
    for (const char *line :
         {"LAN|Adapter|MACアドレス|54-05-DB-AA-BB-01|",
          "LAN|Adapter|IPアドレス|192.168.1.23 2001:db8:0:1::23|",
          "LAN|Adapter|ゲートウェイ|192.168.1.1 fe80::1|", "LAN|Adapter|サブネットマスク|255.255.255.0|",
          "LAN|Adapter|DHCPServer|192.168.1.1|", "LAN|Adapter|PrimaryDNS|192.168.1.1|",
          "LAN|Adapter|SecondaryDNS|8.8.8.8|", "LAN|Adapter|PrimaryWINS|192.168.1.5|",
          "LAN|Adapter|SecondaryWINS|192.168.1.6|", "LAN|Adapter2|IPアドレス|10.10.4.77|",
          "LAN|Adapter2|サブネットマスク|255.255.0.0|", "LAN|Adapter2|ゲートウェイ|10.10.0.1|",
          "LAN|LAN|ワークグループ|SOUMU|"})
        QVERIFY2(lines.contains(QString::fromUtf8(line)), line);
    QCOMPARE(text(services.rootElements().at(0).items().at(0).value("dhcp"), "dhcp_server_identifier"),
             QStringLiteral("192.168.1.2"));
}

void TestProfiler::peripherals()
{
    using Rule = OVBuildProfile::DisplayRule;
    QCOMPARE(describe(OVDisplayInventory::recordsFromList(profiled("SPDisplaysDataType").root(), kMake,
                                                          Rule::LastDisplayOfFirstAdapter)),
             QStringList{"Hard|画面|解像度|2560 x 1440|"});
    QCOMPARE(describe(OVDisplayInventory::recordsFromList(profiled("SPDisplaysDataType").root(), kMake,
                                                          Rule::FirstDisplayOfFirstAdapter)),
             QStringList{"Hard|画面|解像度|1920 x 1200|"});
    QCOMPARE(text(firstItem("SPDisplaysDataType"), "_name"), QStringLiteral("card0 (i915)"));
    QCOMPARE(describe(OVBluetoothInventory::recordsFromList(profiled("SPBluetoothDataType").root(), kMake)),
             QStringList{"Hard|Keyboard|キーボード|HID|"});
    QCOMPARE(describe(OVUSBInventory::recordsFromList(profiled("SPUSBDataType").root(), PlistValue(), kMake)),
             (QStringList{"Hard|Keyboard|キーボード|REALFORCE 87 (Keyboard)|",
                          "Hard|Keyboard|キーボード|Apple Keyboard|"}));
    QCOMPARE(describe(OVPrinterInventory::recordsFromList(profiled("SPPrintersDataType").root(), kMake)),
             QStringList{"Hard|Printer|デフォルトプリンタ|EPSON PX-M5081F Series, driverless, cups-filters "
                         "1.28.17|ipp://EPSON.local:631/ipp/print"});
}

void TestProfiler::shapeOfTheOutput()
{
    QProcess profiler;
    profiler.start(OVALITH_PROFILER_PROGRAM, {"-xml", "-detailLevel", "mini", "--root", fixture("linux-root"),
                                              "SPHardwareDataType", "SPNoSuchDataType"});
    QVERIFY(profiler.waitForFinished(10000));
    QCOMPARE(profiler.exitCode(), 0);
    const QByteArray xml = profiler.readAllStandardOutput();
    QVERIFY(xml.startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE plist"));
    const auto types = PlistDocument::fromBytes(xml).rootElements();
    QCOMPARE(types.size(), std::size_t(2));
    QCOMPARE(text(types[0], "_dataType"), QStringLiteral("SPHardwareDataType"));
    QCOMPARE(text(types[1], "_dataType"), QStringLiteral("SPNoSuchDataType"));
    QVERIFY(types[1].value("_items").isArray() && types[1].items().empty());
    // Keys in alphabetical order, as macOS writes them.
    const QString dict = QString::fromUtf8(xml.mid(xml.indexOf("<key>_name</key>")));
    QVERIFY(dict.indexOf("<key>cpu_type</key>") < dict.indexOf("<key>machine_model</key>"));

    // --help is a text for a person, not an empty property list.
    profiler.start(OVALITH_PROFILER_PROGRAM, {"--help"});
    QVERIFY(profiler.waitForFinished(10000));
    QCOMPARE(profiler.exitCode(), 0);
    QVERIFY(profiler.readAllStandardOutput().startsWith("使い方: ovalith-profiler"));
}

void TestProfiler::emptyRootGivesFewerKeysNotErrors()
{
    // What each data type says of a system that has none of the files: fewer items, never an error.
    const std::map<QString, QStringList> expected{{"SPApplicationsDataType", {}},
                                                  {"SPHardwareDataType", {"hardware_overview"}},
                                                  {"SPNetworkDataType", {}},
                                                  {"SPNetworkLocationDataType", {"Automatic"}},
                                                  {"SPSerialATADataType", {"Linux block devices"}},
                                                  {"SPNVMeDataType", {}},
                                                  {"SPStorageDataType", {"/"}},
                                                  {"SPSoftwareDataType", {"os_overview"}},
                                                  {"SPDisplaysDataType", {}},
                                                  {"SPBluetoothDataType", {"bluetooth"}},
                                                  {"SPPrintersDataType", {}},
                                                  {"SPUSBDataType", {}},
                                                  {"SPUSBHostDataType", {}}};
    QTemporaryDir empty;
    const SystemRoot root(empty.path());
    for (const datatypes::DataType &type : datatypes::all()) {
        const auto document = PlistDocument::fromBytes(profile({type.name}, root));
        const auto elements = document.rootElements();
        QVERIFY2(elements.size() == 1, type.name);
        QStringList names;
        for (const PlistValue &item : elements.front().items())
            names << text(item, "_name");
        QVERIFY2(expected.count(type.name) == 1, type.name);
        QCOMPARE(names, expected.at(type.name));
    }
    QCOMPARE(describe(OVHardwareInventory::recordsFromList(
                          PlistDocument::fromBytes(profile({"SPHardwareDataType"}, root)).root(), kMake))
                 .at(0),
             QStringLiteral("Hard|CPU|NameString||"));
}

void TestProfiler::installedMemoryInWholeGigabytes()
{
    // The firmware's memory devices, summed and rounded to the nearest gigabyte; else the kernel's total,
    // rounded up, as the kernel keeps a little for itself.
    const auto memoryOf = [](const QList<int> &deviceMegabytes, const QByteArray &meminfo) {
        QTemporaryDir system;
        for (int i = 0; i < deviceMegabytes.size(); ++i) {
            QByteArray raw(0x20, '\0');
            raw[0] = 17;
            raw[0x0C] = char(deviceMegabytes[i] & 0xFF);
            raw[0x0D] = char(deviceMegabytes[i] >> 8);
            QDir().mkpath(system.filePath(QStringLiteral("sys/firmware/dmi/entries/17-%1").arg(i)));
            writeFile(system.filePath(QStringLiteral("sys/firmware/dmi/entries/17-%1/raw").arg(i)), raw);
        }
        QDir().mkpath(system.filePath("proc"));
        writeFile(system.filePath("proc/meminfo"), meminfo);
        const auto document =
            PlistDocument::fromBytes(profile({"SPHardwareDataType"}, SystemRoot(system.path())));
        return text(document.rootElements().front().items().front(), "physical_memory");
    };
    const QByteArray meminfo = "MemTotal:       15998812 kB\n";
    QCOMPARE(memoryOf({1500}, meminfo), QStringLiteral("1 GB"));
    QCOMPARE(memoryOf({1600}, meminfo), QStringLiteral("2 GB"));
    QCOMPARE(memoryOf({8192, 8192, 512}, meminfo), QStringLiteral("17 GB"));
    QCOMPARE(memoryOf({8192, 0}, meminfo), QStringLiteral("8 GB")); // an empty slot
    QCOMPARE(memoryOf({}, meminfo), QStringLiteral("16 GB"));       // 15.26 GiB
    QCOMPARE(memoryOf({}, "MemTotal:       16777216 kB\n"), QStringLiteral("16 GB"));
}

QTEST_GUILESS_MAIN(TestProfiler)
#include "test_profiler.moc"
