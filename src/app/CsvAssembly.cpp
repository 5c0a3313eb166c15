#include "CsvAssembly.h"

#include "records/RecordNames.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// Appends the field with every ",", CR and LF as a space and every "(null)" removed, in that order.
void appendCleaned(QString &text, const OptionalText &field)
{
    if (!field)
        return;
    const qsizetype start = text.size();
    text += *field;
    for (QChar *c = text.data() + start, *end = text.data() + text.size(); c != end; ++c) {
        if (*c == u',' || *c == u'\r' || *c == u'\n')
            *c = u' ';
    }
    if (QStringView(text).sliced(start).contains(u"(null)")) {
        const QString cleaned = text.mid(start).remove(u"(null)"_s);
        text.truncate(start);
        text += cleaned;
    }
}

qsizetype lineLength(const OVCSVRecord &record, qsizetype firstColumn)
{
    qsizetype length = firstColumn + 8;
    for (const OptionalText *field : {&record.group(), &record.item(), &record.subItem(), &record.contents(),
                                      &record.unit(), &record.renewalday()})
        length += field->has_value() ? (*field)->size() : 0;
    return length;
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
    for (const OVInventoryBase *collector : collectors.inFileOrder())
        appendAll(working, collector->csvRecords());
    appendAll(working, manageInfo);

    RecordList all;
    all.reserve(working.size() + 2);
    const QStringList header = recordnames::kHeader.split(u',');
    all.push_back(std::make_shared<const OVCSVRecord>(header[0], header[1], header[2], header[3], header[4],
                                                      header[5], header[6]));
    const QString date = now(recordnames::kCreateDateFormat);
    const QString time = now(recordnames::kCreateTimeFormat);
    const QString dateAgain = now(u"yyyy/MM/dd"_s);
    all.push_back(std::make_shared<const OVCSVRecord>(macAddress, recordnames::kCreate,
                                                      recordnames::kDateTime, date, time, u""_s, dateAgain));
    appendAll(all, working);
    return all;
}

QString createAllCSVText(const RecordList &records, const QString &managementNumber)
{
    qsizetype length = 0;
    for (const RecordPtr &record : records)
        length +=
            lineLength(*record, std::max(managementNumber.size(), record->key().value_or(QString()).size()));
    QString text;
    text.reserve(length);
    for (std::size_t i = 0; i < records.size(); ++i) {
        const OVCSVRecord &record = *records[i];
        if (i == 0)
            appendCleaned(text, record.key());
        else
            text += managementNumber;
        for (const OptionalText *field : {&record.group(), &record.item(), &record.subItem(),
                                          &record.contents(), &record.unit(), &record.renewalday()}) {
            text += QLatin1Char(',');
            appendCleaned(text, *field);
        }
        text += QLatin1String("\r\n");
    }
    return text;
}
