#include "TestSupport.h"
#include "inventory/OVHardwareInventory.h"

#include <QTest>

using namespace testsupport;

class TestHardware : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void sixRecordsFromTheFirstItem_data();
    void sixRecordsFromTheFirstItem();
    void createCSVRecordsReadsItsOwnFile();
};

void TestHardware::sixRecordsFromTheFirstItem_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("values"); // CPU, memory amount, unit, serial, model, UUID text

    const auto real = [](const char *capture) {
        return realCapture(QString::fromLatin1(capture), QStringLiteral("SPHardwareDataType"));
    };
    QTest::newRow("MacBookPro8,2 10.7.5") << real("ohai-MacBookPro8_2-10.7.5")
                                          << QStringList{"Intel Core i7 2.2 GHz",
                                                         "8",
                                                         "GB",
                                                         "ABCDEFG12345",
                                                         "MacBookPro8,2",
                                                         "{DAB12AB34-1234-2222-12FE-1CA6A8F2CB91}"};
    QTest::newRow("MacBookPro11,1 10.12") << real("ohai-MacBookPro11_1-10.12")
                                          << QStringList{"Intel Core i7 3 GHz",
                                                         "16",
                                                         "GB",
                                                         "ABCDEFG12345",
                                                         "MacBookPro11,1",
                                                         "{F1A4AE0F-84A8-45D8-83C7-F3F904464FC5}"};
    QTest::newRow("MacBookPro11,3 10.9") << real("facter-MacBookPro11_3-10.9")
                                         << QStringList{"Intel Core i7 2.3 GHz",
                                                        "16",
                                                        "GB",
                                                        "C02MQ15KFD57",
                                                        "MacBookPro11,3",
                                                        "{24A95B44-2444-59CF-9D9B-A42CF82590AE}"};
    QTest::newRow("MacBookPro10,1") << real("grr-MacBookPro10_1-2014")
                                    << QStringList{"Intel Core i7 2.3 GHz",
                                                   "16",
                                                   "GB",
                                                   "C02JQ0F5F6L9",
                                                   "MacBookPro10,1",
                                                   "{9F62B993-49C3-5D76-ABCE-766794EDB2CD}"};
    // Apple silicon names its chip under "chip_type" and reports no speed.
    QTest::newRow("MacBookPro18,3 M1 Pro")
        << real("grr-MacBookPro18_3-M1Pro-14") << QStringList{"Apple M1 Pro",
                                                              "16",
                                                              "GB",
                                                              "XY42EDVYNN",
                                                              "MacBookPro18,3",
                                                              "{48F1516D-23AB-4242-BB81-6F32D193D3F2}"};
    QTest::newRow("MacBookAir10,1 M1") << fixture(QStringLiteral("modern/apple-m1/SPHardwareDataType.xml"))
                                       << QStringList{"Apple M1",
                                                      "16",
                                                      "GB",
                                                      "XXXXXXXXQ6LR",
                                                      "MacBookAir10,1",
                                                      "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}"};
    // Asked under Rosetta, the same Mac names an "Unknown" processor with a speed and no chip: cpu_type is
    // there, so it is what the line says.
    QTest::newRow("MacBookAir10,1 M1 under Rosetta")
        << fixture(QStringLiteral("modern/apple-m1-rosetta/SPHardwareDataType.xml"))
        << QStringList{"Unknown 2,4 GHz",
                       "16",
                       "GB",
                       "XXXXXXXXQ6LR",
                       "MacBookAir10,1",
                       "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}"};
    QTest::newRow("cpu_type wins over chip_type")
        << fixture(QStringLiteral("hardware/SPHardwareDataType.cpu-and-chip.plist"))
        << QStringList{"Rosetta-reported CPU 3.2 GHz", "8", "GB", "", "", ""};
    QTest::newRow("cpu type only, bare memory")
        << fixture(QStringLiteral("hardware/SPHardwareDataType.cpu-type-only.plist"))
        << QStringList{"Intel Core i5", "8192", "", "", "", ""};
    QTest::newRow("speed only, memory of four words")
        << fixture(QStringLiteral("hardware/SPHardwareDataType.speed-only.plist"))
        << QStringList{"2.4 GHz", "16", "GB", "", "", "{0C1B2A39-4857-6ABC-DEF0-123456789ABC}"};
    QTest::newRow("first element empty")
        << fixture(QStringLiteral("hardware/SPHardwareDataType.second-element.plist"))
        << QStringList{"Quad-Core Intel Core i7 2.8 GHz", "", "", "C02XL0GTJGH5", "MacBookPro14,3", ""};
    QTest::newRow("values of other kinds")
        << fixture(QStringLiteral("hardware/SPHardwareDataType.odd-kinds.plist"))
        << QStringList{"3.5", "32", "", "1", "", ""};
    QTest::newRow("missing file") << fixture(QStringLiteral("hardware/no-such-file.plist"))
                                  << QStringList{"", "", "", "", "", ""};
}

void TestHardware::sixRecordsFromTheFirstItem()
{
    QFETCH(QString, file);
    QFETCH(QStringList, values);
    const RecordMaker make{QStringLiteral("AA-BB-CC-DD-EE-FF"), QStringLiteral("2026/12/05")};
    const RecordList records =
        OVHardwareInventory::recordsFromList(PlistDocument::fromFile(file).root(), make);
    QCOMPARE(describe(records), (QStringList{
                                    QStringLiteral("Hard|CPU|NameString|%1|").arg(values[0]),
                                    QStringLiteral("Hard|メモリ|全容量|%1|%2").arg(values[1], values[2]),
                                    QStringLiteral("Soft|OS|ProductID|%1|").arg(values[3]),
                                    QStringLiteral("WMI|System|Vendor|Apple Inc.|"),
                                    QStringLiteral("WMI|System|Model|%1|").arg(values[4]),
                                    QStringLiteral("WMI|MotherBoard|Device_ID|%1|").arg(values[5]),
                                }));
    QVERIFY(stampedWith(records, make.key, make.date));
}

void TestHardware::createCSVRecordsReadsItsOwnFile()
{
    TempAppDir app;
    QDir().mkpath(app.savePath());
    OVHardwareInventory hardware(QStringLiteral("AA"), QStringLiteral("2026/12/05"));
    QFile::copy(realCapture(QStringLiteral("grr-MacBookPro10_1-2014"), QStringLiteral("SPHardwareDataType")),
                hardware.tempPlistFilePathArray().at(0));
    hardware.createCSVRecords();
    QCOMPARE(hardware.csvRecords().size(), std::size_t(6));
    QCOMPARE(hardware.csvRecords().at(4)->contents(), std::optional(QStringLiteral("MacBookPro10,1")));
}

QTEST_GUILESS_MAIN(TestHardware)
#include "test_hardware.moc"
