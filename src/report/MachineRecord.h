#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <vector>

class ApplicationTally;

// What the campaign report keeps of one collector's file: the facts of its rows, never the whole file.
struct MachineRecord
{
    QString path;
    std::optional<QString> problem; // why the file is not one of ours; then nothing else is set

    QString managementNumber;
    QDateTime created; // the file's own creation line, not the file system's time
    QString familyName;
    QString givenName;
    QString computerName;
    QString model;
    QString serialNumber;
    QString processor;
    QString memory;     // "8 GB"
    QString diskSize;   // MB
    QString volumeSize; // MB
    QString volumeFree; // MB
    QString osVersion;
    QStringList macAddresses;
    QStringList missing; // from the incomplete note beside the file: "プリンタ（SPPrintersDataType）：..."
    std::vector<std::uint64_t> applications; // ApplicationTally keys, sorted; kept only when asked for

    QString userName() const;
};

// How a serial number or MAC address tells one machine from another: case and surrounding spaces do not
// count; empty for a value that tells nothing.
QString identityKey(const QString &value);

struct MachineReading
{
    QString csvPath;
    QString notePath; // the incomplete note beside it; empty when there is none
};

// Reads one file and counts its applications into `tally`.
MachineRecord readMachineRecord(const MachineReading &reading, ApplicationTally &tally,
                                bool keepApplications);
// The same from bytes already read (the benchmark, the tests).
MachineRecord machineRecordOf(const QString &path, QByteArrayView bytes, ApplicationTally &tally,
                              bool keepApplications);
