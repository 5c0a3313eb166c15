#pragma once

#include "OVCSVRecord.h"
#include "RecordNames.h"

// Stamps the records of one collector with its key and date.
struct RecordMaker
{
    QString key;
    QString date;

    RecordPtr operator()(OptionalText group, OptionalText item, OptionalText subItem, OptionalText contents,
                         OptionalText unit) const
    {
        return std::make_shared<const OVCSVRecord>(key, std::move(group), std::move(item), std::move(subItem),
                                                   std::move(contents), std::move(unit), date);
    }
    RecordPtr operator()(const recordnames::Fact &fact, OptionalText contents, OptionalText unit) const
    {
        return (*this)(fact.group, fact.item, fact.subItem, std::move(contents), std::move(unit));
    }
};
