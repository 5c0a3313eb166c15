#include "ApplicationTally.h"

#include <algorithm>

std::uint64_t ApplicationTally::keyOf(QByteArrayView name, QByteArrayView version)
{
    // FNV-1a: with some thousands of distinct applications, 64 bits make a collision unlikely enough.
    std::uint64_t hash = 14695981039346656037ULL;
    const auto add = [&hash](QByteArrayView bytes) {
        for (const char byte : bytes) {
            hash ^= static_cast<unsigned char>(byte);
            hash *= 1099511628211ULL;
        }
    };
    add(name);
    hash ^= 0xFF; // no byte of either text: "ab" + "c" is not "a" + "bc"
    hash *= 1099511628211ULL;
    add(version);
    return hash;
}

void ApplicationTally::merge(const ApplicationTally &other)
{
    for (auto entry = other.m_entries.cbegin(); entry != other.m_entries.cend(); ++entry) {
        auto mine = m_entries.find(entry.key());
        if (mine == m_entries.end())
            m_entries.insert(entry.key(), entry.value());
        else
            mine->machines += entry->machines;
    }
}

const ApplicationTally::Entry *ApplicationTally::find(std::uint64_t key) const
{
    const auto entry = m_entries.constFind(key);
    return entry == m_entries.cend() ? nullptr : &entry.value();
}

std::vector<const ApplicationTally::Entry *> ApplicationTally::sorted() const
{
    std::vector<const Entry *> entries;
    entries.reserve(std::size_t(m_entries.size()));
    for (const Entry &entry : m_entries)
        entries.push_back(&entry);
    std::sort(entries.begin(), entries.end(), [](const Entry *a, const Entry *b) {
        if (const int byName = a->name.compare(b->name, Qt::CaseInsensitive); byName != 0)
            return byName < 0;
        if (a->name != b->name)
            return a->name < b->name;
        return a->version < b->version;
    });
    return entries;
}
