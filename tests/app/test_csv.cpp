#include "TestSupport.h"
#include "app/CsvAssembly.h"

#include <QTest>

using namespace testsupport;

namespace {

RecordPtr rec(const QString &group, const QString &item, OptionalText contents = QString(),
              OptionalText unit = QString())
{
    return std::make_shared<const OVCSVRecord>("KEY", group, item, "s", contents, unit, "2026/12/01");
}

QString fakeNow(const QString &pattern)
{
    return pattern == "HH:mm:ss" ? "19:30:05" : "2026/12/05";
}

} // namespace

class TestCsv : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void combineInFileOrder();
    void keyboardPlaceholderOnlyWithoutKeyboards();
    void textLinesAndCleaning();
};

void TestCsv::combineInFileOrder()
{
    TempAppDir app;
    auto c = OVCollectors::make("AA", [] { return QStringLiteral("2026/12/01"); });
    // One record per collector, named after it, added in the run order.
    for (const auto &[collector, name] :
         std::initializer_list<std::pair<OVInventoryBase *, const char *>>{{c.software.get(), "software"},
                                                                           {c.hardware.get(), "hardware"},
                                                                           {c.network.get(), "network"},
                                                                           {c.os.get(), "os"},
                                                                           {c.hdd.get(), "hdd"},
                                                                           {c.display.get(), "display"},
                                                                           {c.bluetooth.get(), "bluetooth"},
                                                                           {c.usb.get(), "usb"},
                                                                           {c.printer.get(), "printer"}})
        collector->csvRecords().push_back(rec("G", name));
    const RecordList manage{rec("資産", "manage")};

    const RecordList all = combineCSVRecords(c, manage, "AA-BB", fakeNow);
    QCOMPARE(describe(all),
             (QStringList{"Group|Item|SubItem|Contents|Unit", "Create|DateTime|2026/12/05|19:30:05|",
                          "G|network|s||", "G|hardware|s||", "G|hdd|s||", "G|display|s||", "G|bluetooth|s||",
                          "G|usb|s||", "G|printer|s||", "G|os|s||", "G|software|s||", "資産|manage|s||"}));
    QCOMPARE(all[0]->key(), std::optional(QStringLiteral("Key")));
    QCOMPARE(all[0]->renewalday(), std::optional(QStringLiteral("Renewalday")));
    QCOMPARE(all[1]->key(), std::optional(QStringLiteral("AA-BB")));
    QCOMPARE(all[1]->renewalday(), std::optional(QStringLiteral("2026/12/05")));
    // Shared, not copied.
    QVERIFY(all[2] == c.network->csvRecords().front());
    QVERIFY(all.back() == manage.front());
}

void TestCsv::keyboardPlaceholderOnlyWithoutKeyboards()
{
    TempAppDir app;
    auto none = OVCollectors::make("AA", [] { return QStringLiteral("2026/12/01"); });
    none.display->csvRecords().push_back(rec("Hard", "画面"));
    const RecordList all = combineCSVRecords(none, {}, "AA-BB", fakeNow);
    QCOMPARE(describe(all).mid(2), (QStringList{"Hard|画面|s||", "Hard|Keyboard|キーボード||"}));
    QCOMPARE(none.usb->csvRecords().size(), std::size_t(1));
    QVERIFY(none.usb->csvRecords().front() == all.back());
    QVERIFY(stampedWith({all.back()}, "AA-BB", "2026/12/05"));

    auto bluetooth = OVCollectors::make("AA", [] { return QStringLiteral("2026/12/01"); });
    bluetooth.bluetooth->csvRecords().push_back(rec("Hard", "Keyboard", "Apple Wireless Keyboard"));
    combineCSVRecords(bluetooth, {}, "AA-BB", fakeNow);
    QVERIFY(bluetooth.usb->csvRecords().empty());
}

void TestCsv::textLinesAndCleaning()
{
    const RecordList records{
        std::make_shared<const OVCSVRecord>("Key", "Group", "Item", "SubItem", "Contents", "Unit",
                                            "Renewalday"),
        rec("Soft", "Application", "1,2,3", std::nullopt),
        rec("Soft", "Application", "(null) (null)", "(null)"),
        rec("Soft", "Name\r\nwith\nbreaks", "a(nu\nll)b", "/Apps"),
        std::make_shared<const OVCSVRecord>(std::nullopt, std::nullopt, "I", std::nullopt, "😀", "",
                                            std::nullopt),
    };
    QCOMPARE(createAllCSVText(records, "abc-12-x123"),
             QStringLiteral("Key,Group,Item,SubItem,Contents,Unit,Renewalday\r\n"
                            "abc-12-x123,Soft,Application,s,1 2 3,,2026/12/01\r\n"
                            "abc-12-x123,Soft,Application,s, ,,2026/12/01\r\n"
                            "abc-12-x123,Soft,Name  with breaks,s,a(nu ll)b,/Apps,2026/12/01\r\n"
                            "abc-12-x123,,I,,😀,,\r\n"));
    QCOMPARE(createAllCSVText({}, "x"), QString());
}

QTEST_GUILESS_MAIN(TestCsv)
#include "test_csv.moc"
