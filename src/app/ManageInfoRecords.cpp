#include "ManageInfoRecords.h"

using namespace Qt::StringLiterals;

RecordList createManageInfoCSVRecords(const FormValues &form, const QString &macAddress,
                                      const std::function<QString()> &nowDate)
{
    RecordList records;
    const auto append = [&](const QString &subItem, const QString &contents) {
        records.push_back(std::make_shared<const OVCSVRecord>(macAddress, u"資産"_s, u"管理情報"_s, subItem,
                                                              contents, u""_s, nowDate()));
    };
    if (const QString family = form.firstName.trimmed(); !family.isEmpty())
        append(u"姓"_s, family);
    if (const QString given = form.lastName.trimmed(); !given.isEmpty())
        append(u"名"_s, given);
    // Always has its two hyphens, so it is never empty.
    append(u"管理番号"_s, form.managementNumber());
    return records;
}
