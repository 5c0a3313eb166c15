#include "TestSupport.h"
#include "inventory/OVNetworkInventory.h"

#include <QTest>

using namespace testsupport;

namespace {

const RecordMaker kMake{"AA-BB", "2026/12/05"};

QByteArray servicesList(const QByteArray &services)
{
    return "<plist version=\"1.0\"><array><dict><key>_items</key><array>" + services +
           "</array></dict></array></plist>";
}

QStringList distinctItems(const RecordList &records)
{
    QStringList items;
    for (const RecordPtr &record : records) {
        if (items.isEmpty() || items.last() != *record->item())
            items << *record->item();
    }
    return items;
}

} // namespace

class TestNetwork : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void bothPassesUnderNumberedAdapters();
    void tenOrMoreAdaptersSortByCharacter();
    void nothingReadGivesTheMachineRecords();
    void realCaptureOfTheMiniDetailLevel();
};

void TestNetwork::bothPassesUnderNumberedAdapters()
{
    const auto network = PlistDocument::fromFile(fixture("network/SPNetworkDataType.full.plist"));
    const auto locations = PlistDocument::fromFile(fixture("network/SPNetworkLocationDataType.full.plist"));
    const RecordList records = OVNetworkInventory::recordsFromLists(
        network.root(), locations.root(), kMake, QStringLiteral("山田のMacBook"), "yamada");
    // Items before numbering: "Bluetooth DUN" (location only), "Bluetooth PAN" (network only), "LAN" (a
    // service of that name keeps it), "Thunderbolt Ethernet" (its location is inactive, so named by its
    // service name), en0, en1.
    QCOMPARE(describe(records), (QStringList{"LAN|Adapter|PrimaryDNS||",
                                             "LAN|Adapter|PrimaryWINS||",
                                             "LAN|Adapter|SecondaryDNS||",
                                             "LAN|Adapter|SecondaryWINS||",
                                             "LAN|Adapter2|DHCPServer||",
                                             "LAN|Adapter2|IPアドレス||",
                                             "LAN|Adapter2|MACアドレス|AA-BB-CC-00-11-22|",
                                             "LAN|Adapter2|ゲートウェイ||",
                                             "LAN|Adapter2|サブネットマスク||",
                                             "LAN|Adapter3|DHCPServer||",
                                             "LAN|Adapter3|IPアドレス|fd00::5|",
                                             "LAN|Adapter3|MACアドレス||",
                                             "LAN|Adapter3|ゲートウェイ|fd00::1|",
                                             "LAN|Adapter3|サブネットマスク||",
                                             "LAN|Adapter4|DHCPServer|192.168.1.1|",
                                             "LAN|Adapter4|IPアドレス|192.168.1.20|",
                                             "LAN|Adapter4|MACアドレス|3C-07-54-74-1E-2B|",
                                             "LAN|Adapter4|PrimaryDNS|192.168.1.1|",
                                             "LAN|Adapter4|PrimaryWINS|192.168.1.5|",
                                             "LAN|Adapter4|SecondaryDNS|8.8.8.8|",
                                             "LAN|Adapter4|SecondaryWINS||",
                                             "LAN|Adapter4|ゲートウェイ|192.168.1.1|",
                                             "LAN|Adapter4|サブネットマスク|255.255.255.0|",
                                             "LAN|Adapter5|DHCPServer||",
                                             "LAN|Adapter5|IPアドレス|192.168.1.21|",
                                             "LAN|Adapter5|MACアドレス|68-A8-6D-50-89-64|",
                                             "LAN|Adapter5|PrimaryDNS|192.168.1.1|",
                                             "LAN|Adapter5|PrimaryWINS||",
                                             "LAN|Adapter5|SecondaryDNS||",
                                             "LAN|Adapter5|SecondaryWINS||",
                                             "LAN|Adapter5|ゲートウェイ|192.168.1.1 fe80::1|",
                                             "LAN|Adapter5|サブネットマスク|255.255.255.0|",
                                             "LAN|LAN|PrimaryDNS||",
                                             "LAN|LAN|PrimaryWINS||",
                                             "LAN|LAN|SecondaryDNS||",
                                             "LAN|LAN|SecondaryWINS||",
                                             "LAN|LAN|コンピュータの説明||",
                                             "LAN|LAN|コンピュータ名|山田のMacBook|",
                                             "LAN|LAN|ユーザー名|yamada|",
                                             "LAN|LAN|ワークグループ||",
                                             "LAN|LAN|ワークグループ||",
                                             "LAN|LAN|ワークグループ||",
                                             "LAN|LAN|ワークグループ|WORKGROUP|"}));
    QVERIFY(stampedWith(records, kMake.key, kMake.date));
}

void TestNetwork::tenOrMoreAdaptersSortByCharacter()
{
    QByteArray services;
    for (int i = 0; i < 12; ++i)
        services += QStringLiteral("<dict><key>interface</key><string>en%1</string><key>_name</"
                                   "key><string>Svc %2</string></dict>")
                        .arg(i)
                        .arg(QChar('a' + i))
                        .toUtf8();
    const auto network = PlistDocument::fromBytes(servicesList(services));
    const RecordList records =
        OVNetworkInventory::recordsFromLists(network.root(), {}, kMake, std::nullopt, "u");
    QCOMPARE(distinctItems(records),
             (QStringList{"Adapter", "Adapter10", "Adapter11", "Adapter12", "Adapter2", "Adapter3",
                          "Adapter4", "Adapter5", "Adapter6", "Adapter7", "Adapter8", "Adapter9", "LAN"}));
    // "Svc a" got the first number: services without a location are named by their service name.
    QCOMPARE(records.size(), std::size_t(12 * 5 + 3));
    QVERIFY(!records.at(12 * 5 + 1)->contents().has_value()); // the computer name the system could not tell
}

void TestNetwork::nothingReadGivesTheMachineRecords()
{
    const RecordList records = OVNetworkInventory::recordsFromLists({}, {}, kMake, "mac", "user");
    QCOMPARE(describe(records), (QStringList{"LAN|LAN|コンピュータの説明||", "LAN|LAN|コンピュータ名|mac|",
                                             "LAN|LAN|ユーザー名|user|"}));
    // A service without "interface" gives nothing; neither does a location service without any name.
    const auto noInterface =
        PlistDocument::fromBytes(servicesList("<dict><key>_name</key><string>VPN</string></dict>"));
    QCOMPARE(
        OVNetworkInventory::recordsFromLists(noInterface.root(), noInterface.root(), kMake, "mac", "user")
            .size(),
        std::size_t(3));
}

void TestNetwork::realCaptureOfTheMiniDetailLevel()
{
    const auto network =
        PlistDocument::fromFile(realCapture("ohai-MacBookPro8_2-10.7.5", "SPNetworkDataType"));
    const auto locations =
        PlistDocument::fromFile(realCapture("ohai-MacBookPro8_2-10.7.5", "SPNetworkLocationDataType"));
    const RecordList records =
        OVNetworkInventory::recordsFromLists(network.root(), locations.root(), kMake, "m", "u");
    QCOMPARE(distinctItems(records),
             (QStringList{"Adapter", "Adapter2", "Adapter3", "Adapter4", "Adapter5", "LAN"}));
    // Both passes meet under one name for every service, also the modem that only its name identifies:
    // nine records per adapter, and the five workgroup and three machine records under "LAN".
    for (const char *adapter : {"Adapter", "Adapter2", "Adapter3", "Adapter4", "Adapter5"}) {
        QCOMPARE(std::count_if(records.begin(), records.end(),
                               [&](const RecordPtr &r) { return r->item() == QLatin1String(adapter); }),
                 9);
    }
    QCOMPARE(records.size(), std::size_t(5 * 9 + 5 + 3));
}

QTEST_GUILESS_MAIN(TestNetwork)
#include "test_network.moc"
