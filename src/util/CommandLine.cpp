#include "CommandLine.h"

#include <QCommandLineParser>
#include <QRegularExpression>

namespace commandline {

namespace {

void addOptions(QCommandLineParser &parser, std::span<const OptionText> options)
{
    for (const OptionText &option : options) {
        if (option.valueName)
            parser.addOption({QLatin1String(option.name), QString(), QLatin1String(option.valueName)});
        else
            parser.addOption(QCommandLineOption(QLatin1String(option.name)));
    }
    parser.addOption(QCommandLineOption(QStringLiteral("h")));
}

QString parseError(const QCommandLineParser &parser)
{
    if (const QStringList unknown = parser.unknownOptionNames(); !unknown.isEmpty())
        return QStringLiteral("知らないオプションです：%1%2")
            .arg(unknown.first().size() == 1 ? QStringLiteral("-") : QStringLiteral("--"), unknown.first());
    // Qt's only other complaint: "Missing value after '--server'."
    static const QRegularExpression missingValue(QStringLiteral("'(-+[^']+)'"));
    const auto match = missingValue.match(parser.errorText());
    return match.hasMatch() ? QStringLiteral("%1 には値が必要です").arg(match.captured(1))
                            : parser.errorText();
}

} // namespace

QString parse(QCommandLineParser &parser, std::span<const OptionText> options, const QStringList &arguments)
{
    addOptions(parser, options);
    return parser.parse(arguments) ? QString() : parseError(parser);
}

QString repeatedOption(const QCommandLineParser &parser)
{
    const QStringList names = parser.optionNames();
    for (qsizetype i = 0; i < names.size(); ++i) {
        if (names.indexOf(names[i], i + 1) > 0)
            return names[i];
    }
    return QString();
}

QStringList optionHelpLines(std::span<const OptionText> options)
{
    QStringList lines;
    for (const OptionText &option : options) {
        const QString name =
            QStringLiteral("--") + QLatin1String(option.name) +
            (option.valueName ? QLatin1Char(' ') + QLatin1String(option.valueName) : QString());
        lines << QStringLiteral("  %1%2").arg(name, -28).arg(QString::fromUtf8(option.description));
    }
    return lines;
}

} // namespace commandline
