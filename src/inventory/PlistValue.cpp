#include "PlistValue.h"

#include "PlistTree.h"

#include <QDateTime>
#include <QTimeZone>

#include <cmath>
#include <cstring>

namespace {

using Kind = PlistTree::Kind;

QByteArray bytesOf(std::string_view text)
{
    return QByteArray(text.data(), qsizetype(text.size()));
}

std::optional<qint64> parseInteger(std::string_view text)
{
    bool ok = false;
    const QByteArray trimmed = bytesOf(text).trimmed();
    const qint64 value = trimmed.toLongLong(&ok, 10);
    if (ok)
        return value;
    // Beyond the signed range: keep the bits, as property-list readers do.
    const quint64 unsignedValue = trimmed.toULongLong(&ok, 10);
    return ok ? std::optional<qint64>(static_cast<qint64>(unsignedValue)) : std::nullopt;
}

std::optional<double> parseReal(std::string_view text)
{
    bool ok = false;
    const double value = bytesOf(text).trimmed().toDouble(&ok);
    return ok ? std::optional(value) : std::nullopt;
}

std::optional<QString> dateText(std::string_view text)
{
    const QDateTime date = QDateTime::fromString(QString::fromLatin1(bytesOf(text).trimmed()), Qt::ISODate);
    if (!date.isValid())
        return std::nullopt;
    return date.toUTC().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) + QStringLiteral(" +0000");
}

} // namespace

bool PlistValue::isArray() const
{
    return m_tree && m_tree->nodes[m_index].kind == Kind::Array;
}

bool PlistValue::isDict() const
{
    return m_tree && m_tree->nodes[m_index].kind == Kind::Dict;
}

std::vector<PlistValue> PlistValue::children() const
{
    std::vector<PlistValue> result;
    for (std::uint32_t child = m_tree->nodes[m_index].first; child; child = m_tree->nodes[child].next)
        result.push_back(PlistValue(m_tree, child));
    return result;
}

PlistValue PlistValue::value(const char *key) const
{
    if (!isDict())
        return PlistValue();
    const std::string_view wanted(key, std::strlen(key));
    std::uint32_t found = 0;
    for (std::uint32_t child = m_tree->nodes[m_index].first; child; child = m_tree->nodes[child].next) {
        if (m_tree->view(m_tree->nodes[child].key) == wanted)
            found = child;
    }
    return found ? PlistValue(m_tree, found) : PlistValue();
}

std::vector<PlistValue> PlistValue::elements() const
{
    return isArray() ? children() : std::vector<PlistValue>();
}

std::vector<PlistValue> PlistValue::dictValues() const
{
    return isDict() ? children() : std::vector<PlistValue>();
}

std::vector<std::pair<QString, PlistValue>> PlistValue::members() const
{
    std::vector<std::pair<QString, PlistValue>> result;
    for (const PlistValue &member : dictValues()) {
        const std::string_view key = m_tree->view(m_tree->nodes[member.m_index].key);
        result.emplace_back(QString::fromUtf8(key.data(), qsizetype(key.size())), member);
    }
    return result;
}

std::optional<QString> PlistValue::text() const
{
    if (!m_tree)
        return std::nullopt;
    const PlistTree::Node &node = m_tree->nodes[m_index];
    const std::string_view raw = m_tree->view(node.text);
    switch (node.kind) {
    case Kind::String:
        return QString::fromUtf8(raw.data(), qsizetype(raw.size()));
    case Kind::True:
        return QStringLiteral("1");
    case Kind::False:
        return QStringLiteral("0");
    case Kind::Integer: {
        const auto value = parseInteger(raw);
        return value ? std::optional(QString::number(*value)) : std::nullopt;
    }
    case Kind::Real: {
        const auto value = parseReal(raw);
        return value ? std::optional(QString::number(*value, 'g', QLocale::FloatingPointShortest))
                     : std::nullopt;
    }
    case Kind::Date:
        return dateText(raw);
    default:
        return std::nullopt;
    }
}

std::optional<qint64> PlistValue::integer() const
{
    if (!m_tree)
        return std::nullopt;
    const PlistTree::Node &node = m_tree->nodes[m_index];
    switch (node.kind) {
    case Kind::Integer:
    case Kind::String:
        return parseInteger(m_tree->view(node.text));
    case Kind::True:
        return 1;
    case Kind::False:
        return 0;
    case Kind::Real: {
        const auto value = parseReal(m_tree->view(node.text));
        if (!value || !std::isfinite(*value) || std::fabs(*value) >= 9.2e18)
            return std::nullopt;
        return static_cast<qint64>(*value);
    }
    default:
        return std::nullopt;
    }
}
