#pragma once

#include <QString>

#include <memory>
#include <optional>
#include <vector>

using OptionalText = std::optional<QString>;

// One fact, one line of the CSV file. Absent and empty stay apart until the CSV writes both as empty.
class OVCSVRecord
{
public:
    OVCSVRecord(OptionalText key, OptionalText group, OptionalText item, OptionalText subItem,
                OptionalText contents, OptionalText unit, OptionalText renewalday);

    const OptionalText &key() const { return m_key; }
    const OptionalText &group() const { return m_group; }
    const OptionalText &item() const { return m_item; }
    const OptionalText &subItem() const { return m_subItem; }
    const OptionalText &contents() const { return m_contents; }
    const OptionalText &unit() const { return m_unit; }
    const OptionalText &renewalday() const { return m_renewalday; }

    // -1, 0 or +1 by group, item, subItem, contents, unit, each by UTF-16 code unit. An absent field on
    // either side counts as equal, so the order stays symmetric.
    int compare(const OVCSVRecord &other) const;

private:
    OptionalText m_key;
    OptionalText m_group;
    OptionalText m_item;
    OptionalText m_subItem;
    OptionalText m_contents;
    OptionalText m_unit;
    OptionalText m_renewalday;
};

// The same record sits in a collector's list and in the merged list of the CSV file.
using RecordPtr = std::shared_ptr<const OVCSVRecord>;
using RecordList = std::vector<RecordPtr>;

// Sorts with compare(), keeping the order of records that compare as equal.
void sortRecords(RecordList &records);
