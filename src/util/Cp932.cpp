#include "Cp932.h"

#include <array>
#include <cstdint>

namespace {

struct Cp932Pair
{
    std::uint32_t from;
    std::uint32_t to;
};

#include "cp932_table.inc"

constexpr std::uint16_t kUnmapped = 0xFFFF;
using Lookup = std::array<std::uint16_t, 0x10000>;

template <std::size_t N> Lookup makeLookup(const Cp932Pair (&pairs)[N])
{
    Lookup table;
    table.fill(kUnmapped);
    for (const auto &pair : pairs)
        table[pair.from] = static_cast<std::uint16_t>(pair.to);
    return table;
}

const Lookup &encodeLookup()
{
    static const Lookup table = makeLookup(kCp932Encode);
    return table;
}

const Lookup &decodeLookup()
{
    static const Lookup table = makeLookup(kCp932Decode);
    return table;
}

void appendCode(QByteArray &out, std::uint16_t code)
{
    if (code > 0xFF)
        out.append(static_cast<char>(code >> 8));
    out.append(static_cast<char>(code & 0xFF));
}

// Characters of the table whose NFC form is a character the table lacks (凞 U+FA15, 蘒 U+FA20, the
// angstrom sign U+212B): written as they are, not as "?".
using Flags = std::array<bool, 0x10000>;
const Flags &keptAsTheyAre()
{
    static const Flags flags = [] {
        Flags kept{};
        const Lookup &table = encodeLookup();
        for (const auto &pair : kCp932Encode) {
            const QString nfc = QString(QChar(char16_t(pair.from))).normalized(QString::NormalizationForm_C);
            kept[pair.from] = nfc.size() == 1 && nfc.at(0).unicode() != pair.from &&
                              table[nfc.at(0).unicode()] == kUnmapped;
        }
        return kept;
    }();
    return flags;
}

void appendNormalized(QByteArray &out, const QString &text)
{
    const QString nfc = text.normalized(QString::NormalizationForm_C);
    const Lookup &table = encodeLookup();
    for (qsizetype i = 0; i < nfc.size(); ++i) {
        const char16_t unit = nfc.at(i).unicode();
        if (unit < 0x80) {
            out.append(static_cast<char>(unit));
            continue;
        }
        // A surrogate pair is one code point outside the table: one "?" for the pair, one for a lone half.
        if (QChar::isHighSurrogate(unit) && i + 1 < nfc.size() && nfc.at(i + 1).isLowSurrogate())
            ++i;
        const std::uint16_t code = QChar::isSurrogate(unit) ? kUnmapped : table[unit];
        if (code == kUnmapped)
            out.append('?');
        else
            appendCode(out, code);
    }
}

// Hands each decoded character to `take`; false at the first sequence the table does not define.
template <typename Take> bool forEachUnit(QByteArrayView bytes, Take &&take)
{
    const Lookup &table = decodeLookup();
    const auto *data = reinterpret_cast<const std::uint8_t *>(bytes.data());
    const qsizetype size = bytes.size();
    for (qsizetype i = 0; i < size; ++i) {
        const std::uint8_t lead = data[i];
        if (lead < 0x80) { // ASCII is itself: the bulk of every file
            take(char16_t(lead));
            continue;
        }
        std::uint16_t unit = table[lead];
        if (unit == kUnmapped && i + 1 < size)
            unit = table[static_cast<std::uint16_t>(lead << 8 | data[++i])];
        if (unit == kUnmapped)
            return false;
        take(char16_t(unit));
    }
    return true;
}

} // namespace

namespace cp932 {

QByteArray encode(const QString &text)
{
    const Flags &kept = keptAsTheyAre();
    QByteArray out;
    out.reserve(text.size() * 2);
    qsizetype from = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!kept[text.at(i).unicode()])
            continue;
        // Kept whole unless combining marks follow, which NFC would join to it.
        if (i + 1 < text.size() && text.at(i + 1).combiningClass() != 0)
            continue;
        appendNormalized(out, text.mid(from, i - from));
        appendCode(out, encodeLookup()[text.at(i).unicode()]);
        from = i + 1;
    }
    appendNormalized(out, from == 0 ? text : text.mid(from));
    return out;
}

std::optional<QString> decode(QByteArrayView bytes)
{
    QString out(bytes.size(), Qt::Uninitialized);
    qsizetype length = 0;
    const bool valid = forEachUnit(bytes, [&](char16_t unit) { out[length++] = QChar(unit); });
    if (!valid)
        return std::nullopt;
    out.truncate(length);
    return out;
}

bool isValid(QByteArrayView bytes)
{
    return forEachUnit(bytes, [](char16_t) {});
}

} // namespace cp932
