#pragma once

#include <QString>

#include <optional>
#include <vector>

// A read-only look at one node of a parsed property list. A null value stands for anything missing:
// asking it for keys, elements or text gives nothing, never an error.
class PlistValue
{
public:
    PlistValue() = default;

    bool isNull() const { return m_node == nullptr; }
    bool isArray() const;
    bool isDict() const;

    // The value under the key of a dictionary; null when this is not a dictionary or lacks the key.
    PlistValue value(const char *key) const;
    bool has(const char *key) const { return !value(key).isNull(); }

    // The elements of an array, in order; empty for anything else.
    std::vector<PlistValue> elements() const;
    // The values of a dictionary, in the dictionary's own order; empty for anything else.
    std::vector<PlistValue> dictValues() const;
    // Shorthand for value("_items").elements(), the list that system_profiler puts its facts in.
    std::vector<PlistValue> items() const { return value("_items").elements(); }

    // Text of a scalar: a string as it is, an integer in decimal, a boolean as 1 or 0, a real number in its
    // shortest form, a date as "yyyy-MM-dd HH:mm:ss +0000" in UTC. Absent for lists, dictionaries, data.
    std::optional<QString> text() const;
    // A whole number: an integer, a real cut toward zero, a boolean, or a string that holds one.
    std::optional<qint64> integer() const;

private:
    friend class PlistDocument;
    explicit PlistValue(void *node) : m_node(node) {}

    void *m_node = nullptr;
};
