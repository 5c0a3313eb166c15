#include "PlistEntities.h"

#include <utility>

namespace {

void appendUtf8(std::string &out, char32_t cp)
{
    if (cp < 0x80) {
        out += char(cp);
    } else if (cp < 0x800) {
        out += char(0xC0 | (cp >> 6));
        out += char(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += char(0xE0 | (cp >> 12));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    } else {
        out += char(0xF0 | (cp >> 18));
        out += char(0x80 | ((cp >> 12) & 0x3F));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    }
}

int digitValue(char d, bool hex)
{
    if (d >= '0' && d <= '9')
        return d - '0';
    if (hex && d >= 'a' && d <= 'f')
        return d - 'a' + 10;
    if (hex && d >= 'A' && d <= 'F')
        return d - 'A' + 10;
    return -1;
}

} // namespace

bool appendEntity(std::string_view entity, std::string &out)
{
    static constexpr std::pair<std::string_view, char> kNamed[] = {
        {"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''}};
    for (const auto &[named, c] : kNamed) {
        if (entity == named) {
            out += c;
            return true;
        }
    }
    if (entity.size() < 2 || entity[0] != '#')
        return false;
    const bool hex = entity[1] == 'x' || entity[1] == 'X';
    const std::string_view digits = entity.substr(hex ? 2 : 1);
    char32_t cp = 0;
    for (const char d : digits) {
        const int v = digitValue(d, hex);
        if (v < 0 || cp > 0x10FFFF)
            return false;
        cp = cp * (hex ? 16 : 10) + char32_t(v);
    }
    if (digits.empty() || cp == 0 || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return false;
    appendUtf8(out, cp);
    return true;
}
