#include "records/OVCSVRecord.h"

#include <QTest>

namespace {

OVCSVRecord record(OptionalText group, OptionalText item, OptionalText subItem = QString(),
                   OptionalText contents = QString(), OptionalText unit = QString(),
                   OptionalText key = QStringLiteral("AA"), OptionalText date = QStringLiteral("2026/12/05"))
{
    return OVCSVRecord(key, group, item, subItem, contents, unit, date);
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
    // Hundreds of records that sort equal, mixed with others: an unstable sort reorders such a run.
    RecordList records;
    for (int i = 0; i < 300; ++i) {
        const QString item = i % 3 == 0 ? QStringLiteral("en1") : QStringLiteral("LAN");
        records.push_back(std::make_shared<const OVCSVRecord>(record(
            QStringLiteral("LAN"), item, QStringLiteral("s"), QString(), QString(), QString::number(i))));
    }
    sortRecords(records);
    QStringList lanKeys;
    QStringList expectedKeys;
    for (int i = 0; i < 300; ++i) {
        if (i % 3 != 0)
            expectedKeys << QString::number(i);
    }
    for (const auto &r : records) {
        if (r->item() == QStringLiteral("LAN"))
            lanKeys << *r->key();
    }
    QCOMPARE(lanKeys, expectedKeys);
    QCOMPARE(*records.front()->item(), QStringLiteral("LAN"));
    QCOMPARE(*records.back()->item(), QStringLiteral("en1"));
}

QTEST_GUILESS_MAIN(TestRecords)
#include "test_records.moc"
