#include "OVCSVRecord.h"

#include <algorithm>

namespace {

int compareField(const OptionalText &mine, const OptionalText &theirs)
{
    if (!mine || !theirs)
        return 0;
    const int order = QString::compare(*mine, *theirs, Qt::CaseSensitive);
    return (order > 0) - (order < 0);
}

} // namespace

OVCSVRecord::OVCSVRecord(OptionalText key, OptionalText group, OptionalText item, OptionalText subItem,
                         OptionalText contents, OptionalText unit, OptionalText renewalday)
    : m_key(std::move(key)), m_group(std::move(group)), m_item(std::move(item)),
      m_subItem(std::move(subItem)), m_contents(std::move(contents)), m_unit(std::move(unit)),
      m_renewalday(std::move(renewalday))
{}

int OVCSVRecord::compare(const OVCSVRecord &other) const
{
    for (const auto field : {&OVCSVRecord::m_group, &OVCSVRecord::m_item, &OVCSVRecord::m_subItem,
                             &OVCSVRecord::m_contents, &OVCSVRecord::m_unit}) {
        if (const int order = compareField(this->*field, other.*field))
            return order;
    }
    return 0;
}

void sortRecords(RecordList &records)
{
    std::stable_sort(records.begin(), records.end(),
                     [](const RecordPtr &a, const RecordPtr &b) { return a->compare(*b) < 0; });
}
