#pragma once

#include <QByteArray>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// The parsed form of an XML property list: every node in one array, children linked by index, texts as
// slices of the file or of a buffer of decoded texts. Nothing in it is freed or walked recursively, so no
// nesting can exhaust the stack.
struct PlistTree
{
    enum class Kind : std::uint8_t { Dict, Array, String, Integer, Real, True, False, Date, Data };

    struct Slice
    {
        std::uint32_t begin = 0;
        std::uint32_t length = 0;
        bool decoded = false; // in `decoded` rather than in `source`
    };

    struct Node
    {
        Kind kind = Kind::String;
        std::uint32_t first = 0; // first child; 0 means none, as the root is never a child
        std::uint32_t next = 0;  // next sibling
        Slice key;               // for a member of a dictionary
        Slice text;              // for a scalar: its content as written
    };

    // The bytes parsed.
    QByteArray buffer;
    const char *source = nullptr;
    std::size_t size = 0;
    std::string decoded;
    std::vector<Node> nodes; // nodes[0] is the root; empty when the bytes were no property list

    std::string_view view(const Slice &slice) const
    {
        const char *base = slice.decoded ? decoded.data() : source;
        return std::string_view(base + slice.begin, slice.length);
    }
};

// Parses an XML property list; a tree without nodes when the bytes are not one.
void parsePlist(PlistTree &tree);
