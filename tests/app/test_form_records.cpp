#include "TestSupport.h"
#include "app/InputCheck.h"
#include "app/ManageInfoRecords.h"

#include <QTest>

using namespace testsupport;

Q_DECLARE_METATYPE(FormValues)

namespace {

FormValues form(const QString &a, const QString &b, const QString &c, const QString &family = "山田",
                const QString &given = "太郎")
{
    return FormValues{a, b, c, family, given};
}

} // namespace

class TestFormRecords : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void inputCheck_data();
    void inputCheck();
    void manageInfoRecords();
};

void TestFormRecords::inputCheck_data()
{
    QTest::addColumn<FormValues>("values");
    QTest::addColumn<QString>("refusal"); // empty: accepted

    const QString a = kInvalidManagementNumber;
    const QString b = kUserNameMissing;
    QTest::newRow("valid") << form("abc", "12", "x123") << QString();
    QTest::newRow("four digits and a leading zero") << form("zzz", "07", "0123") << QString();
    QTest::newRow("any characters in the names") << form("abc", "12", "x123", " 髙橋 ", "\t😀") << QString();
    QTest::newRow("upper-case letters") << form("ABC", "12", "x123") << a;
    QTest::newRow("two letters") << form("ab", "12", "x123") << a;
    QTest::newRow("four letters") << form("abcd", "12", "x123") << a;
    QTest::newRow("empty first part, empty names") << form("", "12", "x123", "", "") << a;
    QTest::newRow("full-width letters") << form("ａｂｃ", "12", "x123") << a;
    QTest::newRow("one digit") << form("abc", "1", "x123") << a;
    QTest::newRow("digit and letter") << form("abc", "1a", "x123") << a;
    QTest::newRow("full-width digits") << form("abc", "１２", "x123") << a;
    QTest::newRow("upper-case third") << form("abc", "12", "X123") << a;
    QTest::newRow("hyphen third") << form("abc", "12", "-123") << a;
    QTest::newRow("two letters two digits") << form("abc", "12", "xy23") << a;
    QTest::newRow("space inside") << form("abc", "12", "x 23") << a;
    QTest::newRow("five characters") << form("abc", "12", "x1234") << a;
    // A character outside the BMP counts two units.
    QTest::newRow("surrogate pair") << form("a😀", "12", "x123") << a;
    QTest::newRow("given name of spaces") << form("abc", "12", "x123", "山田", "   ") << b;
    QTest::newRow("empty family name") << form("abc", "12", "x123", "", "太郎") << b;
    QTest::newRow("family name of line breaks and ideographic spaces")
        << form("abc", "12", "x123", "\r\n　", "太郎") << b;
}

void TestFormRecords::inputCheck()
{
    QFETCH(FormValues, values);
    QFETCH(QString, refusal);
    const auto result = ::inputCheck(values);
    QCOMPARE(result ? result->message : QString(), refusal);
}

void TestFormRecords::manageInfoRecords()
{
    int clockReads = 0;
    const auto date = [&] { return QStringLiteral("2026/12/0%1").arg(++clockReads); };
    const RecordList records =
        createManageInfoCSVRecords(form("abc", "12", "x123", "  山田 ", " 太郎"), "AA-BB", date);
    QCOMPARE(describe(records), (QStringList{"資産|管理情報|姓|山田|", "資産|管理情報|名|太郎|",
                                             "資産|管理情報|管理番号|abc-12-x123|"}));
    QCOMPARE(records[2]->renewalday(), std::optional(QStringLiteral("2026/12/03")));
    QCOMPARE(records[0]->key(), std::optional(QStringLiteral("AA-BB")));

    // Blank names give no record; the management number always gives one, as typed.
    const RecordList blank = createManageInfoCSVRecords(form("", "", "", " \t", ""), "AA-BB", date);
    QCOMPARE(describe(blank), QStringList{"資産|管理情報|管理番号|--|"});
}

QTEST_GUILESS_MAIN(TestFormRecords)
#include "test_form_records.moc"
