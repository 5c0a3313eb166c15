#include "OVHDDInventory.h"

#include "DataTypes.h"

#include <cmath>
#include <limits>
#include <locale>
#include <sstream>

using namespace Qt::StringLiterals;

namespace {

// Bytes as decimal megabytes, truncated; else the size text of the other key; else absent.
std::optional<QString> megabytes(const PlistValue &entry, const char *bytesKey, const char *textKey)
{
    if (const auto bytes = entry.value(bytesKey).integer())
        return QString::number(*bytes / 1000000);
    if (const auto text = entry.value(textKey).text())
        return OVHDDInventory::sizeTextConversion(*text);
    return std::nullopt;
}

// The longest prefix of `text` from `first` that reads as a decimal number: sign, digits, point, digits,
// and an exponent only when digits follow it.
const char *decimalPrefixEnd(const char *first, const char *last)
{
    const auto digitsFrom = [last](const char *p) {
        while (p != last && std::isdigit(static_cast<unsigned char>(*p)))
            ++p;
        return p;
    };
    const char *p = first != last && *first == '-' ? first + 1 : first;
    p = digitsFrom(p);
    if (p != last && *p == '.')
        p = digitsFrom(p + 1);
    if (p != last && (*p == 'e' || *p == 'E')) {
        const char *exponent = p + 1;
        if (exponent != last && (*exponent == '+' || *exponent == '-'))
            ++exponent;
        if (const char *end = digitsFrom(exponent); end != exponent)
            p = end;
    }
    return p;
}

float leadingNumber(const QByteArray &text)
{
    qsizetype start = 0;
    while (start < text.size() && std::isspace(static_cast<unsigned char>(text[start])))
        ++start;
    if (start < text.size() && text[start] == '+')
        ++start;
    const char *first = text.constData() + start;
    const char *last = text.constData() + text.size();
    const bool negative = first != last && *first == '-';
    const char *digits = negative ? first + 1 : first;
    if (digits == last || !(std::isdigit(static_cast<unsigned char>(*digits)) || *digits == '.'))
        return 0.0f;
    // Apple's libc++ has no floating-point from_chars; a stream in the classic locale rounds the same way,
    // straight to single precision, and fails on a value beyond a float.
    std::istringstream stream(std::string(first, decimalPrefixEnd(first, last)));
    stream.imbue(std::locale::classic());
    float value = 0.0f;
    stream >> value;
    return stream.fail() ? 0.0f : value;
}

struct StartDisk
{
    QString diskSize; // of the disk that holds the start volume, or of the last disk with a size
    PlistValue volume;
};

// The disks of the Serial ATA overview, then those of the NVMe overview, in list order.
std::vector<PlistValue> disksOf(const std::vector<PlistValue> &overviews)
{
    std::vector<PlistValue> disks;
    for (const PlistValue &root : overviews) {
        for (const PlistValue &element : root.elements()) {
            for (const PlistValue &controller : element.items()) {
                for (const PlistValue &disk : controller.items())
                    disks.push_back(disk);
            }
        }
    }
    return disks;
}

// Each disk's size is taken before its volumes are compared, and the walk ends at the first volume named
// like the start volume.
StartDisk findStartVolume(const std::vector<PlistValue> &disks, const QString &systemHDDName)
{
    StartDisk start;
    for (const PlistValue &disk : disks) {
        start.diskSize = megabytes(disk, "size_in_bytes", "size").value_or(start.diskSize);
        for (const PlistValue &volume : disk.value("volumes").elements()) {
            if (volume.value("_name").text() == systemHDDName) {
                start.volume = volume;
                return start;
            }
        }
    }
    return start;
}

bool hasFreeSpace(const PlistValue &volume)
{
    return !volume.value("free_space_in_bytes").isNull() || !volume.value("free_space").isNull();
}

// The mounted volume at "/" of the storage overview, else the first one named like the start volume.
PlistValue storageStartVolume(const PlistValue &storage, const QString &systemHDDName)
{
    std::vector<PlistValue> volumes;
    for (const PlistValue &element : storage.elements()) {
        for (const PlistValue &volume : element.items())
            volumes.push_back(volume);
    }
    for (const PlistValue &volume : volumes) {
        if (volume.value("mount_point").text() == u"/"_s)
            return volume;
    }
    for (const PlistValue &volume : volumes) {
        if (!systemHDDName.isEmpty() && volume.value("_name").text() == systemHDDName)
            return volume;
    }
    return PlistValue();
}

// The size of the disk that the storage overview names as the volume's physical drive, when the walk
// lists that disk with a size.
std::optional<QString> physicalDriveSize(const std::vector<PlistValue> &disks, const PlistValue &volume)
{
    const auto drive = volume.value("physical_drive").value("device_name").text();
    if (!drive)
        return std::nullopt;
    for (const PlistValue &disk : disks) {
        if (disk.value("_name").text() == drive || disk.value("device_model").text() == drive)
            return megabytes(disk, "size_in_bytes", "size");
    }
    return std::nullopt;
}

} // namespace

OVHDDInventory::OVHDDInventory(QString macAddress, QString nowDate, const QString &tempNameTag)
    : OVInventoryBase(std::move(macAddress), std::move(nowDate),
                      datatypes::namesOf(datatypes::Collector::Disk), tempNameTag)
{}

void OVHDDInventory::createCSVRecords()
{
    const Overviews overviews{readPlist(0).root(), readPlist(1).root(), readPlist(2).root()};
    appendRecords(recordsFromList(overviews, recordMaker(), systemHDDName()));
}

QString OVHDDInventory::sizeTextConversion(const QString &sizeText)
{
    QString text = sizeText;
    text.remove(u" GB"_s);
    // Single precision on purpose: "512.1 GB" is 512099 MB, as the files of earlier versions say.
    const float scaled = leadingNumber(text.toLatin1()) * 1000.0f;
    constexpr float kLimit = 2147483520.0f; // the largest float below 2^31
    const float clamped = std::isnan(scaled) ? 0.0f : std::fmax(-kLimit, std::fmin(kLimit, scaled));
    return QString::number(static_cast<qint32>(clamped));
}

RecordList OVHDDInventory::recordsFromList(const PlistValue &root, const RecordMaker &make,
                                           const QString &systemHDDName)
{
    return recordsFromList(Overviews{root, PlistValue(), PlistValue()}, make, systemHDDName);
}

RecordList OVHDDInventory::recordsFromList(const Overviews &overviews, const RecordMaker &make,
                                           const QString &systemHDDName)
{
    const std::vector<PlistValue> disks = disksOf({overviews.serialAta, overviews.nvme});
    StartDisk start = findStartVolume(disks, systemHDDName);
    // On APFS the start volume is a member of a container that the disk's volume list does not name, or
    // names without its free space; the storage overview of mounted volumes knows it.
    if (!hasFreeSpace(start.volume)) {
        if (const PlistValue mounted = storageStartVolume(overviews.storage, systemHDDName);
            !mounted.isNull()) {
            start.volume = mounted;
            start.diskSize = physicalDriveSize(disks, mounted).value_or(start.diskSize);
        }
    }
    const QString freeSpace =
        megabytes(start.volume, "free_space_in_bytes", "free_space").value_or(QString());
    const QString volumeSize = megabytes(start.volume, "size_in_bytes", "size").value_or(QString());
    return {
        make(recordnames::kDiskSize, start.diskSize, u"MB"_s),
        make(recordnames::kVolumeFree, freeSpace, u"MB"_s),
        make(recordnames::kVolumeSize, volumeSize, u"MB"_s),
    };
}
