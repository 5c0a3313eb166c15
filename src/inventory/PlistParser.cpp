#include "PlistEntities.h"
#include "PlistTree.h"

#include <cstring>
#include <limits>

// A strict reader of XML property lists, iterative from end to end. Texts without escapes stay slices of
// the file, so reading costs little more than one pass over it.
namespace {

using Kind = PlistTree::Kind;
using Slice = PlistTree::Slice;

struct Tag
{
    std::string_view name;
    bool closing = false;
    bool selfClosing = false;
};

struct Open
{
    std::uint32_t node = 0;
    std::uint32_t lastChild = 0;
    bool dict = false;
    bool hasKey = false;
    Slice key;
};

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool kindOf(std::string_view name, Kind &kind)
{
    static constexpr std::pair<std::string_view, Kind> kKinds[] = {
        {"dict", Kind::Dict},       {"array", Kind::Array}, {"string", Kind::String},
        {"integer", Kind::Integer}, {"real", Kind::Real},   {"true", Kind::True},
        {"false", Kind::False},     {"date", Kind::Date},   {"data", Kind::Data}};
    for (const auto &[candidate, k] : kKinds) {
        if (name == candidate) {
            kind = k;
            return true;
        }
    }
    return false;
}

class Parser
{
public:
    explicit Parser(PlistTree &tree) : m_tree(tree), m_s(tree.source), m_n(tree.size) {}

    bool run();

private:
    bool startsWith(std::string_view text) const
    {
        return m_n - m_pos >= text.size() && std::memcmp(m_s + m_pos, text.data(), text.size()) == 0;
    }
    bool skipPast(std::string_view terminator);
    bool skipDoctype();
    bool skipMisc();
    bool readTag(Tag &tag);
    bool readClosing(std::string_view name);
    bool readText(std::string_view name, Slice &slice);
    bool decodeText(std::string_view name, std::size_t start, Slice &slice);
    bool decodeEntity(std::string &out);
    bool parseValues(Tag tag);
    bool openValue(const Tag &tag);
    void attach(std::uint32_t index);

    PlistTree &m_tree;
    const char *m_s;
    std::size_t m_n;
    std::size_t m_pos = 0;
    std::vector<Open> m_stack;
};

bool Parser::skipPast(std::string_view terminator)
{
    const char *end =
        static_cast<const char *>(memmem(m_s + m_pos, m_n - m_pos, terminator.data(), terminator.size()));
    if (!end)
        return false;
    m_pos = std::size_t(end - m_s) + terminator.size();
    return true;
}

bool Parser::skipDoctype()
{
    char quote = 0;
    int brackets = 0;
    for (; m_pos < m_n; ++m_pos) {
        const char c = m_s[m_pos];
        if (quote)
            quote = c == quote ? 0 : quote;
        else if (c == '"' || c == '\'')
            quote = c;
        else if (c == '[')
            ++brackets;
        else if (c == ']')
            --brackets;
        else if (c == '>' && brackets <= 0)
            return ++m_pos, true;
    }
    return false;
}

// White space, comments, processing instructions and the document type, up to the next tag.
bool Parser::skipMisc()
{
    for (;;) {
        while (m_pos < m_n && isSpace(m_s[m_pos]))
            ++m_pos;
        if (m_pos >= m_n || m_s[m_pos] != '<')
            return false; // the end, or stray text between elements
        if (startsWith("<!--")) {
            if (!skipPast("-->"))
                return false;
        } else if (startsWith("<?")) {
            if (!skipPast("?>"))
                return false;
        } else if (startsWith("<!DOCTYPE")) {
            if (!skipDoctype())
                return false;
        } else {
            return true;
        }
    }
}

bool Parser::readTag(Tag &tag)
{
    ++m_pos; // '<'
    tag.closing = m_pos < m_n && m_s[m_pos] == '/';
    m_pos += tag.closing ? 1 : 0;
    const std::size_t nameStart = m_pos;
    while (m_pos < m_n && !isSpace(m_s[m_pos]) && m_s[m_pos] != '>' && m_s[m_pos] != '/')
        ++m_pos;
    tag.name = std::string_view(m_s + nameStart, m_pos - nameStart);
    tag.selfClosing = false;
    char quote = 0;
    for (; m_pos < m_n; ++m_pos) {
        const char c = m_s[m_pos];
        if (quote) {
            quote = c == quote ? 0 : quote;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '>') {
            tag.selfClosing = m_s[m_pos - 1] == '/' && !tag.closing;
            ++m_pos;
            return !tag.name.empty();
        }
    }
    return false;
}

bool Parser::readClosing(std::string_view name)
{
    Tag tag;
    return skipMisc() && readTag(tag) && tag.closing && tag.name == name;
}

// The text of a scalar element up to its closing tag.
bool Parser::readText(std::string_view name, Slice &slice)
{
    const std::size_t start = m_pos;
    const char *lt = static_cast<const char *>(std::memchr(m_s + m_pos, '<', m_n - m_pos));
    if (!lt)
        return false;
    const std::size_t end = std::size_t(lt - m_s);
    const bool plain = !std::memchr(m_s + start, '&', end - start);
    m_pos = end;
    if (plain && startsWith("</") && m_n - end > name.size() + 2 &&
        std::memcmp(m_s + end + 2, name.data(), name.size()) == 0 && m_s[end + 2 + name.size()] == '>') {
        if (end - start > std::numeric_limits<std::uint32_t>::max())
            return false;
        slice = Slice{std::uint32_t(start), std::uint32_t(end - start), false};
        m_pos = end + 3 + name.size();
        return true;
    }
    m_pos = start;
    return decodeText(name, start, slice);
}

// Text with escapes, CDATA sections or comments in it, written out into the tree's buffer.
bool Parser::decodeText(std::string_view name, std::size_t start, Slice &slice)
{
    std::string &out = m_tree.decoded;
    const std::size_t begin = out.size();
    m_pos = start;
    while (m_pos < m_n) {
        const char c = m_s[m_pos];
        if (c == '&') {
            if (!decodeEntity(out))
                return false;
        } else if (c != '<') {
            out += c;
            ++m_pos;
        } else if (startsWith("<![CDATA[")) {
            m_pos += 9;
            const std::size_t from = m_pos;
            if (!skipPast("]]>"))
                return false;
            out.append(m_s + from, m_pos - 3 - from);
        } else if (startsWith("<!--")) {
            if (!skipPast("-->"))
                return false;
        } else {
            Tag tag;
            if (!readTag(tag) || !tag.closing || tag.name != name || out.size() - begin > UINT32_MAX ||
                begin > UINT32_MAX)
                return false;
            slice = Slice{std::uint32_t(begin), std::uint32_t(out.size() - begin), true};
            return true;
        }
    }
    return false;
}

bool Parser::decodeEntity(std::string &out)
{
    const char *semicolon =
        static_cast<const char *>(std::memchr(m_s + m_pos, ';', std::min<std::size_t>(m_n - m_pos, 12)));
    if (!semicolon)
        return false;
    const std::string_view entity(m_s + m_pos + 1, std::size_t(semicolon - m_s) - m_pos - 1);
    m_pos = std::size_t(semicolon - m_s) + 1;
    return appendEntity(entity, out);
}

void Parser::attach(std::uint32_t index)
{
    if (m_stack.empty())
        return; // the root
    Open &parent = m_stack.back();
    if (parent.lastChild)
        m_tree.nodes[parent.lastChild].next = index;
    else
        m_tree.nodes[parent.node].first = index;
    parent.lastChild = index;
    if (parent.dict) {
        m_tree.nodes[index].key = parent.key;
        parent.hasKey = false;
    }
}

bool Parser::openValue(const Tag &tag)
{
    Kind kind;
    if (!kindOf(tag.name, kind) || m_tree.nodes.size() >= std::numeric_limits<std::uint32_t>::max())
        return false;
    const auto index = std::uint32_t(m_tree.nodes.size());
    m_tree.nodes.push_back(PlistTree::Node{kind, 0, 0, {}, {}});
    attach(index);
    if (kind == Kind::Dict || kind == Kind::Array) {
        if (!tag.selfClosing)
            m_stack.push_back(Open{index, 0, kind == Kind::Dict, false, {}});
        return true;
    }
    if (tag.selfClosing)
        return true;
    if (kind == Kind::True || kind == Kind::False)
        return readClosing(tag.name);
    Slice text;
    if (!readText(tag.name, text))
        return false;
    m_tree.nodes[index].text = text;
    return true;
}

// The root value and everything in it, with an explicit stack of open arrays and dictionaries.
bool Parser::parseValues(Tag tag)
{
    for (;;) {
        if (tag.closing) {
            if (m_stack.empty() || tag.name != (m_stack.back().dict ? "dict" : "array") ||
                m_stack.back().hasKey)
                return false; // a stray closing tag, or a key without its value
            m_stack.pop_back();
        } else if (!m_stack.empty() && m_stack.back().dict && tag.name == "key") {
            Open &dict = m_stack.back();
            if (dict.hasKey)
                return false;
            dict.hasKey = true;
            dict.key = Slice{};
            if (!tag.selfClosing && !readText(tag.name, dict.key))
                return false;
        } else {
            if (!m_stack.empty() && m_stack.back().dict && !m_stack.back().hasKey)
                return false; // a value without a key
            if (!openValue(tag))
                return false;
        }
        if (m_stack.empty())
            return true;
        if (!skipMisc() || !readTag(tag))
            return false;
    }
}

bool Parser::run()
{
    Tag tag;
    if (!skipMisc() || !readTag(tag))
        return false;
    const bool wrapped = !tag.closing && tag.name == "plist";
    if (wrapped && (tag.selfClosing || !skipMisc() || !readTag(tag)))
        return false;
    // Generous: pages of the reserve that are never written cost nothing.
    m_tree.nodes.reserve(m_n / 16);
    if (!parseValues(tag))
        return false;
    return !wrapped || readClosing("plist");
}

} // namespace

void parsePlist(PlistTree &tree)
{
    if (tree.size >= 3 && std::memcmp(tree.source, "\xEF\xBB\xBF", 3) == 0) { // a byte-order mark
        tree.source += 3;
        tree.size -= 3;
    }
    if (tree.size > std::numeric_limits<std::uint32_t>::max() || !Parser(tree).run()) {
        tree.nodes.clear();
        tree.decoded.clear();
    }
}
