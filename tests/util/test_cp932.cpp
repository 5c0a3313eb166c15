#include "util/Cp932.h"

#include <QTest>

class TestCp932 : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void encodesWindowsBytes_data();
    void encodesWindowsBytes();
    void normalisesDecomposedNamesFirst();
    void writesOneQuestionMarkPerMissingCodePoint();
    void decodesWhatItEncodes();
    void refusesUndefinedBytes();
};

void TestCp932::encodesWindowsBytes_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("ascii") << QStringLiteral("Key,Group\r\n") << QByteArray("Key,Group\r\n");
    QTest::newRow("hiragana and kanji") << QStringLiteral("あ亜漢") << QByteArray("\x82\xA0\x88\x9F\x8A\xBF");
    QTest::newRow("half-width kana") << QStringLiteral("ｱｲｳﾞ") << QByteArray("\xB1\xB2\xB3\xDE");
    QTest::newRow("ideographic space") << QStringLiteral("　") << QByteArray("\x81\x40");
    QTest::newRow("NEC row 13") << QStringLiteral("①Ⅰ㈱№") << QByteArray("\x87\x40\x87\x54\x87\x8A\x87\x82");
    QTest::newRow("IBM extension kanji")
        << QStringLiteral("髙﨑彅") << QByteArray("\xFB\xFC\xFA\xB1\xFA\x67");
    QTest::newRow("small roman numeral") << QStringLiteral("ⅰ") << QByteArray("\xFA\x40");
    QTest::newRow("wave dash and full-width tilde")
        << QStringLiteral("〜～") << QByteArray("\x81\x60\x81\x60");
    QTest::newRow("minus and full-width hyphen-minus")
        << QStringLiteral("−－") << QByteArray("\x81\x7C\x81\x7C");
    QTest::newRow("yen, overline, em dash") << QStringLiteral("¥‾—") << QByteArray("\x5C\x7E\x81\x5C");
    QTest::newRow("backslash and tilde stay ASCII") << QStringLiteral("\\~") << QByteArray("\\~");
    QTest::newRow("cent pound not") << QStringLiteral("¢£¬") << QByteArray("\x81\x91\x81\x92\x81\xCA");
}

void TestCp932::encodesWindowsBytes()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(cp932::encode(text), bytes);
}

void TestCp932::normalisesDecomposedNamesFirst()
{
    // Application names from macOS arrive decomposed: フ + combining sound mark.
    const QString decomposed = QStringLiteral("フ\u309Aレヒ\u3099ュー");
    QCOMPARE(cp932::encode(decomposed), cp932::encode(QStringLiteral("プレビュー")));
    QVERIFY(!cp932::encode(decomposed).contains('?'));
    QCOMPARE(cp932::encode(QStringLiteral("e\u0301")), QByteArray("?")); // é is not in code page 932
}

void TestCp932::writesOneQuestionMarkPerMissingCodePoint()
{
    QCOMPARE(cp932::encode(QStringLiteral("a😀b")), QByteArray("a?b"));
    QCOMPARE(cp932::encode(QStringLiteral("\u200B\uFEFF")), QByteArray("??"));
    QCOMPARE(cp932::encode(QString(QChar(0xD800)) + QLatin1Char('x')), QByteArray("?x"));
    QCOMPARE(cp932::encode(QString(QChar(0xDC00))), QByteArray("?"));
    QCOMPARE(cp932::encode(QStringLiteral("\U000E0041")), QByteArray("?")); // glibc drops tag characters
}

void TestCp932::decodesWhatItEncodes()
{
    // Every character of the table comes back, and writing what was read gives the same bytes again:
    // the program's read-back of its own output never changes a byte.
    int mapped = 0;
    for (char32_t cp = 0; cp <= 0xFFFF; ++cp) {
        if (QChar::isSurrogate(cp))
            continue;
        const QString text(QChar(static_cast<char16_t>(cp)));
        const QByteArray bytes = cp932::encode(text);
        if (bytes == "?" && cp != u'?')
            continue;
        ++mapped;
        const auto back = cp932::decode(bytes);
        QVERIFY2(back.has_value(), qPrintable(QString::number(cp, 16)));
        QCOMPARE(cp932::encode(*back), bytes);
    }
    QVERIFY2(mapped > 9000, qPrintable(QString::number(mapped)));
    QCOMPARE(cp932::decode(QByteArray("\x88\x9F\xFB\xFC\x5C")), QStringLiteral("亜髙\\"));
}

void TestCp932::refusesUndefinedBytes()
{
    QVERIFY(!cp932::decode(QByteArray("\x82")).has_value());     // a lead byte cut off at the end
    QVERIFY(!cp932::decode(QByteArray("\x85\x40")).has_value()); // an empty row
    QVERIFY(cp932::decode(QByteArray()).has_value());
}

QTEST_GUILESS_MAIN(TestCp932)
#include "test_cp932.moc"
