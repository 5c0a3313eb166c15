#include "CliRun.h"
#include "TestSupport.h"
#include "util/Cp932.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

using namespace testsupport;

// ovalith-report over folders of files that ovalith-collect wrote from real captures, its workbook read
// back with openpyxl.
class TestReport : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void campaignWorkbookHasEverySheet();
    void changesSinceAnEarlierCampaign();
    void badInputIsNamedNotFatal();
    void usageAndFailuresSayWhy();

private:
    QString collectInto(const QString &appDir, const QString &capture, const QString &number);

    std::unique_ptr<StubEnvironment> m_stubs;
    QString m_python;
};

namespace {

CliResult report(const QStringList &arguments)
{
    return collect(arguments, OVALITH_REPORT_PROGRAM);
}

// Every sheet by name: its rows as JSON arrays, its frozen cell and its filter.
QJsonObject readWorkbook(const QString &python, const QString &path)
{
    QProcess reader;
    reader.start(python, {OVALITH_WORKBOOK_READER, path});
    if (!reader.waitForFinished(60000) || reader.exitCode() != 0) {
        qWarning() << reader.readAllStandardError();
        return {};
    }
    QJsonObject sheets;
    for (const QJsonValue sheet : QJsonDocument::fromJson(reader.readAllStandardOutput()).array())
        sheets.insert(sheet[QStringLiteral("name")].toString(), sheet.toObject());
    return sheets;
}

QStringList sheetNames(const QString &python, const QString &path)
{
    QProcess reader;
    reader.start(python, {OVALITH_WORKBOOK_READER, path});
    reader.waitForFinished(60000);
    QStringList names;
    for (const QJsonValue sheet : QJsonDocument::fromJson(reader.readAllStandardOutput()).array())
        names << sheet[QStringLiteral("name")].toString();
    return names;
}

// A sheet's rows below its header, each cell as text ("" for an empty one, numbers without ".0").
QList<QStringList> rowsOf(const QJsonObject &sheets, const QString &name)
{
    QList<QStringList> rows;
    const QJsonArray all = sheets[name][QStringLiteral("rows")].toArray();
    for (qsizetype r = 1; r < all.size(); ++r) {
        QStringList cells;
        for (const QJsonValue cell : all[r].toArray())
            cells << (cell.isDouble() ? QString::number(cell.toDouble(), 'g', 15) : cell.toString());
        rows << cells;
    }
    return rows;
}

QStringList headerOf(const QJsonObject &sheets, const QString &name)
{
    QStringList cells;
    for (const QJsonValue cell : sheets[name][QStringLiteral("rows")].toArray().first().toArray())
        cells << cell.toString();
    return cells;
}

// Moves a file's creation line (and nothing else) to another day, as an old campaign's file has it.
void backdate(const QString &path, const QByteArray &date)
{
    QByteArray bytes = readFile(path);
    bytes.replace(QRegularExpression(",Create,DateTime,\\d{4}/\\d\\d/\\d\\d,")
                      .match(QString::fromLatin1(bytes))
                      .captured(0)
                      .toLatin1(),
                  ",Create,DateTime," + date + ",");
    writeFile(path, bytes);
}

// The applications of the files, counted here from the bytes: one per machine however often listed.
QMap<QString, int> applicationCounts(const QStringList &paths)
{
    QMap<QString, int> counts;
    for (const QString &path : paths) {
        QSet<QString> seen;
        for (const QString &line : cp932::decode(readFile(path)).value_or(QString()).split("\r\n")) {
            const QStringList fields = line.split(',');
            if (fields.size() == 7 && fields[1] == "Soft" && fields[2] == "Application")
                seen.insert(fields[3] + "|" + fields[4]);
        }
        for (const QString &app : seen)
            counts[app] += 1;
    }
    return counts;
}

// A copy of a capture to change.
QString copyCapture(const QTemporaryDir &into, const QString &capture)
{
    for (const QString &name : QDir(fixture(capture)).entryList(QDir::Files))
        QFile::copy(fixture(capture + "/" + name), into.filePath(name));
    return into.path();
}

void replaceIn(const QString &path, const QByteArray &from, const QByteArray &to)
{
    QByteArray bytes = readFile(path);
    QVERIFY2(bytes.contains(from), from.constData());
    writeFile(path, bytes.replace(from, to));
}

} // namespace

void TestReport::initTestCase()
{
    for (const QString &python : {QStringLiteral("/usr/bin/python3"), QStringLiteral("python3")}) {
        if (QProcess::execute(python, {"-c", "import openpyxl"}) == 0) {
            m_python = python;
            return;
        }
    }
}

void TestReport::init()
{
    renewStubs(m_stubs);
    m_stubs->serveIfconfig("en0: flags=8863\n\tether 3c:07:54:74:1e:2b\n");
}

QString TestReport::collectInto(const QString &appDir, const QString &capture, const QString &number)
{
    m_stubs->servePlists(capture.startsWith('/') ? capture : fixture(capture));
    const CliResult result = collect({"--app-dir", appDir, "--control-number", number, "--family-name",
                                      "山田", "--given-name", "太郎", "--quiet", "--replace"});
    if (result.exitCode != 0 && result.exitCode != 4)
        qWarning() << result.err;
    return appDir + "/SAVE/" + number + ".csv";
}

void TestReport::campaignWorkbookHasEverySheet()
{
    if (m_python.isEmpty())
        QSKIP("no Python with openpyxl to read the workbook back (Debian: python3-openpyxl)");
    QTemporaryDir app;
    QDir().mkpath(app.filePath("DAT"));
    QFile::copy(fixture("../../resources/DAT/Kanri_no.TxT"), app.filePath("DAT/Kanri_no.TxT"));
    const QStringList files{
        collectInto(app.path(), "machines/imac-t2-macos13", "abc-12-x123"),
        collectInto(app.path(), "machines/macbookpro-m3pro-macos26", "abc-12-x124"),
        // The same Mac again under a mistyped number.
        collectInto(app.path(), "machines/macbookpro-m3pro-macos26", "mac-01-0001"),
        [&] {
            m_stubs->set("OVALITH_STUB_FAIL", "SPPrintersDataType");
            const QString path = collectInto(app.path(), "real/grr-MacBookPro18_3-M1Pro-14", "mac-01-0002");
            m_stubs->set("OVALITH_STUB_FAIL", "");
            return path;
        }(),
        collectInto(app.path(), "real/facter-MacBookPro11_3-10.9", "mac-02-b202"),
    };
    backdate(files.last(), "2020/04/01");
    writeFile(app.filePath("SAVE/壊れた ファイル.csv"), QByteArray("\x82\xa0\xff\x00garbage", 11));
    const QString workbook = app.filePath("キャンペーン 2026.xlsx");

    const CliResult result =
        report({"--list", app.filePath("DAT/Kanri_no.TxT"), "--output", workbook, app.filePath("SAVE")});
    QCOMPARE(result.err, QString());
    QCOMPARE(result.exitCode, 0);
    QCOMPARE(result.out, "ファイル 6 件（読めないもの 1 件）\n"
                         "収集済み 5 台 / 一覧 5 台（未収集 1 台）\n"
                         "不完全 1 台、重複 2 台、古い 1 台、問題 7 件\n"
                         "ブック：" +
                             workbook + "\n");
    const QJsonObject sheets = readWorkbook(m_python, workbook);
    QCOMPARE(sheetNames(m_python, workbook), (QStringList{"一覧", "未収集", "問題", "アプリケーション"}));

    // 一覧: one row per number, its facts from the file, its state in words.
    const QList<QStringList> machines = rowsOf(sheets, "一覧");
    QCOMPARE(headerOf(sheets, "一覧"),
             (QStringList{"管理番号", "使用者", "コンピュータ名", "機種", "シリアル番号", "CPU", "メモリ",
                          "ディスク容量（MB）", "空き容量（MB）", "OS", "MACアドレス", "作成日時", "状態",
                          "収集できなかった情報", "重複", "古い", "一覧", "ファイル"}));
    QCOMPARE(machines.size(), 5);
    QStringList numbers;
    for (const QStringList &row : machines)
        numbers << row[0];
    QCOMPARE(numbers,
             (QStringList{"abc-12-x123", "abc-12-x124", "mac-01-0001", "mac-01-0002", "mac-02-b202"}));
    const QStringList &imac = machines[0];
    QCOMPARE(imac.mid(1, 2), (QStringList{"山田 太郎", imac[2]}));
    QCOMPARE(imac.mid(3, 2), (QStringList{"iMac20 1", "C02DX1YZPN70"}));
    QCOMPARE(imac[6], "32 GB");
    QVERIFY2(imac[9].contains("13.6.1"), qPrintable(imac[9]));
    QVERIFY(QRegularExpression("^\\d{4}/\\d\\d/\\d\\d \\d\\d:\\d\\d:\\d\\d$").match(imac[11]).hasMatch());
    QCOMPARE(imac.mid(12, 5), (QStringList{"完了", "", "", "", ""}));
    QCOMPARE(imac[17], files[0]);
    QCOMPARE(machines[1][14], "MACアドレス、シリアル番号");
    QCOMPARE(machines[2][14], "MACアドレス、シリアル番号");
    QCOMPARE(machines[1][4], "K7Q2XY9W1N");
    QCOMPARE(machines[3].mid(12, 2), (QStringList{"不完全", "プリンタ"}));
    QCOMPARE(machines[4].mid(14, 3), (QStringList{"", "古い", "一覧にない"}));
    QVERIFY(machines[4][11].startsWith("2020/04/01 "));
    const QJsonObject list = sheets["一覧"].toObject();
    QCOMPARE(list["frozen"].toString(), "A2");
    QCOMPARE(list["filter"].toString(), "A1:R6");
    QVERIFY(list["widths"].toObject()["R"].toDouble() > 20); // the paths are wide

    QCOMPARE(rowsOf(sheets, "未収集"), (QList<QStringList>{{"mac-02-a101"}}));

    // 問題: every problem with its file; the two numbers of one Mac go together by what they share.
    QStringList problems;
    for (const QStringList &row : rowsOf(sheets, "問題"))
        problems << row[0] + "|" + row[1] + "|" + row[3] + "|" + QFileInfo(row[4]).fileName();
    QCOMPARE(problems,
             (QStringList{"読めないファイル|||壊れた ファイル.csv", "不完全|mac-01-0002||mac-01-0002.csv",
                          "同じMACアドレス|abc-12-x124|" + machines[1][10] + "|abc-12-x124.csv",
                          "同じMACアドレス|mac-01-0001|" + machines[1][10] + "|mac-01-0001.csv",
                          "同じシリアル番号|abc-12-x124|K7Q2XY9W1N|abc-12-x124.csv",
                          "同じシリアル番号|mac-01-0001|K7Q2XY9W1N|mac-01-0001.csv",
                          "古いファイル|mac-02-b202||mac-02-b202.csv"}));
    QVERIFY(!machines[1][10].isEmpty());

    // アプリケーション: every name and version with the machines that have it, as counted here.
    QMap<QString, int> counted;
    for (const QStringList &row : rowsOf(sheets, "アプリケーション"))
        counted[row[0] + "|" + row[1]] = row[2].toInt();
    QCOMPARE(counted, applicationCounts(files));
    QCOMPARE(counted.value("Safari|26.1"), 2);
}

void TestReport::changesSinceAnEarlierCampaign()
{
    if (m_python.isEmpty())
        QSKIP("no Python with openpyxl to read the workbook back (Debian: python3-openpyxl)");
    QTemporaryDir before;
    QTemporaryDir now;
    collectInto(before.path(), "machines/imac-t2-macos13", "abc-12-x123");
    collectInto(before.path(), "machines/macbookpro-m3pro-macos26", "abc-12-x124");
    // A year on: the iMac has more memory, a newer macOS, a newer Safari, and Numbers instead of Keynote.
    QTemporaryDir changed;
    const QString plists = copyCapture(changed, "machines/imac-t2-macos13");
    replaceIn(plists + "/SPHardwareDataType.xml", "<string>32 GB</string>", "<string>64 GB</string>");
    replaceIn(plists + "/SPSoftwareDataType.xml", "macOS 13.6.1 (22G313)", "macOS 14.7.1 (23H222)");
    replaceIn(plists + "/SPApplicationsDataType.xml", "<string>17.1</string>", "<string>18.1</string>");
    replaceIn(plists + "/SPApplicationsDataType.xml", "<string>Keynote</string>", "<string>Numbers</string>");
    collectInto(now.path(), plists, "abc-12-x123");
    collectInto(now.path(), "machines/macbookpro-m3pro-macos26", "abc-12-x124");

    const QString workbook = now.filePath("changes.xlsx");
    const CliResult result =
        report({"--previous", before.filePath("SAVE"), "--output", workbook, now.filePath("SAVE")});
    QCOMPARE(result.exitCode, 0);
    QVERIFY2(result.out.contains("前回からの変更 6 件\n"), qPrintable(result.out));
    const QJsonObject sheets = readWorkbook(m_python, workbook);
    QCOMPARE(sheetNames(m_python, workbook), (QStringList{"一覧", "問題", "アプリケーション", "変更"}));
    QList<QStringList> changes = rowsOf(sheets, "変更");
    for (QStringList &row : changes) {
        while (row.size() < 5)
            row << QString();
    }
    QCOMPARE(changes, (QList<QStringList>{
                          {"abc-12-x123", "", "メモリ", "32 GB", "64 GB"},
                          {"abc-12-x123", "", "OS", changes.value(1).value(3), changes.value(1).value(4)},
                          {"abc-12-x123", "", "アプリケーションの追加", "", "Numbers 13.2"},
                          {"abc-12-x123", "", "アプリケーションの追加", "", "Safari 18.1"},
                          {"abc-12-x123", "", "アプリケーションの削除", "Keynote 13.2", ""},
                          {"abc-12-x123", "", "アプリケーションの削除", "Safari 17.1", ""},
                      }));
    QVERIFY2(changes[1][3].contains("13.6.1") && changes[1][4].contains("14.7.1"),
             qPrintable(changes[1].join('|')));
}

void TestReport::badInputIsNamedNotFatal()
{
    if (m_python.isEmpty())
        QSKIP("no Python with openpyxl to read the workbook back (Debian: python3-openpyxl)");
    QTemporaryDir folder;
    const QString workbook = folder.filePath("out.xlsx");
    // An empty folder: a workbook with its headers, and a word that there was nothing to read.
    QDir().mkpath(folder.filePath("empty"));
    CliResult result = report({"--output", workbook, folder.filePath("empty")});
    QCOMPARE(result.exitCode, 0);
    QCOMPARE(result.err, "ovalith-report: CSVファイルが見つかりません：" + folder.filePath("empty") + "\n");
    QCOMPARE(rowsOf(readWorkbook(m_python, workbook), "一覧"), QList<QStringList>());

    // Files that are not ours, each named with its reason; one good file beside them still counts.
    QTemporaryDir app;
    collectInto(app.path(), "machines/imac-t2-macos13", "abc-12-x123");
    const QString save = app.filePath("SAVE/");
    QByteArray random(4096, '\0');
    for (qsizetype i = 0; i < random.size(); ++i)
        random[i] = char((i * 7919 + 13) % 251);
    writeFile(save + "ランダム.csv", random);
    writeFile(save + "utf8 の ファイル.csv", "Key,Group,Item,SubItem,Contents,Unit,Renewalday\r\nabc-12-x125,"
                                             "資産,管理情報,姓,山田,,2026/12/07\r\n");
    writeFile(save + "empty.csv", "");
    writeFile(save + "columns.csv",
              "Key,Group,Item,SubItem,Contents,Unit,Renewalday\r\nabc-12-x126,LAN,LAN\r\n");
    writeFile(save + "two numbers.csv", "Key,Group,Item,SubItem,Contents,Unit,Renewalday\r\n"
                                        "abc-12-x127,Create,DateTime,2026/12/07,10:00:00,,2026/12/07\r\n"
                                        "abc-12-x128,LAN,LAN,x,y,,2026/12/07\r\n");
    writeFile(save + "abc-12-x129.incomplete.txt", "note");
    result = report({"--output", workbook, app.filePath("SAVE")});
    QCOMPARE(result.exitCode, 0);
    const QJsonObject sheets = readWorkbook(m_python, workbook);
    QCOMPARE(rowsOf(sheets, "一覧").size(), 1);
    QStringList problems;
    for (const QStringList &row : rowsOf(sheets, "問題"))
        problems << row[0] + "|" + QFileInfo(row[4]).fileName() + "|" + row[2];
    QCOMPARE(
        problems,
        (QStringList{
            "読めないファイル|columns.csv|2行目の列の数が3です（7列のはずです）",
            "読めないファイル|empty.csv|空のファイルです",
            "読めないファイル|two numbers.csv|3行目の管理番号が2行目と違います",
            "読めないファイル|utf8 の ファイル.csv|UTF-8で書かれています（コードページ932ではありません）",
            "読めないファイル|ランダム.csv|コードページ932（Shift_JIS）として読めません",
            "ファイルのない不完全の記録|abc-12-x129.incomplete.txt|"
            "不完全の記録だけがあり、CSVファイルがありません",
        }));
}

void TestReport::usageAndFailuresSayWhy()
{
    QTemporaryDir folder;
    const QString pointer = "ovalith-report: 使い方は ovalith-report --help で見られます。\n";
    CliResult result = report({folder.path()});
    QCOMPARE(result.exitCode, 2);
    QCOMPARE(result.err, "ovalith-report: --output がありません\n" + pointer);
    result = report({"--output", folder.filePath("a.xlsx"), "--stale-days", "a year", folder.path()});
    QCOMPARE(result.exitCode, 2);
    QCOMPARE(result.err, "ovalith-report: --stale-days は0以上の日数です：a year\n" + pointer);
    // A folder that is not there is no campaign of nothing: nothing is written.
    result = report({"--output", folder.filePath("a.xlsx"), folder.filePath("stick")});
    QCOMPARE(result.exitCode, 2);
    QCOMPARE(result.err, "ovalith-report: フォルダがありません：" + folder.filePath("stick") + "\n");
    QVERIFY(!QFile::exists(folder.filePath("a.xlsx")));
    // A workbook that cannot be written: exit 1 with the reason, and nothing half-written left behind.
    result = report({"--json", "--output", folder.filePath("no/such/dir/a.xlsx"), folder.path()});
    QCOMPARE(result.exitCode, 1);
    const QJsonObject json = QJsonDocument::fromJson(result.out.toUtf8()).object();
    QCOMPARE(json["exitCode"].toInt(), 1);
    QVERIFY(json["workbook"].isNull());
    QCOMPARE(json["errors"].toArray().last().toString(), "ブックを書き出せません：" +
                                                             folder.filePath("no/such/dir/a.xlsx") +
                                                             "（書き出し先のフォルダがありません）");
    QCOMPARE(QDir(folder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList());
    // --json on success: the counts a script needs.
    QDir().mkpath(folder.filePath("SAVE"));
    result = report({"--json", "--output", folder.filePath("a.xlsx"), folder.filePath("SAVE")});
    QCOMPARE(result.exitCode, 0);
    const QJsonObject written = QJsonDocument::fromJson(result.out.toUtf8()).object();
    QCOMPARE(written["workbook"].toString(), folder.filePath("a.xlsx"));
    QCOMPARE(written["files"].toInt(), 0);
    QVERIFY(written["expected"].isNull());
    QVERIFY(QFile::exists(folder.filePath("a.xlsx")));
    // --help without anything else, on stdout.
    result = report({"--help"});
    QCOMPARE(result.exitCode, 0);
    QVERIFY(result.out.startsWith("使い方: ovalith-report --output FILE.xlsx [オプション] FOLDER...\n"));
    QVERIFY(result.out.contains("  --stale-days DAYS"));
}

QTEST_GUILESS_MAIN(TestReport)
#include "test_report.moc"
