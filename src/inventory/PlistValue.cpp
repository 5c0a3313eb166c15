#include "PlistValue.h"

#include <QDateTime>
#include <QTimeZone>

#include <plist/plist.h>

#include <cmath>
#include <cstdlib>
#include <limits>

namespace {

// Property-list dates count seconds from 2001-01-01 00:00:00 UTC.
constexpr qint64 kPlistEpochOffset = 978307200;

plist_type typeOf(void *node)
{
    return node ? plist_get_node_type(node) : PLIST_NONE;
}

QString dateText(void *node)
{
    int32_t seconds = 0;
    int32_t microseconds = 0;
    plist_get_date_val(node, &seconds, &microseconds);
    const QDateTime utc = QDateTime::fromSecsSinceEpoch(kPlistEpochOffset + seconds, QTimeZone::utc());
    return utc.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) + QStringLiteral(" +0000");
}

qint64 unsignedToSigned(uint64_t value)
{
    // libplist keeps negative integers as their two's-complement bit pattern.
    return static_cast<qint64>(value);
}

std::optional<qint64> realToInteger(double value)
{
    if (!std::isfinite(value) || std::fabs(value) >= 9.2e18)
        return std::nullopt;
    return static_cast<qint64>(value);
}

} // namespace

bool PlistValue::isArray() const
{
    return typeOf(m_node) == PLIST_ARRAY;
}

bool PlistValue::isDict() const
{
    return typeOf(m_node) == PLIST_DICT;
}

PlistValue PlistValue::value(const char *key) const
{
    if (!isDict())
        return PlistValue();
    return PlistValue(plist_dict_get_item(m_node, key));
}

std::vector<PlistValue> PlistValue::elements() const
{
    std::vector<PlistValue> result;
    if (!isArray())
        return result;
    result.reserve(plist_array_get_size(m_node));
    plist_array_iter iter = nullptr;
    plist_array_new_iter(m_node, &iter);
    for (plist_t item = nullptr;; item = nullptr) {
        plist_array_next_item(m_node, iter, &item);
        if (!item)
            break;
        result.push_back(PlistValue(item));
    }
    std::free(iter);
    return result;
}

std::vector<PlistValue> PlistValue::dictValues() const
{
    std::vector<PlistValue> result;
    if (!isDict())
        return result;
    plist_dict_iter iter = nullptr;
    plist_dict_new_iter(m_node, &iter);
    for (;;) {
        char *key = nullptr;
        plist_t item = nullptr;
        plist_dict_next_item(m_node, iter, &key, &item);
        std::free(key);
        if (!item)
            break;
        result.push_back(PlistValue(item));
    }
    std::free(iter);
    return result;
}

std::optional<QString> PlistValue::text() const
{
    switch (typeOf(m_node)) {
    case PLIST_STRING: {
        uint64_t length = 0;
        const char *bytes = plist_get_string_ptr(m_node, &length);
        return QString::fromUtf8(bytes, static_cast<qsizetype>(length));
    }
    case PLIST_BOOLEAN:
        return QString::number(plist_bool_val_is_true(m_node) ? 1 : 0);
    case PLIST_UINT:
        return QString::number(*integer());
    case PLIST_REAL: {
        double value = 0;
        plist_get_real_val(m_node, &value);
        return QString::number(value, 'g', QLocale::FloatingPointShortest);
    }
    case PLIST_DATE:
        return dateText(m_node);
    default:
        return std::nullopt;
    }
}

std::optional<qint64> PlistValue::integer() const
{
    switch (typeOf(m_node)) {
    case PLIST_UINT: {
        uint64_t value = 0;
        plist_get_uint_val(m_node, &value);
        return unsignedToSigned(value);
    }
    case PLIST_BOOLEAN:
        return plist_bool_val_is_true(m_node) ? 1 : 0;
    case PLIST_REAL: {
        double value = 0;
        plist_get_real_val(m_node, &value);
        return realToInteger(value);
    }
    case PLIST_STRING: {
        const QString digits = *text();
        bool ok = false;
        const qint64 value = digits.trimmed().toLongLong(&ok);
        return ok ? std::optional<qint64>(value) : std::nullopt;
    }
    default:
        return std::nullopt;
    }
}
