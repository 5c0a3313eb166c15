#include "records/OVCSVRecord.h"

#include <QTest>

namespace {

OVCSVRecord record(OptionalText group, OptionalText item, OptionalText subItem = QString(),
                   OptionalText contents = QString(), OptionalText unit = QString(),
                   OptionalText key = QStringLiteral("AA"), OptionalText date = QStringLiteral("2026/12/05"))
{
    return OVCSVRecord(key, group, item, subItem, contents, unit, date);
}

RecordPtr shared(const QString &item, const QString &contents)
{
    return std::make_shared<const OVCSVRecord>(
        record(QStringLiteral("LAN"), item, QStringLiteral("s"), contents));
}

} // namespace

class TestRecords : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void compareOrdersByFiveFields();
    void absentFieldsCompareEqual();
    void sortKeepsTheOrderOfEqualRecords();
};

void TestRecords::compareOrdersByFiveFields()
{
    const auto hard = record(QStringLiteral("Hard"), QStringLiteral("CPU"));
    QCOMPARE(hard.compare(record(QStringLiteral("Soft"), QStringLiteral("CPU"))), -1);
    QCOMPARE(record(QStringLiteral("hard"), QStringLiteral("CPU")).compare(hard), 1);
    QCOMPARE(record(QStringLiteral("hard"), QStringLiteral("A"))
                 .compare(record(QStringLiteral("Soft"), QStringLiteral("Z"))),
             1);
    // Character order, not number order: Adapter10 sorts before Adapter2; and before LAN.
    QCOMPARE(record(QStringLiteral("LAN"), QStringLiteral("Adapter10"))
                 .compare(record(QStringLiteral("LAN"), QStringLiteral("Adapter2"))),
             -1);
    QCOMPARE(record(QStringLiteral("LAN"), QStringLiteral("Adapter"))
                 .compare(record(QStringLiteral("LAN"), QStringLiteral("Adapter10"))),
             -1);
    QCOMPARE(record(QStringLiteral("LAN"), QStringLiteral("Adapter9"))
                 .compare(record(QStringLiteral("LAN"), QStringLiteral("LAN"))),
             -1);
    // Later fields decide in turn; key and date never do.
    QCOMPARE(record(QStringLiteral("G"), QStringLiteral("I"), QStringLiteral("a"))
                 .compare(record(QStringLiteral("G"), QStringLiteral("I"), QStringLiteral("b"))),
             -1);
    QCOMPARE(record(QStringLiteral("G"), QStringLiteral("I"), QStringLiteral("s"), QStringLiteral("2"))
                 .compare(record(QStringLiteral("G"), QStringLiteral("I"), QStringLiteral("s"),
                                 QStringLiteral("10"))),
             1);
    QCOMPARE(record(QStringLiteral("G"), QStringLiteral("I"), QStringLiteral("s"), QStringLiteral("c"),
                    QStringLiteral("MB"))
                 .compare(record(QStringLiteral("G"), QStringLiteral("I"), QStringLiteral("s"),
                                 QStringLiteral("c"), QStringLiteral("GB"))),
             1);
    QCOMPARE(record(QStringLiteral("G"), QStringLiteral("I"), {}, {}, {}, QStringLiteral("K1"),
                    QStringLiteral("2026/01/01"))
                 .compare(record(QStringLiteral("G"), QStringLiteral("I"), {}, {}, {}, QStringLiteral("K2"),
                                 QStringLiteral("2027/01/01"))),
             0);
    // Japanese text by code unit, not by reading: ワ (U+30EF) after コ (U+30B3).
    QCOMPARE(
        record(QStringLiteral("LAN"), QStringLiteral("LAN"), QStringLiteral("ワークグループ"))
            .compare(record(QStringLiteral("LAN"), QStringLiteral("LAN"), QStringLiteral("コンピュータ名"))),
        1);
}

void TestRecords::absentFieldsCompareEqual()
{
    const auto noGroup = record({}, QStringLiteral("B"));
    QCOMPARE(noGroup.compare(record(QStringLiteral("Soft"), QStringLiteral("A"))), 1);
    QCOMPARE(noGroup.compare(record(QStringLiteral("Hard"), QStringLiteral("C"))), -1);
    // The other side absent: equal on that field too, so a.compare(b) == -b.compare(a) always.
    QCOMPARE(record(QStringLiteral("Soft"), QStringLiteral("A")).compare(noGroup), -1);
    QCOMPARE(record(QStringLiteral("G"), QStringLiteral("I"), QStringLiteral("s"), {})
                 .compare(record(QStringLiteral("G"), QStringLiteral("I"), QStringLiteral("s"),
                                 QStringLiteral("x"))),
             0);
}

void TestRecords::sortKeepsTheOrderOfEqualRecords()
{
    RecordList records{shared(QStringLiteral("en1"), QStringLiteral("b")),
                       shared(QStringLiteral("LAN"), QStringLiteral("first")),
                       shared(QStringLiteral("en0"), QStringLiteral("a")),
                       shared(QStringLiteral("LAN"), QStringLiteral("first")),
                       std::make_shared<const OVCSVRecord>(
                           record(QStringLiteral("LAN"), QStringLiteral("en0"), QStringLiteral("s"), {}))};
    const RecordPtr firstLan = records[1];
    const RecordPtr secondLan = records[3];
    sortRecords(records);
    QStringList items;
    for (const auto &r : records)
        items << *r->item();
    QCOMPARE(items, (QStringList{QStringLiteral("LAN"), QStringLiteral("LAN"), QStringLiteral("en0"),
                                 QStringLiteral("en0"), QStringLiteral("en1")}));
    QVERIFY(records[0] == firstLan && records[1] == secondLan);
}

QTEST_GUILESS_MAIN(TestRecords)
#include "test_records.moc"
