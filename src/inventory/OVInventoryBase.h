#pragma once

#include "OVExecuteCommand.h"
#include "PlistDocument.h"
#include "records/RecordMaker.h"

#include <QStringList>

#include <memory>
#include <vector>

// What every collector shares: one system_profiler run per data type into a hidden file in the save
// folder, and the records read back from those files. A collector only adds createCSVRecords().
class OVInventoryBase
{
public:
    OVInventoryBase(QString macAddress, QString nowDate, const QStringList &dataTypes = {});
    virtual ~OVInventoryBase();
    OVInventoryBase(const OVInventoryBase &) = delete;
    OVInventoryBase &operator=(const OVInventoryBase &) = delete;

    // Runs the command lines one after the other; their outcome shows later as missing or empty files.
    void execute();
    virtual void createCSVRecords() {}

    const QString &macAddress() const { return m_macAddress; }
    const QString &nowDate() const { return m_nowDate; }
    const QStringList &tempPlistFilePathArray() const { return m_tempPlistFilePathArray; }
    const std::vector<std::unique_ptr<OVExecuteCommand>> &execCommandArray() const
    {
        return m_execCommandArray;
    }
    RecordList &csvRecords() { return m_csvRecords; }
    const RecordList &csvRecords() const { return m_csvRecords; }
    QString &systemHDDName() { return m_systemHDDName; }
    const QString &systemHDDName() const { return m_systemHDDName; }

    // What OVALITH_SYSTEM_PROFILER says, put into the command line as it stands; else "system_profiler"
    // on macOS, and Ovalith's own profiler beside the program elsewhere.
    static QString profilerCommand();

protected:
    PlistDocument readPlist(int index = 0) const;
    RecordMaker recordMaker() const { return RecordMaker{m_macAddress, m_nowDate}; }
    void appendRecords(RecordList records);

private:
    static QStringList makePlistFilePath(const QStringList &dataTypes);
    std::vector<std::unique_ptr<OVExecuteCommand>> makeCommandLine(const QStringList &dataTypes) const;

    RecordList m_csvRecords;
    std::vector<std::unique_ptr<OVExecuteCommand>> m_execCommandArray;
    QString m_macAddress;
    QString m_nowDate;
    QStringList m_tempPlistFilePathArray;
    QString m_systemHDDName;
};
