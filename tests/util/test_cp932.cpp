#include "util/Cp932.h"

#include <QProcess>
#include <QTest>

class TestCp932 : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void encodesWindowsBytes_data();
    void encodesWindowsBytes();
    void normalisesDecomposedNamesFirst();
    void writesOneQuestionMarkPerMissingCodePoint();
    void keepsWhatNormalisationWouldLose();
    void decodesAsTheSystemDoes();
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
    QCOMPARE(cp932::encode(QStringLiteral("フ\u309Aレヒ\u3099ュー")),
             QByteArray("\x83\x76\x83\x8C\x83\x72\x83\x85\x81\x5B"));    // プレビュー
    QCOMPARE(cp932::encode(QStringLiteral("e\u0301")), QByteArray("?")); // é is not in code page 932
    // Decomposed Hangul composes into its syllables first: one "?" each, not one per letter.
    QCOMPARE(cp932::encode(QStringLiteral("\u1112\u1161\u11AB\u1100\u1173\u11AF")), QByteArray("??"));
}

void TestCp932::keepsWhatNormalisationWouldLose()
{
    // NFC turns 凞 U+FA15, 蘒 U+FA20 and the angstrom sign into characters code page 932 lacks.
    QCOMPARE(cp932::encode(QStringLiteral("\uFA15\uFA20\u212B")), QByteArray("\xFB\x58\xFB\x9F\x81\xF0"));
    QCOMPARE(cp932::encode(QStringLiteral("a\uFA15b\u309A")), QByteArray("a\xFB\x58"
                                                                         "b?"));
    // A combining mark after it joins it, as before; so does a decomposed Å, which the table lacks.
    QCOMPARE(cp932::encode(QStringLiteral("\u212B\u0301")), QByteArray("?"));
    QCOMPARE(cp932::encode(QStringLiteral("A\u030A")), QByteArray("?"));
}

void TestCp932::writesOneQuestionMarkPerMissingCodePoint()
{
    QCOMPARE(cp932::encode(QStringLiteral("a😀b")), QByteArray("a?b"));
    QCOMPARE(cp932::encode(QStringLiteral("\u200B\uFEFF")), QByteArray("??"));
    QCOMPARE(cp932::encode(QString(QChar(0xD800)) + QLatin1Char('x')), QByteArray("?x"));
    QCOMPARE(cp932::encode(QString(QChar(0xDC00))), QByteArray("?"));
    QCOMPARE(cp932::encode(QStringLiteral("\U000E0041")), QByteArray("?")); // glibc drops tag characters
}

void TestCp932::decodesAsTheSystemDoes()
{
#ifndef __GLIBC__
    QSKIP("the table is glibc's CP932, and this system's iconv is another");
#endif
    // Every byte sequence the encoder writes, read back by this decoder and by the system's iconv.
    QByteArray all;
    for (char32_t cp = 0x20; cp <= 0xFFFF; ++cp) {
        const QByteArray bytes =
            QChar::isSurrogate(cp) ? QByteArray() : cp932::encode(QString(QChar(char16_t(cp))));
        if (!bytes.isEmpty() && (bytes != "?" || cp == u'?'))
            all += bytes + '\n';
    }
    QProcess iconv;
    iconv.start("iconv", {"-f", "CP932", "-t", "UTF-8"});
    if (!iconv.waitForStarted())
        QSKIP("no iconv");
    iconv.write(all);
    iconv.closeWriteChannel();
    QVERIFY(iconv.waitForFinished());
    QCOMPARE(iconv.exitCode(), 0);
    const auto decoded = cp932::decode(all);
    QVERIFY(decoded);
    QVERIFY2(decoded->count('\n') > 9000, qPrintable(QString::number(decoded->count('\n'))));
    QCOMPARE(*decoded, QString::fromUtf8(iconv.readAllStandardOutput()));
    QCOMPARE(cp932::decode(QByteArray("\x81\x60\x87\x90\xED\x40")), QStringLiteral("\uFF5E\u2252\u7E8A"));
}

void TestCp932::refusesUndefinedBytes()
{
    QVERIFY(!cp932::decode(QByteArray("\x82")).has_value());     // a lead byte cut off at the end
    QVERIFY(!cp932::decode(QByteArray("\x85\x40")).has_value()); // an empty row
    QVERIFY(cp932::decode(QByteArray()).has_value());
}

QTEST_GUILESS_MAIN(TestCp932)
#include "test_cp932.moc"
