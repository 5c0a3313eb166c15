#pragma once

#include "PlistDocument.h"
#include "process/OVExecuteCommand.h"
#include "records/RecordMaker.h"

#include <QStringList>

#include <memory>
#include <thread>
#include <vector>

class OVCommandGroup;

// A data type whose facts a run could not read: its command failed, ran past its time limit, or left a
// file that is not a property list.
struct MissingDataType
{
    QString dataType;
    QString reason; // "timed out after 180 s"
};

// What every collector shares: one system_profiler run per data type into a hidden file in the save
// folder, and the records read back from those files. A collector only adds createCSVRecords().
class OVInventoryBase
{
public:
    // tempNameTag makes the run's temporary file names its own ("_<time>_<MAC key>_<process id>"), so that
    // runs on two Macs from one shared folder never read each other's files.
    OVInventoryBase(QString macAddress, QString nowDate, const QStringList &dataTypes = {},
                    const QString &tempNameTag = {});
    virtual ~OVInventoryBase();
    OVInventoryBase(const OVInventoryBase &) = delete;
    OVInventoryBase &operator=(const OVInventoryBase &) = delete;

    // Runs the command lines one after the other, each within its data type's time limit; stopping the
    // group kills the one running and skips the rest.
    void execute(OVCommandGroup &group);
    void execute();
    // Starts every command at once, each waited for on a thread of its own.
    void start(OVCommandGroup &group);
    // Waits for one data type's started command; runs it here and now when it was not started.
    void finish(int index, OVCommandGroup &group);
    virtual void createCSVRecords() {}

    const QString &macAddress() const { return m_macAddress; }
    const QString &nowDate() const { return m_nowDate; }
    const QStringList &dataTypes() const { return m_dataTypes; }
    const QStringList &tempPlistFilePathArray() const { return m_tempPlistFilePathArray; }
    const std::vector<std::unique_ptr<OVExecuteCommand>> &execCommandArray() const
    {
        return m_execCommandArray;
    }
    RecordList &csvRecords() { return m_csvRecords; }
    const RecordList &csvRecords() const { return m_csvRecords; }
    QString &systemHDDName() { return m_systemHDDName; }
    const QString &systemHDDName() const { return m_systemHDDName; }
    // After execute() and createCSVRecords(), in the order of the data types.
    std::vector<MissingDataType> missingDataTypes() const;
    // The data types whose commands run now, from any thread.
    QStringList runningDataTypes() const;

    // What OVALITH_SYSTEM_PROFILER says, put into the command line as it stands; else "system_profiler"
    // on macOS, and Ovalith's own profiler beside the program elsewhere.
    static QString profilerCommand();

protected:
    // A helper's trimmed output (getconf): within its limit and as one of the run's commands, so a stop
    // reaches it too; "" when it did not answer.
    QString helperOutput(const QString &commandLine) const;
    // A file that is there and not empty but no property list marks its data type as missing.
    PlistDocument readPlist(int index = 0) const;
    RecordMaker recordMaker() const { return RecordMaker{m_macAddress, m_nowDate}; }
    void appendRecords(RecordList records);

private:
    static QStringList makePlistFilePath(const QStringList &dataTypes, const QString &tempNameTag);
    std::vector<std::unique_ptr<OVExecuteCommand>> makeCommandLine(const QStringList &dataTypes) const;
    void runCommand(int index, OVCommandGroup &group);

    RecordList m_csvRecords;
    std::vector<std::unique_ptr<OVExecuteCommand>> m_execCommandArray;
    QString m_macAddress;
    QString m_nowDate;
    QStringList m_dataTypes;
    QStringList m_tempPlistFilePathArray;
    QString m_systemHDDName;
    mutable std::vector<std::optional<QString>> m_unreadable; // per data type: the reader refused the file
    std::vector<std::thread> m_started;                       // per data type, when start() ran it
    OVCommandGroup *m_group = nullptr;                        // the run's, once its commands started
};
