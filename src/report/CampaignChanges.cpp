#include "CampaignChanges.h"

#include <QHash>

#include <algorithm>
#include <iterator>

namespace {

// Where each earlier machine is found by what it is known by.
class EarlierMachines
{
public:
    explicit EarlierMachines(const std::vector<MachineRow> &rows) : m_used(rows.size(), false)
    {
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const MachineRecord &record = *rows[i].record;
            m_byNumber.insert(record.managementNumber, i);
            if (const QString serial = identityKey(record.serialNumber); !serial.isEmpty())
                m_bySerial.insert(serial, i);
            for (const QString &mac : record.macAddresses)
                m_byMac.insert(identityKey(mac), i);
        }
    }

    // The earlier machine of this one, once: a machine matched is not matched again.
    std::optional<std::size_t> takeByNumber(const MachineRecord &record)
    {
        return mark(unused(m_byNumber, record.managementNumber));
    }

    // A machine with a new number is still the machine its serial number or MAC address says it is.
    std::optional<std::size_t> takeByIdentity(const MachineRecord &record)
    {
        std::optional<std::size_t> found;
        if (const QString serial = identityKey(record.serialNumber); !serial.isEmpty())
            found = unused(m_bySerial, serial);
        for (qsizetype i = 0; !found && i < record.macAddresses.size(); ++i)
            found = unused(m_byMac, identityKey(record.macAddresses[i]));
        return mark(found);
    }

    bool used(std::size_t i) const { return m_used[i]; }

private:
    std::optional<std::size_t> mark(std::optional<std::size_t> found)
    {
        if (found)
            m_used[*found] = true;
        return found;
    }

    std::optional<std::size_t> unused(const QHash<QString, std::size_t> &index, const QString &key) const
    {
        const auto it = index.constFind(key);
        if (it == index.cend() || m_used[*it])
            return std::nullopt;
        return *it;
    }

    QHash<QString, std::size_t> m_byNumber;
    QHash<QString, std::size_t> m_bySerial;
    QHash<QString, std::size_t> m_byMac;
    std::vector<bool> m_used;
};

QString applicationText(const ApplicationTally &tally, std::uint64_t key)
{
    const ApplicationTally::Entry *entry = tally.find(key);
    if (!entry)
        return QString();
    return entry->version.isEmpty() ? entry->name : entry->name + QLatin1Char(' ') + entry->version;
}

void compareApplications(const MachineRecord &now, const MachineRecord &before, const CampaignSide &nowSide,
                         const CampaignSide &beforeSide, Change change, std::vector<Change> &changes)
{
    std::vector<std::uint64_t> added;
    std::vector<std::uint64_t> removed;
    std::set_difference(now.applications.begin(), now.applications.end(), before.applications.begin(),
                        before.applications.end(), std::back_inserter(added));
    std::set_difference(before.applications.begin(), before.applications.end(), now.applications.begin(),
                        now.applications.end(), std::back_inserter(removed));
    QStringList addedNames;
    for (const std::uint64_t key : added)
        addedNames << applicationText(nowSide.campaign.applications, key);
    QStringList removedNames;
    for (const std::uint64_t key : removed)
        removedNames << applicationText(beforeSide.campaign.applications, key);
    addedNames.sort(Qt::CaseInsensitive);
    removedNames.sort(Qt::CaseInsensitive);
    change.item = QStringLiteral("アプリケーションの追加");
    for (const QString &name : std::as_const(addedNames)) {
        change.after = name;
        changes.push_back(change);
    }
    change.item = QStringLiteral("アプリケーションの削除");
    change.after.clear();
    for (const QString &name : std::as_const(removedNames)) {
        change.before = name;
        changes.push_back(change);
    }
}

void compareMachines(const MachineRecord &now, const MachineRecord &before, const CampaignSide &nowSide,
                     const CampaignSide &beforeSide, std::vector<Change> &changes)
{
    Change change{now.managementNumber,
                  before.managementNumber == now.managementNumber ? QString() : before.managementNumber,
                  QString(), QString(), QString()};
    const auto compare = [&](const QString &item, const QString &was, const QString &is) {
        if (was == is)
            return;
        change.item = item;
        change.before = was;
        change.after = is;
        changes.push_back(change);
    };
    compare(QStringLiteral("メモリ"), before.memory, now.memory);
    compare(QStringLiteral("ディスク容量（MB）"), before.diskSize, now.diskSize);
    compare(QStringLiteral("OS"), before.osVersion, now.osVersion);
    compare(QStringLiteral("使用者"), before.userName(), now.userName());
    compare(QStringLiteral("コンピュータ名"), before.computerName, now.computerName);
    change.before.clear();
    change.after.clear();
    compareApplications(now, before, nowSide, beforeSide, change, changes);
}

} // namespace

std::vector<Change> compareCampaigns(const CampaignSide &now, const CampaignSide &before)
{
    std::vector<Change> changes;
    EarlierMachines earlier(before.report.rows);
    const std::vector<MachineRow> &rows = now.report.rows;
    std::vector<std::optional<std::size_t>> matches(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i)
        matches[i] = earlier.takeByNumber(*rows[i].record);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (!matches[i])
            matches[i] = earlier.takeByIdentity(*rows[i].record);
    }
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const MachineRow &row = rows[i];
        const std::optional<std::size_t> &match = matches[i];
        if (!match) {
            changes.push_back({row.record->managementNumber, QString(), QStringLiteral("前回のファイルなし"),
                               QString(), QString()});
            continue;
        }
        compareMachines(*row.record, *before.report.rows[*match].record, now, before, changes);
    }
    for (std::size_t i = 0; i < before.report.rows.size(); ++i) {
        if (!earlier.used(i)) {
            const MachineRecord &record = *before.report.rows[i].record;
            changes.push_back({QString(), record.managementNumber, QStringLiteral("今回のファイルなし"),
                               record.created.toString(QStringLiteral("yyyy/MM/dd")), QString()});
        }
    }
    return changes;
}
