#pragma once

#include "app/OVAppDelegate.h"
#include "util/OVBuildProfile.h"

#include <QObject>
#include <QPointer>
#include <QThread>

class OVMainWindow;
class OVMessagePresenter;

// Wires the form to the run. The run always works on a thread of its own, so the window never freezes;
// everything it shows is handed to the GUI thread, the only one that touches widgets. The 64-bit build
// keeps the form and both buttons disabled and returns from regist() only after the report; the
// universal build returns at once and keeps the text fields and the end button usable. The program ends
// only through the end, once no run is left: the GUI thread must keep serving the run until then.
class OVRunController : public QObject, public OVNotifier
{
    Q_OBJECT

public:
    OVRunController(OVMainWindow &window, OVMessagePresenter &presenter, const OVBuildProfile &profile);
    ~OVRunController() override;

    void regist();
    void cancel();
    // SIGTERM, SIGHUP or SIGINT: the end without a question, then the program ends.
    void endOnSignal(int number);

    OVAppDelegate &delegate() { return *m_delegate; }
    bool isRunning() const { return m_running; }

    // OVNotifier, from any thread.
    void disableControls() override;
    void enableControls() override;
    void showProgress(const QString &text) override;
    void collectorStarted(int number, int count, const QString &name) override;
    void showMessageBox(const QString &messageText, const QString &informativeText) override;
    bool askQuestion(const QString &messageText, const QString &informativeText) override;
    void showLocalResult(const OVResultReport &report) override;
    void showResultWindow(const QString &windowName, const OVResultReport &report) override;
    void revealFile(const QString &path) override;

Q_SIGNALS:
    void collectorStarting(int number, const QString &name);
    void runFinished();

private:
    template <typename Function> void onGuiThread(Function &&function);
    QThread *startRun(const FormValues &form);
    void endDuringOrWithoutRun();
    void endAfterSheet();
    void terminateWhenNoRunIsLeft(int exitCode = 0);

    OVMainWindow &m_window;
    OVMessagePresenter &m_presenter;
    const OVBuildProfile &m_profile;
    std::unique_ptr<OVAppDelegate> m_delegate;
    QPointer<QThread> m_runThread;
    bool m_running = false; // from the start of a run until its thread has finished
    bool m_ending = false;
};
