#include "MachineRecord.h"

#include "ApplicationTally.h"
#include "app/IncompleteMarker.h"
#include "records/OVInventoryFile.h"
#include "records/RecordNames.h"
#include "util/Cp932.h"

#include <QFile>

#include <algorithm>
#include <array>

namespace {

using RawLine = OVInventoryFile::RawLine;

struct RawFact
{
    QByteArray group;
    QByteArray item;
    QByteArray subItem;
    QString MachineRecord::*field;
};

RawFact rawFact(const recordnames::Fact &fact, QString MachineRecord::*field)
{
    return {cp932::encode(fact.group), cp932::encode(fact.item), cp932::encode(fact.subItem), field};
}

// The facts the report shows, as the file spells them.
const std::array<RawFact, 11> &rawFacts()
{
    using namespace recordnames;
    static const std::array<RawFact, 11> facts{
        rawFact(kComputerName, &MachineRecord::computerName),
        rawFact(kProcessor, &MachineRecord::processor),
        rawFact(kMemory, &MachineRecord::memory),
        rawFact(kSerialNumber, &MachineRecord::serialNumber),
        rawFact(kModel, &MachineRecord::model),
        rawFact(kDiskSize, &MachineRecord::diskSize),
        rawFact(kVolumeFree, &MachineRecord::volumeFree),
        rawFact(kVolumeSize, &MachineRecord::volumeSize),
        rawFact(kOSVersion, &MachineRecord::osVersion),
        rawFact(kFamilyName, &MachineRecord::familyName),
        rawFact(kGivenName, &MachineRecord::givenName),
    };
    return facts;
}

struct RawNames
{
    QByteArray soft = cp932::encode(recordnames::kSoft);
    QByteArray application = cp932::encode(recordnames::kApplication);
    QByteArray lan = cp932::encode(recordnames::kLan);
    QByteArray macAddress = cp932::encode(recordnames::kMacAddress);
    QByteArray create = cp932::encode(recordnames::kCreate);
    QByteArray dateTime = cp932::encode(recordnames::kDateTime);
};

const RawNames &rawNames()
{
    static const RawNames names;
    return names;
}

QString text(QByteArrayView field)
{
    return cp932::decode(field).value_or(QString());
}

// Collects one file's facts line by line; the application lines are only hashed.
class Collector
{
public:
    Collector(MachineRecord &record, ApplicationTally &tally) : m_record(record), m_tally(tally) {}

    void take(const RawLine &line)
    {
        const RawNames &names = rawNames();
        if (line[1] == names.soft && line[2] == names.application) {
            const std::uint64_t key = ApplicationTally::keyOf(line[3], line[4]);
            m_keys.push_back(key);
            if (!m_tally.find(key) && !m_firstSeen.contains(key))
                m_firstSeen.insert(key, {text(line[3]), text(line[4]), 0});
        } else if (line[1] == names.lan && line[3] == names.macAddress) {
            if (!line[4].isEmpty())
                m_record.macAddresses.append(text(line[4]));
        } else if (line[1] == names.create && line[2] == names.dateTime) {
            static const QString format =
                recordnames::kCreateDateFormat + QLatin1Char(' ') + recordnames::kCreateTimeFormat;
            m_record.created =
                QDateTime::fromString(text(line[3]) + QLatin1Char(' ') + text(line[4]), format);
        } else {
            takeFact(line);
        }
    }

    // Counts the machine's applications once each, whatever number of lines named them.
    void finish(bool keepApplications)
    {
        std::sort(m_keys.begin(), m_keys.end());
        m_keys.erase(std::unique(m_keys.begin(), m_keys.end()), m_keys.end());
        m_tally.addMachine(m_keys, [this](std::uint64_t key) { return m_firstSeen.value(key); });
        if (keepApplications)
            m_record.applications = std::move(m_keys);
    }

private:
    void takeFact(const RawLine &line)
    {
        for (const RawFact &fact : rawFacts()) {
            if (line[1] == fact.group && line[2] == fact.item && line[3] == fact.subItem) {
                QString value = text(line[4]);
                if (fact.field == &MachineRecord::memory && !value.isEmpty() && !line[5].isEmpty())
                    value += QLatin1Char(' ') + text(line[5]);
                m_record.*fact.field = value;
                return;
            }
        }
    }

    MachineRecord &m_record;
    ApplicationTally &m_tally;
    std::vector<std::uint64_t> m_keys;
    QHash<std::uint64_t, ApplicationTally::Entry> m_firstSeen;
};

} // namespace

QString MachineRecord::userName() const
{
    if (familyName.isEmpty() || givenName.isEmpty())
        return familyName + givenName;
    return familyName + QLatin1Char(' ') + givenName;
}

QString identityKey(const QString &value)
{
    return value.trimmed().toUpper();
}

MachineRecord machineRecordOf(const QString &path, QByteArrayView bytes, ApplicationTally &tally,
                              bool keepApplications)
{
    MachineRecord record;
    record.path = path;
    Collector collector(record, tally); // counts into the tally only once the file is found whole
    record.problem = OVInventoryFile::scan(bytes, [&](const RawLine &line) {
        if (record.managementNumber.isEmpty())
            record.managementNumber = text(line[0]);
        collector.take(line);
    });
    if (!record.problem && !record.created.isValid())
        record.problem = QStringLiteral("作成日時の行がありません");
    if (record.problem) {
        MachineRecord failed;
        failed.path = path;
        failed.problem = record.problem;
        return failed;
    }
    collector.finish(keepApplications);
    return record;
}

MachineRecord readMachineRecord(const MachineReading &reading, ApplicationTally &tally, bool keepApplications)
{
    std::optional<QString> problem;
    const QByteArray bytes = OVInventoryFile::readBytes(reading.csvPath, problem);
    if (problem) {
        MachineRecord unreadable;
        unreadable.path = reading.csvPath;
        unreadable.problem = problem;
        return unreadable;
    }
    MachineRecord record = machineRecordOf(reading.csvPath, bytes, tally, keepApplications);
    if (!record.problem && !reading.notePath.isEmpty()) {
        QFile note(reading.notePath);
        if (note.open(QIODevice::ReadOnly))
            record.missing = missingLinesOfNote(note.readAll());
        if (record.missing.isEmpty()) // a note whose list cannot be read still says the file is incomplete
            record.missing << QStringLiteral("不明（%1 を読めません）").arg(reading.notePath);
    }
    return record;
}
