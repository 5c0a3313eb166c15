#pragma once

#include "FormValues.h"
#include "OVNotifier.h"
#include "inventory/OVCollectors.h"
#include "util/share/DeliveryConfig.h"
#include "util/share/OVShareSession.h"

#include <QStringList>

class OVCommandGroup;

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>

// The spine of the program: holds the machine key and the outcome of the last save, and runs one
// collection from the stale-mount clean-up to the result report. The desktop window and the command line
// drive the same run; everything it tells the user goes through the notifier.
class OVAppDelegate
{
public:
    enum SaveResultBit { LocalSaveFailed = 1, NetworkSaveFailed = 2, EndRequested = 4 };

    explicit OVAppDelegate(OVNotifier &notifier);
    ~OVAppDelegate();

    // Shows the refusal and answers false, or answers true when the form may be registered.
    [[nodiscard]] bool inputCheck(const FormValues &form);
    // One whole run on the caller's thread; returns after the report.
    void startCollection(const FormValues &form);

    // Whether a run may replace a saved file of the same number that another Mac wrote without asking
    // (ovalith-collect --replace); otherwise the notifier asks.
    void setReplaceOtherMachinesFile(bool replace) { m_replaceOtherMachinesFile = replace; }
    // The last run found another Mac's file under its number and was told not to replace it: it collected
    // nothing.
    bool replaceDeclined() const { return m_replaceDeclined.load(); }

    // With a share, every run also delivers its file there and reports in the network form.
    void setDelivery(std::optional<ShareSettings> share)
    {
        setDelivery(DeliveryConfig{std::move(share), {}});
    }
    // A configuration with a problem (a site file that cannot be read): every run saves, delivers nothing,
    // says why, and reports in the network form.
    void setDelivery(DeliveryConfig delivery) { m_delivery = std::move(delivery); }
    using ShareSessionFactory = std::function<std::unique_ptr<OVShareSession>(const ShareSettings &)>;
    void setShareSessionFactory(ShareSessionFactory factory) { m_shareSessionFactory = std::move(factory); }

    // The end of the program: every running command is stopped and a run in progress saves and reports
    // nothing more; waitForRun() then waits for its clean-up.
    void requestEnd();
    // A signal: before the save it is the end (nothing saved, nothing reported); once the save has begun
    // the file is kept, a delivery stops at its next step, and the run reports what it did.
    void interrupt();
    // Whether the last run began to save its file.
    bool saveBegun() const;
    void waitForRun();
    // Whether a run holds the lock now.
    bool isRunning();

    const QStringList &macAddress() const { return m_macAddress; }
    QString machineKey() const { return m_macAddress.value(0); }
    QString savePath() const;
    int saveResult() const { return m_saveResult.load(); }
    // The data types the last run could not collect; its file was saved with their lines empty.
    std::vector<MissingDataType> missingDataTypes() const;
    bool isLocal() const { return m_isLocal.load(); }
    // Why the last run failed where it did, in the user's words, one line each.
    QStringList problems() const;
    // The running collection's "_yyyyMMddHHmmss"; empty between runs.
    QString tempFileSuffix() const;
    bool hasRunObjects() const;
    // The data types whose commands run now; empty between runs. From any thread.
    QStringList runningDataTypes() const;

private:
    struct Run;

    void beginRun();
    void endRun();
    bool mayReplaceSavedFile(const FormValues &form);
    void refuseRun(const QString &problem);
    void addProblem(const QString &problem);
    void cleanStaleMount();
    void prepare(const FormValues &form);
    void getInventoryData();
    bool beginSave();
    void saveFile();
    QString updateIncompleteMarker(const QString &managementNumber);
    void deliverToShare(const QString &source, const QString &marker);
    void noteMissingDataTypes();
    void clear();
    void removeTempFiles();
    void showSaveResult();

    OVNotifier &m_notifier;
    QStringList m_macAddress;
    std::atomic<int> m_saveResult{0};
    std::atomic<bool> m_isLocal{true};
    std::mutex m_theLock;
    mutable std::mutex m_stateMutex; // guards what another thread may read: the run's objects, savePath
    QString m_savePath;
    std::unique_ptr<Run> m_run;
    std::shared_ptr<OVCommandGroup> m_commands; // the running collection's, so an end can stop them
    std::vector<MissingDataType> m_missing;
    QStringList m_problems;
    DeliveryConfig m_delivery;
    bool m_replaceOtherMachinesFile = false;
    std::atomic<bool> m_replaceDeclined{false};
    bool m_saveBegun = false;               // guarded by m_stateMutex
    std::atomic<bool> m_interrupted{false}; // a signal came after the save began
    ShareSessionFactory m_shareSessionFactory = makeShareSession;
};
