#include "TestSupport.h"
#include "inventory/OVBluetoothInventory.h"
#include "inventory/OVDisplayInventory.h"
#include "inventory/OVPrinterInventory.h"
#include "inventory/OVUSBInventory.h"

#include <QTest>

using namespace testsupport;

Q_DECLARE_METATYPE(OVBuildProfile::DisplayRule)

namespace {

const RecordMaker kMake{"AA-BB", "2026/12/05"};

PlistDocument load(const QString &name)
{
    return PlistDocument::fromFile(fixture("peripherals/" + name));
}

PlistDocument real(const QString &dataType)
{
    return PlistDocument::fromFile(realCapture("ohai-MacBookPro8_2-10.7.5", dataType));
}

// A hub tower of the given depth with a keyboard at the bottom.
QByteArray usbTower(int depth)
{
    const QByteArray open = "<dict><key>_name</key><string>Hub</string><key>_items</key><array>";
    return "<plist version=\"1.0\"><array>" + open.repeated(depth) +
           "<dict><key>_name</key><string>Deep Keyboard</string></dict>" +
           QByteArray("</array></dict>").repeated(depth) + "</array></plist>";
}

} // namespace

class TestPeripherals : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void displayRuleOfEachBuild_data();
    void displayRuleOfEachBuild();
    void bluetoothKeyboards();
    void usbKeyboards();
    void usbHostOverviewOfMacOS26();
    void usbNestingCannotExhaustTheStack();
    void defaultPrinter();
};

void TestPeripherals::displayRuleOfEachBuild_data()
{
    using Rule = OVBuildProfile::DisplayRule;
    QTest::addColumn<QString>("file");
    QTest::addColumn<Rule>("rule");
    QTest::addColumn<QString>("value");
    const QString two = fixture("peripherals/SPDisplaysDataType.two-adapters.plist");
    const QString ohai = realCapture("ohai-MacBookPro8_2-10.7.5", "SPDisplaysDataType");
    // The first adapter has no displays; of the second, the last display has neither key.
    QTest::newRow("64-bit: last display of the first adapter with displays")
        << two << Rule::LastDisplayOfFirstAdapter << "1920 x 1200 @ 60 Hz";
    QTest::newRow("universal: its first display")
        << two << Rule::FirstDisplayOfFirstAdapter << "2880 x 1800 Retina CGSThirtytwoBitColor";
    QTest::newRow("real capture, 64-bit")
        << ohai << Rule::LastDisplayOfFirstAdapter << "1680 x 1050 CGSThirtytwoBitColor";
    QTest::newRow("real capture, universal")
        << ohai << Rule::FirstDisplayOfFirstAdapter << "1680 x 1050 CGSThirtytwoBitColor";
    QTest::newRow("no file") << fixture("peripherals/missing.plist") << Rule::LastDisplayOfFirstAdapter << "";
    // Apple silicon: the built-in screen has only "_spdisplays_resolution"; the external ones have the
    // specified key too, and keep it.
    const QString m1pro = fixture("modern/apple-m1pro-3-screens/SPDisplaysDataType.xml");
    QTest::newRow("M1 Pro, three screens, 64-bit")
        << m1pro << Rule::LastDisplayOfFirstAdapter << "1920 x 1080 @ 60.00Hz";
    QTest::newRow("M1 Pro, three screens, universal")
        << m1pro << Rule::FirstDisplayOfFirstAdapter << "1512 x 982 @ 120.00Hz";
    QTest::newRow("M3 Pro, built-in screen only")
        << fixture("machines/macbookpro-m3pro-macos26/SPDisplaysDataType.xml")
        << Rule::LastDisplayOfFirstAdapter << "1512 x 982 @ 120.00Hz";
    // Either specified key is enough to leave the Apple-silicon key alone.
    const QString both = fixture("peripherals/SPDisplaysDataType.specified-and-private.plist");
    QTest::newRow("resolution without depth")
        << both << Rule::FirstDisplayOfFirstAdapter << "1920 x 1080 @ 60 Hz";
    QTest::newRow("depth without resolution")
        << both << Rule::LastDisplayOfFirstAdapter << "CGSThirtytwoBitColor";
    QTest::newRow("Intel on macOS 13 keeps the specified keys")
        << fixture("machines/imac-t2-macos13/SPDisplaysDataType.xml") << Rule::LastDisplayOfFirstAdapter
        << "2560 x 1440 @ 60.00Hz CGSThirtyBitColor";
}

void TestPeripherals::displayRuleOfEachBuild()
{
    QFETCH(QString, file);
    QFETCH(OVBuildProfile::DisplayRule, rule);
    QFETCH(QString, value);
    const auto document = PlistDocument::fromFile(file);
    const RecordList records = OVDisplayInventory::recordsFromList(document.root(), kMake, rule);
    QCOMPARE(describe(records), QStringList{"Hard|画面|解像度|" + value + "|"});
    QVERIFY(stampedWith(records, kMake.key, kMake.date));
}

void TestPeripherals::bluetoothKeyboards()
{
    const RecordList records =
        OVBluetoothInventory::recordsFromList(load("SPBluetoothDataType.keyboards.plist").root(), kMake);
    // "keyboard" in lower case and a keyboard without services give nothing.
    QCOMPARE(describe(records),
             (QStringList{"Hard|Keyboard|キーボード|HID|", "Hard|Keyboard|キーボード|HID, SDP|"}));
    QVERIFY(OVBluetoothInventory::recordsFromList(real("SPBluetoothDataType").root(), kMake).empty());

    // macOS 12 and later: right after an item's titled devices, its connected, not connected and
    // (12.0-12.2) listed devices whose minor type is exactly "Keyboard", by name.
    QCOMPARE(describe(OVBluetoothInventory::recordsFromList(load("SPBluetoothDataType.lists.plist").root(),
                                                            kMake)),
             (QStringList{"Hard|Keyboard|キーボード|HID|", "Hard|Keyboard|キーボード|Magic Keyboard|",
                          "Hard|Keyboard|キーボード|Old Keyboard|",
                          "Hard|Keyboard|キーボード|macOS 12.0 Keyboard|"}));
    const auto macos26 =
        PlistDocument::fromFile(fixture("machines/macbookpro-m3pro-macos26/SPBluetoothDataType.xml"));
    QCOMPARE(describe(OVBluetoothInventory::recordsFromList(macos26.root(), kMake)),
             (QStringList{"Hard|Keyboard|キーボード|Magic Keyboard with Touch ID|",
                          "Hard|Keyboard|キーボード|山田のMagic Keyboard|"}));
}

void TestPeripherals::usbKeyboards()
{
    const RecordList records =
        OVUSBInventory::recordsFromList(load("SPUSBDataType.hubs.plist").root(), PlistValue(), kMake);
    // A hub whose name holds the word is not itself a keyboard, not even with an empty device list.
    QCOMPARE(describe(records),
             (QStringList{"Hard|Keyboard|キーボード|HHKB Professional Keyboard|",
                          "Hard|Keyboard|キーボード|REALFORCE 108 KEYBOARD|",
                          "Hard|Keyboard|キーボード|Apple Internal Keyboard / Trackpad|"}));
    QCOMPARE(describe(OVUSBInventory::recordsFromList(real("SPUSBDataType").root(), PlistValue(), kMake)),
             QStringList{"Hard|Keyboard|キーボード|Apple Internal Keyboard / Trackpad|"});
}

void TestPeripherals::usbHostOverviewOfMacOS26()
{
    const auto machine = [](const char *name, const char *dataType) {
        return PlistDocument::fromFile(fixture(QStringLiteral("machines/%1/%2.xml").arg(name, dataType)));
    };
    const auto host = machine("macbookpro-m3pro-macos26", "SPUSBHostDataType");
    // macOS 26 leaves the USB overview empty: the host overview is walked by the same rule.
    QCOMPARE(describe(OVUSBInventory::recordsFromList(
                 machine("macbookpro-m3pro-macos26", "SPUSBDataType").root(), host.root(), kMake)),
             (QStringList{"Hard|Keyboard|キーボード|USB Keyboard|",
                          "Hard|Keyboard|キーボード|Keychron K8 Keyboard|"}));
    // A USB overview that lists any device wins, even one without a keyboard.
    QCOMPARE(describe(OVUSBInventory::recordsFromList(machine("imac-t2-macos13", "SPUSBDataType").root(),
                                                      host.root(), kMake)),
             QStringList{"Hard|Keyboard|キーボード|Apple Keyboard|"});
    QVERIFY(
        OVUSBInventory::recordsFromList(load("SPUSBDataType.hubs.plist").root(), host.root(), kMake).size() ==
        3);
    const auto realHost = PlistDocument::fromFile(fixture("modern/macos26-usbhost/SPUSBHostDataType.xml"));
    QVERIFY(OVUSBInventory::recordsFromList(PlistValue(), realHost.root(), kMake).empty());
    QVERIFY(!OVUSBInventory::recordsFromList(PlistValue(), host.root(), kMake).empty());
}

void TestPeripherals::usbNestingCannotExhaustTheStack()
{
    for (const int depth : {120, 100000}) {
        const auto document = PlistDocument::fromBytes(usbTower(depth));
        QCOMPARE(describe(OVUSBInventory::recordsFromList(document.root(), PlistValue(), kMake)),
                 QStringList{"Hard|Keyboard|キーボード|Deep Keyboard|"});
    }
}

void TestPeripherals::defaultPrinter()
{
    QCOMPARE(
        describe(OVPrinterInventory::recordsFromList(load("SPPrintersDataType.three.plist").root(), kMake)),
        QStringList{"Hard|Printer|デフォルトプリンタ|EPSON PX-M5081F "
                    "Series|dnssd://EPSON%20PX-M5081F._ipp._tcp.local./?uuid=1234"});
    QCOMPARE(describe(OVPrinterInventory::recordsFromList(load("SPPrintersDataType.no-default.plist").root(),
                                                          kMake)),
             QStringList{"Hard|Printer|デフォルトプリンタ||"});
    QCOMPARE(describe(OVPrinterInventory::recordsFromList(real("SPPrintersDataType").root(), kMake)),
             QStringList{"Hard|Printer|デフォルトプリンタ||"});
}

QTEST_GUILESS_MAIN(TestPeripherals)
#include "test_peripherals.moc"
