#include "Facts.h"

#include <QRegularExpression>

namespace {

struct Printer
{
    QString name;
    QString uri;
    QString model;
    bool isDefault = false;
};

// CUPS's own list (readable by root): <Printer NAME> and <DefaultPrinter NAME> blocks.
std::vector<Printer> configuredPrinters(const SystemRoot &root)
{
    std::vector<Printer> printers;
    static const QRegularExpression kOpen(QStringLiteral("^<(Default)?Printer\\s+([^>]+)>"));
    for (const QString &raw : root.lines(QStringLiteral("/etc/cups/printers.conf"))) {
        const QString line = raw.trimmed();
        if (const auto open = kOpen.match(line); open.hasMatch()) {
            printers.push_back(
                {open.captured(2).trimmed(), QString(), QString(), !open.captured(1).isEmpty()});
        } else if (!printers.empty() && line.startsWith(QLatin1String("DeviceURI "))) {
            printers.back().uri = line.mid(10).trimmed();
        } else if (!printers.empty() && line.startsWith(QLatin1String("MakeModel "))) {
            printers.back().model = line.mid(10).trimmed();
        }
    }
    return printers;
}

// The user's choice of default (lpoptions) overrides the system's.
QString chosenDefault(const SystemRoot &root)
{
    const QString home = qEnvironmentVariable("HOME");
    for (const QString &file :
         {home + QStringLiteral("/.cups/lpoptions"), QStringLiteral("/etc/cups/lpoptions")}) {
        for (const QString &line : root.lines(file)) {
            if (line.startsWith(QLatin1String("Default ")))
                return line.mid(8).section(QLatin1Char(' '), 0, 0).section(QLatin1Char('/'), 0, 0);
        }
    }
    return QString();
}

// Without the list, what lpstat tells any user: the default destination and its device.
std::vector<Printer> printersFromLpstat(const SystemRoot &root)
{
    const auto destination = root.tool(QStringLiteral("LC_ALL=C lpstat -d"));
    if (!destination || !destination->contains(QLatin1Char(':')))
        return {};
    Printer printer{destination->section(QLatin1Char(':'), 1).trimmed(), QString(), QString(), true};
    const auto device = root.tool(QStringLiteral("LC_ALL=C lpstat -v"));
    for (const QString &line : device.value_or(QString()).split(QLatin1Char('\n'))) {
        if (line.startsWith(QStringLiteral("device for %1:").arg(printer.name)))
            printer.uri = line.section(QLatin1Char(':'), 1).trimmed();
    }
    const QString nickName =
        QRegularExpression(QStringLiteral("\\*NickName:\\s*\"([^\"]*)\""))
            .match(QString::fromUtf8(
                root.read(QStringLiteral("/etc/cups/ppd/%1.ppd").arg(printer.name)).value_or(QByteArray())))
            .captured(1);
    printer.model = nickName;
    return {printer};
}

} // namespace

PValue::List printerItems(const SystemRoot &root)
{
    std::vector<Printer> printers = configuredPrinters(root);
    if (printers.empty())
        printers = printersFromLpstat(root);
    if (const QString chosen = chosenDefault(root); !chosen.isEmpty()) {
        for (Printer &printer : printers)
            printer.isDefault = printer.name == chosen;
    }
    PValue::List items;
    for (const Printer &printer : printers) {
        PValue::Dict item{
            {QStringLiteral("_name"), printer.name},
            {QStringLiteral("default"), printer.isDefault ? QStringLiteral("yes") : QStringLiteral("no")}};
        putText(item, QStringLiteral("ppd"), printer.model);
        putText(item, QStringLiteral("uri"), printer.uri);
        items.push_back(PValue(item));
    }
    return items;
}
