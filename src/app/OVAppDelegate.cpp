#include "OVAppDelegate.h"

#include "CsvAssembly.h"
#include "DeliveryJob.h"
#include "IncompleteMarker.h"
#include "InputCheck.h"
#include "LocalSave.h"
#include "ManageInfoRecords.h"
#include "NetworkDelivery.h"
#include "OwnerCheck.h"
#include "ResultText.h"
#include "SaveFolderCheck.h"
#include "StaleFiles.h"
#include "cDebugLog.h"
#include "process/OVCommandGroup.h"
#include "util/OVUtil.h"
#include "util/platform/Platform.h"

#include <QCoreApplication>
#include <QFile>

using namespace Qt::StringLiterals;

struct OVAppDelegate::Run
{
    FormValues form;
    QString tempFileSuffix;
    OVCollectors collectors;
    RecordList manageInfoArray;
    QString csvAllText;
    RecordList csvRecordArray;
};

namespace {

QString today()
{
    return OVUtil::getNowString(u"yyyy/MM/dd"_s);
}

} // namespace

OVAppDelegate::OVAppDelegate(OVNotifier &notifier)
    : m_notifier(notifier), m_macAddress(OVUtil::getMacAddress())
{}

OVAppDelegate::~OVAppDelegate() = default;

bool OVAppDelegate::inputCheck(const FormValues &form)
{
    if (const auto refusal = ::inputCheck(form)) {
        m_notifier.showMessageBox(refusal->message, refusal->detail);
        return false;
    }
    return true;
}

void OVAppDelegate::startCollection(const FormValues &form)
{
    cDebugLog::outputLog(u"処理開始"_s);
    beginRun();
    // A folder that cannot take the file is said at once, before any command runs for nothing.
    if (const auto problem = saveFolderProblem()) {
        refuseRun(*problem);
        return endRun();
    }
    removeStaleTemporaryFiles(OVUtil::getSaveFilePath(), machineKey(), QDateTime::currentDateTime());
    if (!mayReplaceSavedFile(form)) {
        m_replaceDeclined.store(true);
        return endRun();
    }
    cleanStaleMount();
    cDebugLog::outputLog(u"sequence1"_s);
    std::lock_guard lock(m_theLock);
    m_notifier.disableControls();
    m_notifier.showProgress(u"インベントリ情報収集中..."_s);
    cDebugLog::outputLog(u"sequence2"_s);
    prepare(form);
    cDebugLog::outputLog(u"sequence3"_s);
    getInventoryData();
    cDebugLog::outputLog(u"sequence4"_s);
    if (beginSave())
        saveFile();
    m_notifier.showProgress(QString());
    cDebugLog::outputLog(u"sequence5"_s);
    clear();
    if (!(m_saveResult.load() & EndRequested))
        showSaveResult();
    cDebugLog::outputLog(u"処理完了"_s);
    m_notifier.enableControls();
}

void OVAppDelegate::beginRun()
{
    // The run's commands, from the stale mount's umount on, stop together when the end is requested.
    auto commands = std::make_shared<OVCommandGroup>();
    std::lock_guard state(m_stateMutex);
    if (m_saveResult.load() & EndRequested)
        commands->stop();
    m_commands = std::move(commands);
    m_problems.clear();
    m_missing.clear();
    m_replaceDeclined.store(false);
    m_saveBegun = false;
    m_interrupted.store(false);
}

bool OVAppDelegate::beginSave()
{
    // Decided under the same lock as a signal's interruption, so that a run either saves and reports or
    // does neither.
    std::lock_guard state(m_stateMutex);
    m_saveBegun = !(m_saveResult.load() & EndRequested);
    return m_saveBegun;
}

void OVAppDelegate::interrupt()
{
    std::lock_guard state(m_stateMutex);
    if (m_saveBegun) {
        m_interrupted.store(true);
        return;
    }
    m_saveResult.fetch_or(EndRequested);
    if (m_commands)
        m_commands->stop();
}

bool OVAppDelegate::saveBegun() const
{
    std::lock_guard state(m_stateMutex);
    return m_saveBegun;
}

void OVAppDelegate::endRun()
{
    std::lock_guard state(m_stateMutex);
    m_commands.reset();
}

bool OVAppDelegate::mayReplaceSavedFile(const FormValues &form)
{
    if (m_replaceOtherMachinesFile)
        return true;
    const auto other = otherMachineOf(makeSrcPath(form.managementNumber()), m_macAddress);
    return !other || m_notifier.askQuestion(kInventoryCollection, replaceQuestion(*other));
}

void OVAppDelegate::refuseRun(const QString &problem)
{
    std::lock_guard lock(m_theLock);
    platform::systemLog(problem);
    // Nothing was written, so nothing can be delivered either.
    m_saveResult.fetch_and(EndRequested);
    m_saveResult.fetch_or(m_delivery.delivers() ? LocalSaveFailed | NetworkSaveFailed : LocalSaveFailed);
    m_isLocal.store(!m_delivery.delivers());
    addProblem(problem);
    if (!(m_saveResult.load() & EndRequested))
        showSaveResult();
}

void OVAppDelegate::addProblem(const QString &problem)
{
    std::lock_guard state(m_stateMutex);
    m_problems.append(problem);
}

QStringList OVAppDelegate::problems() const
{
    std::lock_guard state(m_stateMutex);
    return m_problems;
}

void OVAppDelegate::cleanStaleMount()
{
    OVUtil::unmountSMBDrive(OVUtil::getMountPointPath(), *m_commands);
}

void OVAppDelegate::prepare(const FormValues &form)
{
    OVUtil::createSaveFilePath();
    auto run = std::make_unique<Run>();
    run->form = form;
    run->tempFileSuffix = u"_"_s + OVUtil::getNowString(u"yyyyMMddHHmmss"_s);
    // Time and process id alone may meet on two Macs that run from one shared folder.
    const QString tempNameTag = run->tempFileSuffix + u'_' + machineKey() + u'_' +
                                QString::number(QCoreApplication::applicationPid());
    run->collectors = OVCollectors::make(machineKey(), today, tempNameTag);
    std::lock_guard state(m_stateMutex);
    m_run = std::move(run);
}

void OVAppDelegate::getInventoryData()
{
    const OVCollectors::Observer observer{
        [this](int number, datatypes::Collector collector) {
            m_notifier.collectorStarted(number, OVCollectors::kCount,
                                        QLatin1String(datatypes::entryOf(collector).shortName));
        },
        // Where the run waits, so that debug.txt names the data type of a run that hangs.
        [](int number, const QString &dataType) {
            cDebugLog::outputLog(u"inventory_%1 %2"_s.arg(number).arg(dataType));
        }};
    m_run->collectors.runAll(*m_commands, observer);
    // A stopped run saves nothing, so it makes nothing more either.
    if (m_commands->isStopped())
        return;
    noteMissingDataTypes();
    cDebugLog::outputLog(u"inventory_10"_s);
    m_run->manageInfoArray = createManageInfoCSVRecords(m_run->form, machineKey(), today);
    cDebugLog::outputLog(u"inventory_11"_s);
    m_run->csvRecordArray =
        combineCSVRecords(m_run->collectors, m_run->manageInfoArray, machineKey(), OVUtil::getNowString);
    cDebugLog::outputLog(u"inventory_12"_s);
    m_run->csvAllText = createAllCSVText(m_run->csvRecordArray, m_run->form.managementNumber());
    cDebugLog::outputLog(u"inventory_end"_s);
}

void OVAppDelegate::noteMissingDataTypes()
{
    // A run that was ended saves and reports nothing; what its stopped commands left is no news.
    auto missing =
        m_commands->isStopped() ? std::vector<MissingDataType>() : m_run->collectors.missingDataTypes();
    if (!missing.empty()) {
        QStringList parts;
        for (const MissingDataType &type : missing)
            parts << type.dataType + u": "_s + type.reason;
        platform::systemLog(u"incomplete inventory: "_s + parts.join(u"; "_s));
    }
    std::lock_guard state(m_stateMutex);
    m_missing = std::move(missing);
}

void OVAppDelegate::saveFile()
{
    // Bit 4 is kept: an end requested on another thread meanwhile must still stop the report.
    m_saveResult.fetch_and(~(LocalSaveFailed | NetworkSaveFailed));
    m_isLocal.store(true);
    const QString managementNumber = m_run->form.managementNumber();
    const QString finalPath = makeSrcPath(managementNumber);
    const QString tempPath = makeTempSrcPath(managementNumber, m_run->tempFileSuffix);
    const bool written = OVUtil::outputFile(m_run->csvAllText, tempPath);
    {
        std::lock_guard state(m_stateMutex);
        m_savePath = OVUtil::getSaveFilePath() + managementNumber + u".csv"_s;
    }
    // The file is in its place before the delivery starts, so a stalled server or a kill meanwhile never
    // costs the local copy.
    const bool saved = written && replaceWithTemporary(tempPath, finalPath);
    if (!saved)
        m_saveResult.fetch_or(LocalSaveFailed);
    // An older note stays with the older file that a failed save leaves.
    const QString marker = saved ? updateIncompleteMarker(managementNumber) : QString();
    if (m_delivery.delivers()) {
        if (!written) {
            m_saveResult.fetch_or(NetworkSaveFailed); // nothing was written, so nothing can be sent
        } else if (!m_delivery.share) {
            m_saveResult.fetch_or(NetworkSaveFailed);
            addProblem(kNotDelivered + m_delivery.problem);
        } else {
            deliverToShare(saved ? finalPath : tempPath, marker);
        }
        m_isLocal.store(false);
    }
    if (!saved)
        QFile::remove(tempPath);
}

QString OVAppDelegate::updateIncompleteMarker(const QString &managementNumber)
{
    const QString path = makeMarkerPath(managementNumber);
    const auto missing = missingDataTypes();
    if (missing.empty()) {
        if (QFile::exists(path) && !QFile::remove(path))
            addProblem(u"以前の不完全な収集を示すファイルを削除できません："_s + path);
        return QString();
    }
    const IncompleteRun run{managementNumber, OVUtil::getNowString(u"yyyy/MM/dd HH:mm:ss"_s),
                            OVUtil::getComputerName().value_or(QString()), machineKey(), missing};
    if (OVUtil::outputFile(makeIncompleteText(run), path))
        return path;
    addProblem(u"一部の情報が欠けていることを示すファイルを書き込めません："_s + path);
    return QString();
}

void OVAppDelegate::deliverToShare(const QString &source, const QString &marker)
{
    m_notifier.showProgress(kSendingToServer);
    const QString number = m_run->form.managementNumber();
    const bool endRequested = (m_saveResult.load() & EndRequested) != 0;
    DeliveryRequest request{source,
                            number,
                            machineKey(),
                            m_run->tempFileSuffix,
                            [endRequested] { return endRequested; },
                            marker,
                            makeMarkerName(number)};
    QString reason;
    if (!deliveryjob::deliver(
            m_shareSessionFactory(*m_delivery.share), std::move(request),
            [this] { return m_interrupted.load(); }, &reason)) {
        m_saveResult.fetch_or(NetworkSaveFailed);
        addProblem(kNotDelivered + reason);
    }
}

void OVAppDelegate::clear()
{
    removeTempFiles();
    std::lock_guard state(m_stateMutex);
    m_run.reset();
    m_commands.reset();
}

void OVAppDelegate::removeTempFiles()
{
    for (const OVInventoryBase *collector : m_run->collectors.inCreationOrder()) {
        for (const QString &path : collector->tempPlistFilePathArray()) {
            if (QFile::exists(path))
                QFile::remove(path);
        }
    }
}

void OVAppDelegate::showSaveResult()
{
    const int result = m_saveResult.load();
    const QString path = savePath();
    OVResultReport report;
    report.messageText = kInventoryCollection;
    report.resultText = localResultText(result, path);
    report.problems = problems();
    report.incompleteNote = incompleteNote(missingDataTypes());
    report.saved = !(result & LocalSaveFailed);
    report.complete = (result & ~EndRequested) == 0 && report.note().isEmpty();
    if (m_isLocal.load())
        m_notifier.showLocalResult(report);
    else if (const auto window = networkResultWindow(result & ~EndRequested))
        m_notifier.showResultWindow(*window, report);
    if (report.saved)
        m_notifier.revealFile(path);
}

void OVAppDelegate::requestEnd()
{
    m_saveResult.fetch_or(EndRequested);
    std::lock_guard state(m_stateMutex);
    if (m_commands)
        m_commands->stop();
}

bool OVAppDelegate::isRunning()
{
    std::unique_lock lock(m_theLock, std::try_to_lock);
    return !lock.owns_lock();
}

std::vector<MissingDataType> OVAppDelegate::missingDataTypes() const
{
    std::lock_guard state(m_stateMutex);
    return m_missing;
}

void OVAppDelegate::waitForRun()
{
    std::lock_guard lock(m_theLock);
}

QString OVAppDelegate::savePath() const
{
    std::lock_guard state(m_stateMutex);
    return m_savePath;
}

QString OVAppDelegate::tempFileSuffix() const
{
    std::lock_guard state(m_stateMutex);
    return m_run ? m_run->tempFileSuffix : QString();
}

QStringList OVAppDelegate::runningDataTypes() const
{
    std::lock_guard state(m_stateMutex);
    return m_run ? m_run->collectors.runningDataTypes() : QStringList();
}

bool OVAppDelegate::hasRunObjects() const
{
    std::lock_guard state(m_stateMutex);
    return m_run != nullptr;
}
