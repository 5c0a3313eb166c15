#pragma once

#include <QString>

#include <cstdint>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

struct PlistTree;

// A read-only look at one node of a parsed property list; it keeps the parsed list alive, so a value
// outlives the document it came from. A null value stands for anything missing: asking it for keys,
// elements or text gives nothing, never an error.
class PlistValue
{
public:
    PlistValue() = default;

    bool isNull() const { return m_tree == nullptr; }
    bool isArray() const;
    bool isDict() const;

    // The value under the key of a dictionary (the last one, should the key repeat); null when this is not a
    // dictionary or lacks the key.
    PlistValue value(const char *key) const;

    // The elements of an array, in order; empty for anything else.
    std::vector<PlistValue> elements() const;
    // The values of a dictionary, in file order; empty for anything else.
    std::vector<PlistValue> dictValues() const;
    // The keys and values of a dictionary, in file order; empty for anything else.
    std::vector<std::pair<QString, PlistValue>> members() const;
    // Shorthand for value("_items").elements(), the list that system_profiler puts its facts in.
    std::vector<PlistValue> items() const { return value("_items").elements(); }

    // Text of a scalar: a string as it is, an integer in decimal, a boolean as 1 or 0, a real number in its
    // shortest form, a date as "yyyy-MM-dd HH:mm:ss +0000" in UTC. Absent for lists, dictionaries, data.
    std::optional<QString> text() const;
    // A whole number: an integer, a real cut toward zero, a boolean, or a string that holds one.
    std::optional<qint64> integer() const;

private:
    friend class PlistDocument;
    PlistValue(std::shared_ptr<const PlistTree> tree, std::uint32_t index)
        : m_tree(std::move(tree)), m_index(index)
    {}
    std::vector<PlistValue> children() const;

    std::shared_ptr<const PlistTree> m_tree;
    std::uint32_t m_index = 0;
};
