#include "Facts.h"

#include <QRegularExpression>

#include <cmath>

namespace {

// The value of the first "key : value" line of /proc/cpuinfo with one of the keys.
QString cpuinfoValue(const QStringList &cpuinfo, std::initializer_list<const char *> keys)
{
    for (const char *key : keys) {
        for (const QString &line : cpuinfo) {
            const qsizetype colon = line.indexOf(QLatin1Char(':'));
            if (colon > 0 && line.left(colon).trimmed() == QLatin1String(key))
                return line.mid(colon + 1).simplified();
        }
    }
    return QString();
}

// The nominal speed: what cpufreq calls the base or highest frequency, else what /proc/cpuinfo says now.
QString processorSpeed(const SystemRoot &root, const QStringList &cpuinfo)
{
    for (const char *file : {"base_frequency", "cpuinfo_max_freq"}) {
        bool ok = false;
        const double kilohertz =
            root.text(QStringLiteral("/sys/devices/system/cpu/cpu0/cpufreq/") + QLatin1String(file))
                .toDouble(&ok);
        if (ok && kilohertz > 0)
            return gigahertzText(kilohertz / 1000);
    }
    bool ok = false;
    const double megahertz = cpuinfoValue(cpuinfo, {"cpu MHz"}).toDouble(&ok);
    return ok && megahertz > 0 ? gigahertzText(megahertz) : QString();
}

// Megabytes of one SMBIOS memory device (structure type 17), 0 when the slot is empty or unknown.
qint64 memoryDeviceMegabytes(const QByteArray &raw)
{
    if (raw.size() < 0x0E)
        return 0;
    const auto byte = [&](int at) { return qint64(static_cast<unsigned char>(raw[at])); };
    const qint64 size = byte(0x0C) | byte(0x0D) << 8;
    if (size == 0 || size == 0xFFFF)
        return 0;
    if (size == 0x7FFF && raw.size() >= 0x20)
        return (byte(0x1C) | byte(0x1D) << 8 | byte(0x1E) << 16 | byte(0x1F) << 24) & 0x7FFFFFFF;
    return (size & 0x8000) ? (size & 0x7FFF) / 1024 : size;
}

// Installed memory: the memory devices the firmware lists when they can be read (root), else what the
// kernel manages, rounded up to whole gigabytes, as the kernel keeps a little for itself.
QString physicalMemory(const SystemRoot &root)
{
    qint64 megabytes = 0;
    for (const QString &entry : root.entries(QStringLiteral("/sys/firmware/dmi/entries"))) {
        if (entry.startsWith(QLatin1String("17-")))
            megabytes +=
                memoryDeviceMegabytes(root.read(QStringLiteral("/sys/firmware/dmi/entries/%1/raw").arg(entry))
                                          .value_or(QByteArray()));
    }
    if (megabytes > 0)
        return QStringLiteral("%1 GB").arg((megabytes + 512) / 1024);
    static const QRegularExpression kMemTotal(QStringLiteral("^MemTotal:\\s+(\\d+) kB"),
                                              QRegularExpression::MultilineOption);
    const auto match = kMemTotal.match(
        QString::fromLatin1(root.read(QStringLiteral("/proc/meminfo")).value_or(QByteArray())));
    if (!match.hasMatch())
        return QString();
    const double gibibytes = match.captured(1).toDouble() / (1024.0 * 1024.0);
    return QStringLiteral("%1 GB").arg(qint64(std::ceil(gibibytes)));
}

} // namespace

QString gigahertzText(double megahertz)
{
    return QString::number(std::round(megahertz / 10.0) / 100.0, 'g', 6) + QStringLiteral(" GHz");
}

PValue::List hardwareItems(const SystemRoot &root)
{
    const QStringList cpuinfo = root.lines(QStringLiteral("/proc/cpuinfo"));
    PValue::Dict item{{QStringLiteral("_name"), QStringLiteral("hardware_overview")}};
    putText(item, QStringLiteral("cpu_type"),
            cpuinfoValue(cpuinfo, {"model name", "Model", "Hardware", "cpu model", "cpu"}));
    putText(item, QStringLiteral("current_processor_speed"), processorSpeed(root, cpuinfo));
    putText(item, QStringLiteral("physical_memory"), physicalMemory(root));
    const QString dmi = QStringLiteral("/sys/class/dmi/id/");
    putText(item, QStringLiteral("serial_number"), root.text(dmi + QStringLiteral("product_serial")));
    putText(item, QStringLiteral("machine_model"), root.text(dmi + QStringLiteral("product_name")));
    putText(item, QStringLiteral("machine_name"), root.text(dmi + QStringLiteral("product_family")));
    putText(item, QStringLiteral("platform_UUID"), root.text(dmi + QStringLiteral("product_uuid")).toUpper());
    const qint64 processors = cpuinfo.filter(QRegularExpression(QStringLiteral("^processor\\s*:"))).size();
    if (processors > 0)
        item.emplace_back(QStringLiteral("number_processors"), processors);
    return {PValue(item)};
}
