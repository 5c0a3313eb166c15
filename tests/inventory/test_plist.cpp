#include "TestSupport.h"
#include "inventory/PlistDocument.h"

#include <QTest>

using namespace testsupport;

namespace {

QByteArray plist(const QByteArray &body)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
           "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
           "<plist version=\"1.0\">\n" +
           body + "\n</plist>\n";
}

QByteArray nested(int depth, const QByteArray &open, const QByteArray &close)
{
    return plist("<array>" + open.repeated(depth) + close.repeated(depth) + "</array>");
}

} // namespace

class TestPlist : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readsWhatSystemProfilerWrites();
    void anythingElseReadsAsAnEmptyList_data();
    void anythingElseReadsAsAnEmptyList();
    void scalarsBecomeText();
    void valuesOutliveTheirDocument();
    void deepNestingIsReadWithoutRecursion();
    void xmlFeaturesOfTheFormat();
    void strictAboutStructure_data();
    void strictAboutStructure();
};

void TestPlist::readsWhatSystemProfilerWrites()
{
    const auto document = PlistDocument::fromFile(
        realCapture(QStringLiteral("ohai-MacBookPro8_2-10.7.5"), QStringLiteral("SPHardwareDataType")));
    const auto elements = document.rootElements();
    QCOMPARE(elements.size(), std::size_t(1));
    QCOMPARE(elements[0].value("_dataType").text(), std::optional(QStringLiteral("SPHardwareDataType")));
    const auto items = elements[0].items();
    QCOMPARE(items.size(), std::size_t(1));
    QCOMPARE(items[0].value("cpu_type").text(), std::optional(QStringLiteral("Intel Core i7")));
    QVERIFY(!items[0].value("no_such_key").text().has_value());
    QVERIFY(items[0].value("_items").elements().empty());
    QVERIFY(items[0].value("cpu_type").value("x").isNull());

    // A byte-order mark is accepted.
    const auto withBom =
        PlistDocument::fromBytes("\xEF\xBB\xBF" + plist("<array><string>x</string></array>"));
    QCOMPARE(withBom.rootElements().size(), std::size_t(1));
}

void TestPlist::anythingElseReadsAsAnEmptyList_data()
{
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray real = readFile(
        realCapture(QStringLiteral("ohai-MacBookPro8_2-10.7.5"), QStringLiteral("SPHardwareDataType")));
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("truncated") << real.left(real.size() / 2);
    QTest::newRow("not a plist") << QByteArray("sh: system_profiler: command not found\n");
    QTest::newRow("binary plist") << QByteArray(
        "bplist00\xa1\x01\xd1\x02\x03\x56_items\xa1\x04\xd1\x05\x06\x55_name\x51x"
        "\x08\x0a\x0d\x14\x16\x19\x1f\x00\x00\x00\x00\x00\x00\x01\x01\x00\x00\x00"
        "\x00\x00\x00\x00\x07\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00"
        "\x00\x00\x21",
        72);
    QTest::newRow("root is a dictionary") << plist("<dict><key>_items</key><array/></dict>");
    QTest::newRow("root is a string") << plist("<string>x</string>");
    QTest::newRow("misspelled tag") << plist("<array><strin>x</strin></array>");
}

void TestPlist::anythingElseReadsAsAnEmptyList()
{
    QFETCH(QByteArray, bytes);
    QTemporaryDir dir;
    writeFile(dir.filePath(QStringLiteral("t.plist")), bytes);
    QVERIFY(PlistDocument::fromFile(dir.filePath(QStringLiteral("t.plist"))).rootElements().empty());
    QVERIFY(PlistDocument::fromFile(dir.filePath(QStringLiteral("missing.plist"))).root().isNull());
}

void TestPlist::scalarsBecomeText()
{
    const auto document = PlistDocument::fromBytes(
        plist("<array><dict>"
              "<key>s</key><string>a&amp;b &#x3042;&#x4e00;&#x4E8C;&#xfa15;</string><key>empty</key><string/>"
              "<key>int</key><integer>500107862016</integer><key>neg</key><integer>-5</integer>"
              "<key>yes</key><true/><key>no</key><false/>"
              "<key>half</key><real>2.5</real><key>three</key><real>3.0</real>"
              "<key>date</key><date>2026-12-05T10:30:05Z</date>"
              "<key>data</key><data>AAEC</data><key>list</key><array><string>x</string></array>"
              "<key>numtext</key><string> 42 </string>"
              "</dict></array>"));
    const PlistValue dict = document.rootElements().at(0);
    QCOMPARE(dict.value("s").text(), std::optional(QStringLiteral("a&b あ一二\uFA15")));
    QCOMPARE(dict.value("empty").text(), std::optional(QString()));
    QCOMPARE(dict.value("int").text(), std::optional(QStringLiteral("500107862016")));
    QCOMPARE(dict.value("neg").text(), std::optional(QStringLiteral("-5")));
    QCOMPARE(dict.value("yes").text(), std::optional(QStringLiteral("1")));
    QCOMPARE(dict.value("no").text(), std::optional(QStringLiteral("0")));
    QCOMPARE(dict.value("half").text(), std::optional(QStringLiteral("2.5")));
    QCOMPARE(dict.value("three").text(), std::optional(QStringLiteral("3")));
    QCOMPARE(dict.value("date").text(), std::optional(QStringLiteral("2026-12-05 10:30:05 +0000")));
    QVERIFY(!dict.value("data").text().has_value());
    QVERIFY(!dict.value("list").text().has_value());
    QCOMPARE(dict.value("int").integer(), std::optional<qint64>(500107862016));
    QCOMPARE(dict.value("half").integer(), std::optional<qint64>(2));
    QCOMPARE(dict.value("numtext").integer(), std::optional<qint64>(42));
    QVERIFY(!dict.value("s").integer().has_value());
    QCOMPARE(dict.dictValues().size(), std::size_t(12));
}

void TestPlist::valuesOutliveTheirDocument()
{
    const PlistValue item =
        PlistDocument::fromBytes(plist("<array><dict><key>a</key><string>b</string></dict></array>"))
            .rootElements()
            .at(0);
    QCOMPARE(item.value("a").text(), std::optional(QStringLiteral("b")));
}

void TestPlist::deepNestingIsReadWithoutRecursion()
{
    const auto deep = PlistDocument::fromBytes(nested(100000, "<array>", "</array>"));
    PlistValue level = deep.root();
    int depth = 0;
    for (auto elements = level.elements(); !elements.empty(); elements = elements.front().elements())
        ++depth;
    QCOMPARE(depth, 100000); // the root and all nested arrays but the innermost, empty one
    QVERIFY(!PlistDocument::fromBytes(nested(100000, "<dict><key>_items</key><array>", "</array></dict>"))
                 .rootElements()
                 .empty());
    // An unclosed tower is no property list.
    QVERIFY(PlistDocument::fromBytes(plist(QByteArray("<array>").repeated(100000))).rootElements().empty());
}

void TestPlist::xmlFeaturesOfTheFormat()
{
    const auto document =
        PlistDocument::fromBytes("<?xml version=\"1.0\"?>\n<!-- written by hand -->\n"
                                 "<!DOCTYPE plist [ <!ENTITY e \"x>y\"> ]>\n"
                                 "<plist version='1.0' note=\"a>b\"><array>\n"
                                 "  <dict>\n    <key>a&amp;b</key><string>  <![CDATA[<raw> & "
                                 "]]>&lt;&#x3042;&#12354;<!-- c -->  </string>\n"
                                 "    "
                                 "<key>empty</key><string/><key>twice</key><string>first</string><key>twice</"
                                 "key><string>last</string>\n"
                                 "    <key>list</key><array/><key>map</key><dict/>\n"
                                 "  </dict>\n</array></plist>\n\nshell text after the end is ignored\n");
    const PlistValue dict = document.rootElements().at(0);
    QCOMPARE(dict.value("a&b").text(), std::optional(QStringLiteral("  <raw> & <ああ  ")));
    QCOMPARE(dict.value("empty").text(), std::optional(QString()));
    QCOMPARE(dict.value("twice").text(), std::optional(QStringLiteral("last")));
    QVERIFY(dict.value("list").isArray() && dict.value("list").elements().empty());
    QVERIFY(dict.value("map").isDict() && dict.value("map").dictValues().empty());
}

void TestPlist::strictAboutStructure_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("stray text between elements")
        << plist("<array><string>a</string>\nn<string>b</string></array>");
    QTest::newRow("key without value") << plist("<array><dict><key>a</key></dict></array>");
    QTest::newRow("value without key") << plist("<array><dict><string>a</string></dict></array>");
    QTest::newRow("mismatched closing tag") << plist("<array><dict></array></dict>");
    QTest::newRow("unknown entity") << plist("<array><string>&nbsp;</string></array>");
    QTest::newRow("unknown element") << plist("<array><foo/></array>");
    QTest::newRow("element inside text") << plist("<array><string>a<b/></string></array>");
    QTest::newRow("missing end of plist") << QByteArray("<plist><array></array>");
    QTest::newRow("unterminated comment") << plist("<array><!-- </array>");
}

void TestPlist::strictAboutStructure()
{
    QFETCH(QByteArray, bytes);
    QVERIFY(PlistDocument::fromBytes(bytes).root().isNull());
}

QTEST_GUILESS_MAIN(TestPlist)
#include "test_plist.moc"
