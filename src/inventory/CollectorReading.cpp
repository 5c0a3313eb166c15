#include "CollectorReading.h"

PlistValue firstItemOfFirstNonEmptyElement(const PlistValue &root)
{
    for (const PlistValue &element : root.elements()) {
        const auto items = element.items();
        if (!items.empty())
            return items.front();
    }
    return PlistValue();
}
