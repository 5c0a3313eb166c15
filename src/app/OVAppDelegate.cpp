#include "OVAppDelegate.h"

#include "CsvAssembly.h"
#include "InputCheck.h"
#include "LocalSave.h"
#include "ManageInfoRecords.h"
#include "NetworkDelivery.h"
#include "ResultText.h"
#include "cDebugLog.h"
#include "util/OVUtil.h"

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
        m_notifier.showMessageBox(refusal->message, refusal->message);
        return false;
    }
    return true;
}

void OVAppDelegate::startCollection(const FormValues &form)
{
    cDebugLog::outputLog(u"処理開始"_s);
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
    if (!(m_saveResult.load() & EndRequested))
        saveFile();
    m_notifier.showProgress(QString());
    cDebugLog::outputLog(u"sequence5"_s);
    clear();
    if (!(m_saveResult.load() & EndRequested))
        showSaveResult();
    cDebugLog::outputLog(u"処理完了"_s);
    m_notifier.enableControls();
}

void OVAppDelegate::cleanStaleMount()
{
    OVUtil::unmountSMBDrive(OVUtil::getMountPointPath());
}

void OVAppDelegate::prepare(const FormValues &form)
{
    OVUtil::createSaveFilePath();
    auto run = std::make_unique<Run>();
    run->form = form;
    run->tempFileSuffix = u"_"_s + OVUtil::getNowString(u"yyyyMMddHHmmss"_s);
    run->collectors = OVCollectors::make(machineKey(), today);
    std::lock_guard state(m_stateMutex);
    m_run = std::move(run);
}

void OVAppDelegate::getInventoryData()
{
    m_run->collectors.runAll([this](int number, const QString &name) {
        cDebugLog::outputLog(u"inventory_%1"_s.arg(number));
        m_notifier.collectorStarted(number, OVCollectors::kCount, name);
    });
    cDebugLog::outputLog(u"inventory_10"_s);
    m_run->manageInfoArray = createManageInfoCSVRecords(m_run->form, machineKey(), today);
    cDebugLog::outputLog(u"inventory_11"_s);
    m_run->csvRecordArray =
        combineCSVRecords(m_run->collectors, m_run->manageInfoArray, machineKey(), OVUtil::getNowString);
    cDebugLog::outputLog(u"inventory_12"_s);
    m_run->csvAllText = createAllCSVText(m_run->csvRecordArray, m_run->form.managementNumber());
    cDebugLog::outputLog(u"inventory_end"_s);
}

void OVAppDelegate::saveFile()
{
    // Bit 4 is kept: an end requested on another thread meanwhile must still stop the report.
    m_saveResult.fetch_and(~(LocalSaveFailed | NetworkSaveFailed));
    m_isLocal.store(true);
    const QString managementNumber = m_run->form.managementNumber();
    const QString finalPath = makeSrcPath(managementNumber);
    const QString tempPath = makeTempSrcPath(managementNumber, m_run->tempFileSuffix);
    bool saved = OVUtil::outputFile(m_run->csvAllText, tempPath);
    {
        std::lock_guard state(m_stateMutex);
        m_savePath = OVUtil::getSaveFilePath() + managementNumber + u".csv"_s;
    }
    if (m_delivery)
        deliverToShare(tempPath); // while the temporary file still exists under its own name
    saved = saved && replaceWithTemporary(tempPath, finalPath);
    if (!saved) {
        m_saveResult.fetch_or(LocalSaveFailed);
        QFile::remove(tempPath);
    }
}

void OVAppDelegate::deliverToShare(const QString &tempPath)
{
    m_isLocal.store(false);
    const auto session = m_shareSessionFactory(*m_delivery);
    const DeliveryRequest request{tempPath, m_run->form.managementNumber(), machineKey(),
                                  m_run->tempFileSuffix,
                                  [this] { return (m_saveResult.load() & EndRequested) != 0; }};
    if (!saveNetworkStorage(*session, request))
        m_saveResult.fetch_or(NetworkSaveFailed);
}

void OVAppDelegate::clear()
{
    removeTempFiles();
    std::lock_guard state(m_stateMutex);
    m_run.reset();
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
    if (m_isLocal.load()) {
        m_notifier.showLocalResult(kInventoryCollection, localResultText(result, path),
                                   !(result & LocalSaveFailed));
    } else if (const auto window = networkResultWindow(result & ~EndRequested)) {
        m_notifier.showResultWindow(*window);
    }
    if (!(result & LocalSaveFailed))
        m_notifier.revealFile(path);
}

void OVAppDelegate::requestEnd()
{
    m_saveResult.fetch_or(EndRequested);
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

bool OVAppDelegate::hasRunObjects() const
{
    std::lock_guard state(m_stateMutex);
    return m_run != nullptr;
}
