#include "ReportOptions.h"

#include "util/CommandLine.h"

#include <QCommandLineParser>

namespace {

// The options in the order --help lists them; their names are the interface, so they stay English.
const commandline::OptionText kOptions[] = {
    {"output", "FILE", "書き出すブック（.xlsx）。必須"},
    {"list", "FILE", "サイトの管理番号の一覧（DAT/Kanri_no.TxT）。未収集の番号を出す"},
    {"previous", "FOLDER", "前回のキャンペーンのフォルダ。機械ごとの変更を出す"},
    {"stale-days", "DAYS", "これより古いファイルを古いとする日数（既定 365）"},
    {"recursive", nullptr, "フォルダの下のフォルダも読む"},
    {"json", nullptr, "結果を1つのJSONオブジェクトとして標準出力に出す"},
    {"quiet", nullptr, "エラーのほかは何も表示しない"},
    {"version", nullptr, "版を表示する"},
    {"help", nullptr, "この説明を表示する"},
};

std::optional<int> daysOf(const QString &text)
{
    bool ok = false;
    const int days = text.trimmed().toInt(&ok);
    return ok && days >= 0 ? std::optional<int>(days) : std::nullopt;
}

void readOptions(const QCommandLineParser &parser, ReportOptions &options)
{
    const auto isSet = [&parser](const char *name) { return parser.isSet(QLatin1String(name)); };
    const auto value = [&parser](const char *name) { return parser.value(QLatin1String(name)); };
    options.output = value("output");
    if (isSet("list"))
        options.list = value("list");
    if (isSet("previous"))
        options.previous = value("previous");
    options.recursive = isSet("recursive");
    options.json = isSet("json");
    options.quiet = isSet("quiet");
    options.help = isSet("help") || isSet("h");
    options.folders = parser.positionalArguments();
}

QString usageProblem(const QCommandLineParser &parser, ReportOptions &options)
{
    if (const QString repeated = commandline::repeatedOption(parser); !repeated.isEmpty())
        return QStringLiteral("--%1 が2回以上あります").arg(repeated);
    QStringList missing;
    if (!parser.isSet(QStringLiteral("output")))
        missing << QStringLiteral("--output");
    if (options.folders.isEmpty())
        missing << QStringLiteral("読むフォルダ");
    if (!missing.isEmpty())
        return missing.join(QStringLiteral("、")) + QStringLiteral(" がありません");
    if (options.output.isEmpty())
        return QStringLiteral("--output には値が必要です");
    if (parser.isSet(QStringLiteral("stale-days"))) {
        const QString text = parser.value(QStringLiteral("stale-days"));
        const std::optional<int> days = daysOf(text);
        if (!days)
            return QStringLiteral("--stale-days は0以上の日数です：%1").arg(text);
        options.staleDays = *days;
    }
    return QString();
}

} // namespace

ReportOptions ReportOptions::parse(const QStringList &arguments)
{
    ReportOptions options;
    QCommandLineParser parser;
    options.error = commandline::parse(parser, kOptions, arguments);
    if (!options.error.isEmpty()) {
        options.json = arguments.contains(QStringLiteral("--json"));
        return options;
    }
    readOptions(parser, options);
    if (!options.help)
        options.error = usageProblem(parser, options);
    return options;
}

QString reportHelpText()
{
    QStringList lines{
        QStringLiteral("使い方: ovalith-report --output FILE.xlsx [オプション] FOLDER..."),
        QStringLiteral(
            "フォルダのインベントリのCSVファイル（ovalith-collect と ovalith が書いたもの）を読み、"
            "キャンペーン全体を1つのExcelブックにまとめます。"),
        QStringLiteral(
            "シート：一覧、未収集（--list のとき）、問題、アプリケーション、変更（--previous のとき）。"),
        QString(), QStringLiteral("オプション:")};
    lines << commandline::optionHelpLines(kOptions);
    lines << QString() << QStringLiteral("終了コード:")
          << QStringLiteral(
                 "  0  ブックを書き出した（読めないファイルなどの問題はブックの「問題」シートに出る）")
          << QStringLiteral("  1  ブックを書き出せなかった")
          << QStringLiteral("  2  使い方の誤り、ないフォルダ、読めない一覧（何も書いていない）");
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}
