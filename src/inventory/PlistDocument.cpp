#include "PlistDocument.h"

#include <QFile>

#include <plist/plist.h>

#include <algorithm>
#include <cstring>
#include <limits>

namespace {

// Where a construct that hides tags from the parser ends: comments, CDATA, declarations and processing
// instructions. Returns the position after it, or npos when the text is not one of them.
qsizetype skipHidden(QByteArrayView xml, qsizetype at)
{
    const auto skipTo = [&](const char *opener, const char *closer) -> qsizetype {
        if (!xml.sliced(at).startsWith(opener))
            return -1;
        const qsizetype end = xml.indexOf(QByteArrayView(closer), at + qsizetype(std::strlen(opener)));
        return end < 0 ? xml.size() : end + qsizetype(std::strlen(closer));
    };
    for (const auto &[opener, closer] : {std::pair{"<!--", "-->"}, std::pair{"<![CDATA[", "]]>"},
                                         std::pair{"<?", "?>"}, std::pair{"<!", ">"}}) {
        if (const qsizetype end = skipTo(opener, closer); end >= 0)
            return end;
    }
    return -1;
}

// The end of the tag that starts at `at`, stepping over quoted attribute values.
qsizetype tagEnd(QByteArrayView xml, qsizetype at)
{
    char quote = 0;
    for (qsizetype i = at + 1; i < xml.size(); ++i) {
        const char c = xml[i];
        if (quote) {
            quote = c == quote ? 0 : quote;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '>') {
            return i;
        }
    }
    return xml.size();
}

bool isTagNamed(QByteArrayView tag, const char *name)
{
    const qsizetype length = qsizetype(std::strlen(name));
    if (!tag.startsWith(name))
        return false;
    if (tag.size() == length)
        return true;
    const char next = tag[length];
    return next == ' ' || next == '\t' || next == '\r' || next == '\n' || next == '/';
}

// +1 for an element that opens a level, -1 for one that closes it, 0 for anything else.
int depthChange(QByteArrayView tag)
{
    if (tag == "/array" || tag == "/dict")
        return -1;
    const bool container = isTagNamed(tag, "array") || isTagNamed(tag, "dict");
    return container && !tag.endsWith('/') ? 1 : 0;
}

} // namespace

int nestingDepth(QByteArrayView xml, int stopAbove)
{
    int depth = 0;
    int deepest = 0;
    for (qsizetype at = xml.indexOf('<'); at >= 0 && at < xml.size(); at = xml.indexOf('<', at)) {
        if (const qsizetype hiddenEnd = skipHidden(xml, at); hiddenEnd >= 0) {
            at = hiddenEnd;
            continue;
        }
        const qsizetype end = tagEnd(xml, at);
        depth += depthChange(xml.sliced(at + 1, end - at - 1));
        deepest = std::max(deepest, depth);
        if (deepest > stopAbove)
            break;
        at = end;
    }
    return deepest;
}

void PlistDocument::Free::operator()(void *node) const
{
    plist_free(node);
}

PlistDocument PlistDocument::fromFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return PlistDocument();
    return fromBytes(file.readAll());
}

PlistDocument PlistDocument::fromBytes(QByteArrayView bytes)
{
    PlistDocument document;
    // libplist refuses a byte-order mark that other readers accept.
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes = bytes.sliced(3);
    if (bytes.isEmpty() || bytes.size() > std::numeric_limits<uint32_t>::max() ||
        nestingDepth(bytes, kMaxDepth) > kMaxDepth)
        return document;
    plist_t root = nullptr;
    plist_from_xml(bytes.data(), static_cast<uint32_t>(bytes.size()), &root);
    document.m_root.reset(root);
    return document;
}

PlistValue PlistDocument::root() const
{
    PlistValue value(m_root.get());
    return value.isArray() ? value : PlistValue();
}
