#include "ManageInfoRecords.h"

#include "records/RecordNames.h"

using namespace Qt::StringLiterals;

RecordList createManageInfoCSVRecords(const FormValues &form, const QString &macAddress,
                                      const std::function<QString()> &nowDate)
{
    RecordList records;
    const auto append = [&](const recordnames::Fact &fact, const QString &contents) {
        records.push_back(std::make_shared<const OVCSVRecord>(macAddress, fact.group, fact.item, fact.subItem,
                                                              contents, u""_s, nowDate()));
    };
    if (const QString family = form.firstName.trimmed(); !family.isEmpty())
        append(recordnames::kFamilyName, family);
    if (const QString given = form.lastName.trimmed(); !given.isEmpty())
        append(recordnames::kGivenName, given);
    // Always has its two hyphens, so it is never empty.
    append(recordnames::kManagementNumber, form.managementNumber());
    return records;
}
