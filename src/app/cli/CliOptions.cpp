#include "CliOptions.h"

#include "app/InputCheck.h"
#include "util/CommandLine.h"
#include "util/OVUtil.h"

#include <QCommandLineParser>

namespace {

// The options in the order --help lists them; their names are the interface, so they stay English.
const commandline::OptionText kOptions[] = {
    {"control-number", "A-B-C", "管理番号（例：abc-12-x123）。必須"},
    {"family-name", "TEXT", "使用者の姓。必須"},
    {"given-name", "TEXT", "使用者の名。必須"},
    {"app-dir", "DIR", "プログラムのフォルダ（SAVE/ と DAT/ のあるところ）"},
    {"deliver", nullptr, "ファイルサーバーの共有にも送る"},
    {"server", "HOST[:PORT]", "送り先のファイルサーバー（--deliver と共に）"},
    {"share-user", "USER", "共有にログオンするアカウント（--deliver と共に）"},
    {"share-password-file", "FILE", "1行目がアカウントのパスワードのファイル（--deliver と共に）"},
    {"replace", nullptr, "別のMacのファイルでも SAVE/<管理番号>.csv を置き換える"},
    {"timeout", "SECONDS", "各情報のコマンドの制限時間（秒）。OVALITH_COMMAND_TIMEOUT より優先"},
    {"quiet", nullptr, "エラーのほかは何も表示しない"},
    {"json", nullptr, "結果を1つのJSONオブジェクトとして標準出力に出す"},
    {"progress", nullptr, "端末でなくても進み具合を標準エラー出力に出す"},
    {"debug", nullptr, "最後に通過した箇所を SAVE/debug.txt に残す"},
    {"version", nullptr, "版を表示する"},
    {"help", nullptr, "この説明を表示する"},
};

void readForm(const QCommandLineParser &parser, CliOptions &options)
{
    options.controlNumberGiven = parser.isSet(QStringLiteral("control-number"));
    const QStringList parts =
        normalizedControlNumber(parser.value(QStringLiteral("control-number"))).split(QLatin1Char('-'));
    options.controlNumberWellFormed = parts.size() == 3;
    if (options.controlNumberWellFormed)
        options.form = FormValues{normalizedControlNumber(parts[0]), normalizedControlNumber(parts[1]),
                                  normalizedControlNumber(parts[2]), QString(), QString()};
    options.form.firstName = parser.value(QStringLiteral("family-name"));
    options.form.lastName = parser.value(QStringLiteral("given-name"));
}

QString missingOptions(const QCommandLineParser &parser)
{
    QStringList missing;
    for (const char *name : {"control-number", "family-name", "given-name"}) {
        if (!parser.isSet(QLatin1String(name)))
            missing << QStringLiteral("--") + QLatin1String(name);
    }
    return missing.isEmpty() ? QString()
                             : missing.join(QStringLiteral("、")) + QStringLiteral(" がありません");
}

void readSwitches(const QCommandLineParser &parser, CliOptions &options)
{
    const auto isSet = [&parser](const char *name) { return parser.isSet(QLatin1String(name)); };
    const auto value = [&parser](const char *name) { return parser.value(QLatin1String(name)); };
    options.appDir = value("app-dir");
    options.debug = isSet("debug");
    options.deliver = isSet("deliver");
    options.server = value("server");
    options.shareUser = value("share-user");
    if (isSet("share-password-file"))
        options.sharePasswordFile = value("share-password-file");
    options.replace = isSet("replace");
    options.quiet = isSet("quiet");
    options.json = isSet("json");
    options.progress = isSet("progress");
    if (isSet("timeout"))
        options.timeout = value("timeout");
    options.help = isSet("help") || isSet("h");
}

QString timeoutError(const std::optional<QString> &timeout)
{
    if (!timeout)
        return QString();
    bool ok = false;
    const double seconds = timeout->trimmed().toDouble(&ok);
    return ok && seconds > 0 && seconds < 2.6e6
               ? QString()
               : QStringLiteral("--timeout は正の秒数です：%1").arg(*timeout);
}

} // namespace

CliOptions CliOptions::parse(const QStringList &arguments)
{
    CliOptions options;
    QCommandLineParser parser;
    options.error = commandline::parse(parser, kOptions, arguments);
    if (!options.error.isEmpty()) {
        options.json = arguments.contains(QStringLiteral("--json"));
        return options;
    }
    readSwitches(parser, options);
    readForm(parser, options);
    if (options.help)
        return options;
    if (!parser.positionalArguments().isEmpty())
        options.error = QStringLiteral("余分な引数です：%1").arg(parser.positionalArguments().first());
    else if (const QString repeated = commandline::repeatedOption(parser); !repeated.isEmpty())
        options.error = QStringLiteral("--%1 が2回以上あります").arg(repeated);
    else if (const QString missing = missingOptions(parser); !missing.isEmpty())
        options.error = missing;
    else
        options.error = timeoutError(options.timeout);
    return options;
}

QString cliHelpText()
{
    QStringList lines{
        QStringLiteral("使い方: ovalith-collect --control-number A-B-C --family-name TEXT --given-name TEXT "
                       "[オプション]"),
        QStringLiteral("このMacのインベントリを集め、SAVE/<管理番号>.csv（コードページ932）に保存します。"),
        QString(), QStringLiteral("オプション:")};
    lines << commandline::optionHelpLines(kOptions);
    lines << QString()
          << QStringLiteral("プログラムのフォルダ（--app-dir がないとき）: ") +
                 OVUtil::describeDefaultDirectory();
    lines << QString() << QStringLiteral("終了コード:")
          << QStringLiteral("  0  保存した（--deliver では送信も済んだ）")
          << QStringLiteral("  1  保存できなかった")
          << QStringLiteral("  2  入力か使い方の誤り（何も書いていない）")
          << QStringLiteral("  3  保存したが、サーバーへ送れなかった")
          << QStringLiteral("  4  保存したが、一部の情報を収集できなかった")
          << QStringLiteral("  5  同じ管理番号のファイルが別のMacのもの（--replace で置き換える）")
          << QStringLiteral(
                 "  130, 143, 129  保存の前に SIGINT, SIGTERM, SIGHUP で中断した（何も保存していない）");
    lines << QString() << QStringLiteral("環境変数:")
          << QStringLiteral("  OVALITH_SYSTEM_PROFILER      system_profiler の代わりに使うコマンド")
          << QStringLiteral("  OVALITH_COMMAND_TIMEOUT      各情報のコマンドの制限時間（秒）")
          << QStringLiteral("  OVALITH_SERIAL_COMMANDS      1 のとき、情報のコマンドを1つずつ実行する")
          << QStringLiteral("  OVALITH_FILE_SERVER          送り先のファイルサーバー")
          << QStringLiteral("  OVALITH_SHARE_USER           共有にログオンするアカウント")
          << QStringLiteral("  OVALITH_SHARE_PASSWORD_FILE  1行目がそのパスワードのファイル");
    lines << QString()
          << QStringLiteral("送り先の設定は DAT/delivery.ini にも書けます（オプション、環境変数、"
                            "DAT/delivery.ini の順に優先）。");
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}
