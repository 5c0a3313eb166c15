#include "CsvAssembly.h"

using namespace Qt::StringLiterals;

namespace {

QString cleanField(const OptionalText &field)
{
    if (!field)
        return QString();
    QString text = *field;
    text.replace(QLatin1Char(','), QLatin1Char(' '));
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    text.remove(QStringLiteral("(null)"));
    return text;
}

void appendAll(RecordList &target, const RecordList &source)
{
    target.insert(target.end(), source.begin(), source.end());
}

} // namespace

RecordList combineCSVRecords(OVCollectors &collectors, const RecordList &manageInfo,
                             const QString &macAddress,
                             const std::function<QString(const QString &pattern)> &now)
{
    if (collectors.bluetooth->csvRecords().empty() && collectors.usb->csvRecords().empty()) {
        collectors.usb->csvRecords().push_back(std::make_shared<const OVCSVRecord>(
            macAddress, u"Hard"_s, u"Keyboard"_s, u"キーボード"_s, u""_s, u""_s, now(u"yyyy/MM/dd"_s)));
    }
    RecordList working;
    const std::initializer_list<const OVInventoryBase *> fileOrder = {
        collectors.network.get(), collectors.hardware.get(),  collectors.hdd.get(),
        collectors.display.get(), collectors.bluetooth.get(), collectors.usb.get(),
        collectors.printer.get(), collectors.os.get(),        collectors.software.get()};
    for (const OVInventoryBase *collector : fileOrder)
        appendAll(working, collector->csvRecords());
    appendAll(working, manageInfo);

    RecordList all;
    all.reserve(working.size() + 2);
    all.push_back(std::make_shared<const OVCSVRecord>(u"Key"_s, u"Group"_s, u"Item"_s, u"SubItem"_s,
                                                      u"Contents"_s, u"Unit"_s, u"Renewalday"_s));
    const QString date = now(u"yyyy/MM/dd"_s);
    const QString time = now(u"HH:mm:ss"_s);
    const QString dateAgain = now(u"yyyy/MM/dd"_s);
    all.push_back(std::make_shared<const OVCSVRecord>(macAddress, u"Create"_s, u"DateTime"_s, date, time,
                                                      u""_s, dateAgain));
    appendAll(all, working);
    return all;
}

QString createAllCSVText(const RecordList &records, const QString &managementNumber)
{
    QString text;
    text.reserve(static_cast<qsizetype>(records.size()) * 96);
    for (std::size_t i = 0; i < records.size(); ++i) {
        const OVCSVRecord &record = *records[i];
        text += i == 0 ? cleanField(record.key()) : managementNumber;
        for (const OptionalText *field : {&record.group(), &record.item(), &record.subItem(),
                                          &record.contents(), &record.unit(), &record.renewalday()}) {
            text += QLatin1Char(',');
            text += cleanField(*field);
        }
        text += QLatin1String("\r\n");
    }
    return text;
}
