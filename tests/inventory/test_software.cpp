#include "TestSupport.h"
#include "inventory/OVSoftwareInventory.h"

#include <QTest>

using namespace testsupport;

class TestSoftware : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void folderOf_data();
    void folderOf();
    void oneRecordPerItemInFileOrder();
    void realCaptures_data();
    void realCaptures();
};

void TestSoftware::folderOf_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("folder");
    QTest::newRow("utilities") << "/Applications/Utilities/Terminal.app"
                               << "/Applications/Utilities";
    QTest::newRow("applications") << "/Applications/Mail.app"
                                  << "/Applications";
    QTest::newRow("trailing slash") << "/Volumes/Tools/"
                                    << "/Volumes/Tools";
    QTest::newRow("root") << "/"
                          << "";
    QTest::newRow("no slash") << "Mail.app"
                              << "Mail.app";
}

void TestSoftware::folderOf()
{
    QFETCH(QString, path);
    QFETCH(QString, folder);
    QCOMPARE(OVSoftwareInventory::folderOf(path), std::optional(folder));
    QVERIFY(!OVSoftwareInventory::folderOf(std::nullopt).has_value());
}

void TestSoftware::oneRecordPerItemInFileOrder()
{
    const RecordMaker make{"AA", "2026/12/05"};
    const auto document =
        PlistDocument::fromFile(fixture("software/SPApplicationsDataType.two-elements.plist"));
    const RecordList records = OVSoftwareInventory::recordsFromList(document.root(), make);
    // No filtering: an item without a version and a second "Mail" each give a record.
    QCOMPARE(
        describe(records),
        (QStringList{"Soft|Application|Terminal|2.8|/Applications/Utilities",
                     "Soft|Application|Mail|11.5|/Applications", "Soft|Application|Tools|1.0|/Volumes/Tools",
                     "Soft|Application|Root|<absent>|", "Soft|Application|Mail|11.5|Mail.app"}));
    QVERIFY(stampedWith(records, make.key, make.date));
    QVERIFY(OVSoftwareInventory::recordsFromList(PlistDocument::fromFile("missing").root(), make).empty());
}

void TestSoftware::realCaptures_data()
{
    QTest::addColumn<QString>("capture"); // and file
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("withoutVersion");
    QTest::addColumn<QString>("first");
    QTest::newRow("10.7.5") << "ohai-MacBookPro8_2-10.7.5/SPApplicationsDataType.xml" << 596 << 316
                            << "Soft|Application|VMware Fusion|5.0.2|/Applications";
    QTest::newRow("10.15") << "ohai-intel-10.15-apps/SPApplicationsDataType.repaired.xml" << 385 << 9
                           << "Soft|Application|System Preferences|14.0|/Applications";
    // A stray character between two elements: not a property list, so no application at all.
    QTest::newRow("10.15 as captured") << "ohai-intel-10.15-apps/SPApplicationsDataType.xml" << 0 << 0 << "";
}

void TestSoftware::realCaptures()
{
    QFETCH(QString, capture);
    QFETCH(int, count);
    QFETCH(int, withoutVersion);
    QFETCH(QString, first);
    const auto document = PlistDocument::fromFile(fixture("real/" + capture));
    const RecordList records = OVSoftwareInventory::recordsFromList(document.root(), RecordMaker{"AA", "d"});
    QCOMPARE(int(records.size()), count);
    QCOMPARE(describe(records).value(0), first);
    const auto absent = std::count_if(records.begin(), records.end(), [](const RecordPtr &record) {
        return !record->contents().has_value();
    });
    QCOMPARE(int(absent), withoutVersion);
}

QTEST_GUILESS_MAIN(TestSoftware)
#include "test_software.moc"
