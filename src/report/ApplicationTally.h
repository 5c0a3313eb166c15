#pragma once

#include <QByteArrayView>
#include <QHash>
#include <QString>

#include <cstdint>
#include <vector>

// Every application of a campaign by name and version, with the number of machines that have it. An
// application is known by a 64-bit hash of its name and version as the file holds them, so the hundreds
// of lines of each file are counted without being decoded; only a name seen for the first time is.
class ApplicationTally
{
public:
    struct Entry
    {
        QString name;
        QString version;
        int machines = 0;
    };

    static std::uint64_t keyOf(QByteArrayView name, QByteArrayView version);

    // One machine's applications: keys sorted and without repeats; `names` answers the name and version
    // of a key the tally does not know yet.
    template <typename Names> void addMachine(const std::vector<std::uint64_t> &keys, Names &&names)
    {
        for (const std::uint64_t key : keys) {
            auto entry = m_entries.find(key);
            if (entry == m_entries.end())
                entry = m_entries.insert(key, names(key));
            ++entry->machines;
        }
    }
    // Adds another tally's counts (one per reading thread) to this one.
    void merge(const ApplicationTally &other);

    const Entry *find(std::uint64_t key) const;
    // Sorted by name, then version.
    std::vector<const Entry *> sorted() const;
    qsizetype size() const { return m_entries.size(); }

private:
    QHash<std::uint64_t, Entry> m_entries;
};
