#include "TestSupport.h"
#include "inventory/OVCollectors.h"
#include "util/OVUtil.h"

#include <QFile>
#include <QTest>

using namespace testsupport;

class TestInventoryBase : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everyCollectorHasItsFilesAndCommands();
    void profilerCommandCanBeReplaced();
    void baseAloneMakesNothing();
    void executeWritesHiddenFilesInTheSaveFolder();
    void badFilesGiveTheNothingReadRecords_data();
    void badFilesGiveTheNothingReadRecords();
};

void TestInventoryBase::everyCollectorHasItsFilesAndCommands()
{
    StubEnvironment stubs;
    TempAppDir app(QStringLiteral("Asset Tools"));
    auto collectors =
        OVCollectors::make(QStringLiteral("AA-BB"), [] { return QStringLiteral("2026/12/05"); });
    const QStringList expectedTypes{
        QStringLiteral("SPApplicationsDataType"), QStringLiteral("SPHardwareDataType"),
        QStringLiteral("SPNetworkDataType"),      QStringLiteral("SPNetworkLocationDataType"),
        QStringLiteral("SPSerialATADataType"),    QStringLiteral("SPNVMeDataType"),
        QStringLiteral("SPStorageDataType"),      QStringLiteral("SPSoftwareDataType"),
        QStringLiteral("SPDisplaysDataType"),     QStringLiteral("SPBluetoothDataType"),
        QStringLiteral("SPPrintersDataType"),     QStringLiteral("SPUSBDataType"),
        QStringLiteral("SPUSBHostDataType")};
    QStringList types;
    for (const OVInventoryBase *collector : collectors.inCreationOrder()) {
        QCOMPARE(collector->macAddress(), QStringLiteral("AA-BB"));
        QCOMPARE(collector->nowDate(), QStringLiteral("2026/12/05"));
        QVERIFY(collector->csvRecords().empty() && collector->systemHDDName().isEmpty());
        QCOMPARE(collector->execCommandArray().size(),
                 std::size_t(collector->tempPlistFilePathArray().size()));
        for (qsizetype i = 0; i < collector->tempPlistFilePathArray().size(); ++i) {
            const QString path = collector->tempPlistFilePathArray().at(i);
            const QString type = path.section(QLatin1Char('.'), -2, -2);
            types << type;
            QCOMPARE(path, app.savePath() + QLatin1Char('.') + type + QStringLiteral(".plist"));
            QCOMPARE(collector->execCommandArray().at(std::size_t(i))->command(),
                     QStringLiteral("system_profiler -xml %1 > '%2'").arg(type, path));
        }
    }
    QCOMPARE(types, expectedTypes);
    QCOMPARE(collectors.network->tempPlistFilePathArray().size(), 2);
}

void TestInventoryBase::profilerCommandCanBeReplaced()
{
    TempAppDir app;
    ScopedEnv env;
    env.set("OVALITH_SYSTEM_PROFILER", "/opt/site/profiler --quiet");
    const OVHardwareInventory hardware(QStringLiteral("AA"), QStringLiteral("2026/12/05"));
    QCOMPARE(
        hardware.execCommandArray().at(0)->command(),
        QStringLiteral("/opt/site/profiler --quiet -xml SPHardwareDataType > '%1.SPHardwareDataType.plist'")
            .arg(app.savePath()));
}

void TestInventoryBase::baseAloneMakesNothing()
{
    OVInventoryBase base(QStringLiteral("AA"), QStringLiteral("2026/12/05"));
    QVERIFY(base.tempPlistFilePathArray().isEmpty() && base.execCommandArray().empty());
    base.execute();
    base.createCSVRecords();
    QVERIFY(base.csvRecords().empty());
}

void TestInventoryBase::executeWritesHiddenFilesInTheSaveFolder()
{
    StubEnvironment stubs;
    TempAppDir app;
    OVUtil::createSaveFilePath();
    stubs.servePlists(fixture(QStringLiteral("real/ohai-MacBookPro8_2-10.7.5")));
    OVNetworkInventory network(QStringLiteral("AA"), QStringLiteral("2026/12/05"));
    writeFile(app.savePath() + QStringLiteral(".SPNetworkDataType.plist"), "stale content of an earlier run");
    network.execute();
    QCOMPARE(stubs.log(), (QStringList{QStringLiteral("system_profiler -xml SPNetworkDataType"),
                                       QStringLiteral("system_profiler -xml SPNetworkLocationDataType")}));
    QCOMPARE(readFile(app.savePath() + QStringLiteral(".SPNetworkDataType.plist")),
             readFile(realCapture(QStringLiteral("ohai-MacBookPro8_2-10.7.5"),
                                  QStringLiteral("SPNetworkDataType"))));
    for (const auto &command : network.execCommandArray()) {
        QCOMPARE(command->commandResult(), 0);
        QCOMPARE(command->standardOutput(), std::optional(QString()));
    }

    // Without a profiler the shell still creates the empty file, which reads as nothing.
    ScopedEnv env;
    env.set("OVALITH_SYSTEM_PROFILER", "no-such-profiler");
    OVHardwareInventory hardware(QStringLiteral("AA"), QStringLiteral("2026/12/05"));
    hardware.execute();
    QCOMPARE(hardware.execCommandArray().at(0)->commandResult(), 127);
    hardware.createCSVRecords();
    QCOMPARE(hardware.csvRecords().size(), std::size_t(6));
}

void TestInventoryBase::badFilesGiveTheNothingReadRecords_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("applications");
    const QByteArray real = readFile(realCapture("ohai-MacBookPro8_2-10.7.5", "SPNetworkLocationDataType"));
    const QByteArray head = "<plist version=\"1.0\"><array>";
    QTest::newRow("empty") << QByteArray() << 0;
    QTest::newRow("truncated") << real.left(real.size() / 3) << 0;
    QTest::newRow("not a plist") << QByteArray("system_profiler: unknown data type\n") << 0;
    QTest::newRow("_items is text") << head +
                                           "<dict><key>_items</key><string>x</string></dict></array></plist>"
                                    << 0;
    QTest::newRow("items are not dictionaries")
        << head + "<dict><key>_items</key><array><string>a</string><integer>1</integer><array/></array></"
                  "dict></array></plist>"
        << 0;
    // Every key a collector reads holds a list, a dictionary or data instead of text.
    QByteArray odd;
    for (const char *key : {"cpu_type",
                            "physical_memory",
                            "os_version",
                            "boot_volume",
                            "size_in_bytes",
                            "size",
                            "volumes",
                            "_name",
                            "version",
                            "path",
                            "interface",
                            "IPv4",
                            "IPv6",
                            "Ethernet",
                            "dhcp",
                            "bsd_device_name",
                            "spnetworklocation_services",
                            "DNS",
                            "SMB",
                            "spdisplays_ndrvs",
                            "spdisplays_resolution",
                            "device_title",
                            "device_type",
                            "_items",
                            "default",
                            "ppd",
                            "uri"})
        odd += QByteArray("<key>") + key + "</key><dict><key>x</key><data>AAEC</data></dict>";
    QTest::newRow("values of other kinds")
        << head + "<dict><key>_items</key><array><dict>" + odd + "</dict></array></dict></array></plist>"
        << 1;
}

void TestInventoryBase::badFilesGiveTheNothingReadRecords()
{
    QFETCH(QByteArray, content);
    QFETCH(int, applications);
    TempAppDir app;
    OVUtil::createSaveFilePath();
    auto collectors = OVCollectors::make("AA", [] { return QStringLiteral("2026/12/05"); });
    QList<int> counts;
    for (const OVInventoryBase *collector : collectors.inCreationOrder()) {
        for (const QString &path : collector->tempPlistFilePathArray())
            writeFile(path, content);
        const_cast<OVInventoryBase *>(collector)->createCSVRecords();
        counts << int(collector->csvRecords().size());
    }
    // software, hardware, network, disk, OS, display, Bluetooth, printer, USB
    QCOMPARE(counts, (QList<int>{applications, 6, 3, 3, 3, 1, 0, 1, 0}));
}

QTEST_GUILESS_MAIN(TestInventoryBase)
#include "test_inventory_base.moc"
