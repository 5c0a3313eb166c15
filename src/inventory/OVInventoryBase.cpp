#include "OVInventoryBase.h"

#include "util/OVUtil.h"
#include "util/ShellQuote.h"
#include "util/platform/Platform.h"

OVInventoryBase::OVInventoryBase(QString macAddress, QString nowDate, const QStringList &dataTypes)
    : m_macAddress(std::move(macAddress)), m_nowDate(std::move(nowDate)),
      m_tempPlistFilePathArray(makePlistFilePath(dataTypes))
{
    m_execCommandArray = makeCommandLine(dataTypes);
}

OVInventoryBase::~OVInventoryBase() = default;

QString OVInventoryBase::profilerCommand()
{
    const QString overridden = qEnvironmentVariable("OVALITH_SYSTEM_PROFILER");
    return overridden.isEmpty() ? platform::defaultProfilerCommand() : overridden;
}

QStringList OVInventoryBase::makePlistFilePath(const QStringList &dataTypes)
{
    QStringList paths;
    for (const QString &dataType : dataTypes)
        paths.append(OVUtil::getSaveFilePath() + QLatin1Char('.') + dataType + QStringLiteral(".plist"));
    return paths;
}

std::vector<std::unique_ptr<OVExecuteCommand>>
OVInventoryBase::makeCommandLine(const QStringList &dataTypes) const
{
    std::vector<std::unique_ptr<OVExecuteCommand>> commands;
    const QString profiler = profilerCommand();
    for (qsizetype i = 0; i < dataTypes.size(); ++i) {
        const QString line = QStringLiteral("%1 -xml %2 > %3")
                                 .arg(profiler, dataTypes.at(i), shellQuote(m_tempPlistFilePathArray.at(i)));
        commands.push_back(std::make_unique<OVExecuteCommand>(line));
    }
    return commands;
}

void OVInventoryBase::execute()
{
    for (const auto &command : m_execCommandArray)
        command->executeCommand();
}

PlistDocument OVInventoryBase::readPlist(int index) const
{
    if (index < 0 || index >= m_tempPlistFilePathArray.size())
        return PlistDocument();
    return PlistDocument::fromFile(m_tempPlistFilePathArray.at(index));
}

void OVInventoryBase::appendRecords(RecordList records)
{
    m_csvRecords.insert(m_csvRecords.end(), std::make_move_iterator(records.begin()),
                        std::make_move_iterator(records.end()));
}
