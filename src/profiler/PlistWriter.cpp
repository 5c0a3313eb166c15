#include "PlistWriter.h"

#include <algorithm>
#include <vector>

namespace {

QByteArray escaped(const QString &text)
{
    QByteArray out;
    for (const char c : text.toUtf8()) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '&')
            out += "&amp;";
        else if (c == '<')
            out += "&lt;";
        else if (c == '>')
            out += "&gt;";
        else if (byte >= 0x20 || c == '\t' || c == '\n' || c == '\r')
            out += c; // other control characters are not allowed in XML
    }
    return out;
}

void write(QByteArray &out, const PValue &value, int depth);

void writeDict(QByteArray &out, const PValue::Dict &dict, int depth)
{
    const QByteArray indent(depth, '\t');
    if (dict.empty()) {
        out += indent + "<dict/>\n";
        return;
    }
    // The members in key order, by address: nothing is copied or moved.
    std::vector<const PValue::Dict::value_type *> sorted;
    for (const auto &member : dict)
        sorted.push_back(&member);
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const auto *a, const auto *b) { return a->first < b->first; });
    out += indent + "<dict>\n";
    for (const auto *member : sorted) {
        out += QByteArray(depth + 1, '\t') + "<key>" + escaped(member->first) + "</key>\n";
        write(out, member->second, depth + 1);
    }
    out += indent + "</dict>\n";
}

void write(QByteArray &out, const PValue &value, int depth)
{
    const QByteArray indent(depth, '\t');
    if (const auto *text = std::get_if<QString>(&value.value)) {
        out += indent + "<string>" + escaped(*text) + "</string>\n";
    } else if (const auto *number = std::get_if<qint64>(&value.value)) {
        out += indent + "<integer>" + QByteArray::number(*number) + "</integer>\n";
    } else if (const auto *flag = std::get_if<bool>(&value.value)) {
        out += indent + (*flag ? "<true/>\n" : "<false/>\n");
    } else if (const auto *list = std::get_if<PValue::List>(&value.value)) {
        if (list->empty()) {
            out += indent + "<array/>\n";
            return;
        }
        out += indent + "<array>\n";
        for (const PValue &element : *list)
            write(out, element, depth + 1);
        out += indent + "</array>\n";
    } else {
        writeDict(out, std::get<PValue::Dict>(value.value), depth);
    }
}

} // namespace

void putText(PValue::Dict &dict, const QString &key, const QString &text)
{
    if (!text.isEmpty())
        dict.emplace_back(key, text);
}

QByteArray toXmlPlist(const PValue::List &root)
{
    QByteArray out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                     "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
                     "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
                     "<plist version=\"1.0\">\n";
    write(out, PValue(root), 0);
    return out + "</plist>\n";
}
