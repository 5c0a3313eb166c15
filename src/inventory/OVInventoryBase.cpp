#include "OVInventoryBase.h"

#include "process/OVCommandGroup.h"
#include "process/TimeLimits.h"
#include "util/OVUtil.h"
#include "util/ShellQuote.h"
#include "util/platform/Platform.h"

#include <QFileInfo>

#include <system_error>

OVInventoryBase::OVInventoryBase(QString macAddress, QString nowDate, const QStringList &dataTypes,
                                 const QString &tempNameTag)
    : m_macAddress(std::move(macAddress)), m_nowDate(std::move(nowDate)), m_dataTypes(dataTypes),
      m_tempPlistFilePathArray(makePlistFilePath(dataTypes, tempNameTag)),
      m_unreadable(std::size_t(dataTypes.size()))
{
    m_execCommandArray = makeCommandLine(dataTypes);
}

OVInventoryBase::~OVInventoryBase()
{
    for (std::thread &command : m_started) {
        if (command.joinable())
            command.join();
    }
}

QString OVInventoryBase::profilerCommand()
{
    const QString overridden = qEnvironmentVariable("OVALITH_SYSTEM_PROFILER");
    return overridden.isEmpty() ? platform::defaultProfilerCommand() : overridden;
}

QStringList OVInventoryBase::makePlistFilePath(const QStringList &dataTypes, const QString &tempNameTag)
{
    QStringList paths;
    for (const QString &dataType : dataTypes)
        paths.append(OVUtil::getSaveFilePath() + QLatin1Char('.') + dataType + tempNameTag +
                     QStringLiteral(".plist"));
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

void OVInventoryBase::execute(OVCommandGroup &group)
{
    for (int i = 0; i < int(m_dataTypes.size()); ++i)
        finish(i, group);
}

void OVInventoryBase::start(OVCommandGroup &group)
{
    m_group = &group;
    m_started.resize(std::size_t(m_dataTypes.size()));
    for (qsizetype i = 0; i < m_dataTypes.size(); ++i) {
        try {
            m_started[std::size_t(i)] = std::thread([this, i, &group] { runCommand(int(i), group); });
        } catch (const std::system_error &) {
            // No thread to spare (a process limit): finish() runs the command itself, and a command that
            // cannot start either is a missing data type, as in the serial run.
        }
    }
}

void OVInventoryBase::finish(int index, OVCommandGroup &group)
{
    m_group = &group;
    if (std::size_t(index) < m_started.size() && m_started[std::size_t(index)].joinable())
        m_started[std::size_t(index)].join();
    if (m_execCommandArray.at(std::size_t(index))->ending() == OVExecuteCommand::Ending::NotRun)
        runCommand(index, group);
}

void OVInventoryBase::runCommand(int index, OVCommandGroup &group)
{
    m_execCommandArray.at(std::size_t(index))
        ->executeCommand(dataTypeTimeLimit(m_dataTypes.at(index)), group);
}

void OVInventoryBase::execute()
{
    OVCommandGroup group;
    execute(group);
}

QString OVInventoryBase::helperOutput(const QString &commandLine) const
{
    if (!m_group)
        return OVExecuteCommand::trimmedOutputOf(commandLine);
    return OVExecuteCommand::trimmedOutputOf(commandLine, helperTimeLimit(), *m_group);
}

PlistDocument OVInventoryBase::readPlist(int index) const
{
    if (index < 0 || index >= m_tempPlistFilePathArray.size())
        return PlistDocument();
    const QString &path = m_tempPlistFilePathArray.at(index);
    PlistDocument document = PlistDocument::fromFile(path);
    // An empty file, or a list without items, only means there is nothing to report.
    if (!document.isPropertyList() && QFileInfo(path).size() > 0)
        m_unreadable.at(std::size_t(index)) = QStringLiteral("not a property list");
    return document;
}

std::vector<MissingDataType> OVInventoryBase::missingDataTypes() const
{
    std::vector<MissingDataType> missing;
    for (qsizetype i = 0; i < m_dataTypes.size(); ++i) {
        // The command's own failure explains a broken file best: a time-out leaves half a list.
        auto reason = m_execCommandArray.at(std::size_t(i))->failure();
        if (!reason)
            reason = m_unreadable.at(std::size_t(i));
        if (reason)
            missing.push_back({m_dataTypes.at(i), *reason});
    }
    return missing;
}

QStringList OVInventoryBase::runningDataTypes() const
{
    QStringList running;
    for (qsizetype i = 0; i < m_dataTypes.size(); ++i) {
        if (m_execCommandArray.at(std::size_t(i))->isRunning())
            running << m_dataTypes.at(i);
    }
    return running;
}

void OVInventoryBase::appendRecords(RecordList records)
{
    m_csvRecords.insert(m_csvRecords.end(), std::make_move_iterator(records.begin()),
                        std::make_move_iterator(records.end()));
}
