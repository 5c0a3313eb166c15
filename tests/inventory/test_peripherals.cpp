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
    void usbNestingCannotExhaustTheStack();
    void defaultPrinter();
};

void TestPeripherals::displayRuleOfEachBuild_data()
{
    using Rule = OVBuildProfile::DisplayRule;
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<Rule>("rule");
    QTest::addColumn<QString>("value");
    const QByteArray two = "SPDisplaysDataType.two-adapters.plist";
    // The first adapter has no displays; of the second, the last display has neither key.
    QTest::newRow("64-bit: last display of the first adapter with displays")
        << two << Rule::LastDisplayOfFirstAdapter << "1920 x 1200 @ 60 Hz";
    QTest::newRow("universal: its first display")
        << two << Rule::FirstDisplayOfFirstAdapter << "2880 x 1800 Retina CGSThirtytwoBitColor";
    QTest::newRow("real capture, 64-bit")
        << QByteArray() << Rule::LastDisplayOfFirstAdapter << "1680 x 1050 CGSThirtytwoBitColor";
    QTest::newRow("real capture, universal")
        << QByteArray() << Rule::FirstDisplayOfFirstAdapter << "1680 x 1050 CGSThirtytwoBitColor";
    QTest::newRow("no file") << QByteArray("missing.plist") << Rule::LastDisplayOfFirstAdapter << "";
}

void TestPeripherals::displayRuleOfEachBuild()
{
    QFETCH(QByteArray, file);
    QFETCH(OVBuildProfile::DisplayRule, rule);
    QFETCH(QString, value);
    const auto document = file.isEmpty() ? real("SPDisplaysDataType") : load(QString::fromLatin1(file));
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
}

void TestPeripherals::usbKeyboards()
{
    const RecordList records =
        OVUSBInventory::recordsFromList(load("SPUSBDataType.hubs.plist").root(), kMake);
    // A hub whose name holds the word is not itself a keyboard, not even with an empty device list.
    QCOMPARE(describe(records),
             (QStringList{"Hard|Keyboard|キーボード|HHKB Professional Keyboard|",
                          "Hard|Keyboard|キーボード|REALFORCE 108 KEYBOARD|",
                          "Hard|Keyboard|キーボード|Apple Internal Keyboard / Trackpad|"}));
    QCOMPARE(describe(OVUSBInventory::recordsFromList(real("SPUSBDataType").root(), kMake)),
             QStringList{"Hard|Keyboard|キーボード|Apple Internal Keyboard / Trackpad|"});
}

void TestPeripherals::usbNestingCannotExhaustTheStack()
{
    for (const int depth : {120, 100000}) {
        const auto document = PlistDocument::fromBytes(usbTower(depth));
        QCOMPARE(describe(OVUSBInventory::recordsFromList(document.root(), kMake)),
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
