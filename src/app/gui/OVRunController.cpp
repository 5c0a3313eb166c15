#include "OVRunController.h"

#include "OVMainWindow.h"
#include "OVMessagePresenter.h"
#include "app/InputCheck.h"
#include "app/ResultText.h"
#include "util/share/DeliveryConfig.h"

#include <QEventLoop>
#include <QGuiApplication>
#include <QLineEdit>
#include <QProgressBar>

OVRunController::OVRunController(OVMainWindow &window, OVMessagePresenter &presenter,
                                 const OVBuildProfile &profile)
    : m_window(window), m_presenter(presenter), m_profile(profile),
      m_delegate(std::make_unique<OVAppDelegate>(*this))
{
    // The end decides when the program ends: a run may still need the event loop after the last window
    // has closed.
    QGuiApplication::setQuitOnLastWindowClosed(false);
    connect(&window, &OVMainWindow::registRequested, this, &OVRunController::regist);
    connect(&window, &OVMainWindow::cancelRequested, this, &OVRunController::cancel);
}

OVRunController::~OVRunController()
{
    if (!m_runThread)
        return;
    // The run may still hand calls to this thread: serve them while it stops.
    m_delegate->requestEnd();
    QEventLoop loop;
    connect(this, &OVRunController::runFinished, &loop, &QEventLoop::quit);
    if (m_running)
        loop.exec();
}

template <typename Function> void OVRunController::onGuiThread(Function &&function)
{
    if (QThread::currentThread() == thread())
        function();
    else
        QMetaObject::invokeMethod(this, std::forward<Function>(function), Qt::BlockingQueuedConnection);
}

QThread *OVRunController::startRun(const FormValues &form)
{
    QThread *worker = QThread::create([this, form] { m_delegate->startCollection(form); });
    m_runThread = worker;
    m_running = true;
    connect(worker, &QThread::finished, this, [this, worker] {
        m_running = false;
        worker->deleteLater();
        Q_EMIT runFinished();
    });
    worker->start();
    return worker;
}

void OVRunController::regist()
{
    if (isRunning() || m_ending)
        return;
    // One reading of the form, on this thread; the run uses nothing else.
    const FormValues form = m_window.formValues();
    if (const auto refusal = ::inputCheck(form)) {
        m_presenter.showMessageBox(&m_window, refusal->message, refusal->detail, MessageKind::Warning);
        m_window.field(refusal->field)->setFocus(); // where the user mends it
        return;
    }
    // Read anew for every run, so that a site file mended meanwhile counts.
    m_delegate->setDelivery(loadDeliveryConfig());
    if (m_profile.backgroundRun) {
        startRun(form);
        return;
    }
    QEventLoop loop; // the window keeps painting while regist() waits for the report
    connect(this, &OVRunController::runFinished, &loop, &QEventLoop::quit);
    startRun(form);
    loop.exec();
    m_window.activateWindow();
    m_window.raise();
}

void OVRunController::cancel()
{
    if (m_ending)
        return;
    if (m_profile.backgroundRun) {
        endDuringOrWithoutRun();
        return;
    }
    if (isRunning())
        return; // the end button is disabled during a run; a close box waits for the run's report
    m_ending = true;
    m_delegate->requestEnd();
    m_presenter.showSheet(&m_window, kInventoryCollection, kDataCollectionEnded, [this] { endAfterSheet(); });
}

void OVRunController::endAfterSheet()
{
    m_window.allowClose();
    m_window.close();
    terminateWhenNoRunIsLeft();
}

void OVRunController::endDuringOrWithoutRun()
{
    m_ending = true;
    // At once: a run in progress stops its commands and skips its save and its report.
    m_delegate->requestEnd();
    m_window.allowClose();
    m_window.close();
    m_presenter.showMessageBox(nullptr, kInventoryCollection, kDataCollectionEnded, MessageKind::Information);
    terminateWhenNoRunIsLeft();
}

void OVRunController::endOnSignal(int number)
{
    // As ovalith-collect does: every command stops, the run removes its temporary files and saves and
    // reports nothing, and the program ends with 128 + the signal's number.
    m_ending = true;
    m_delegate->interrupt(); // a delivery under way is let go at once
    m_delegate->requestEnd();
    m_window.allowClose();
    m_window.close();
    m_presenter.dismissAll(); // a run waiting for its report box would otherwise wait for ever
    terminateWhenNoRunIsLeft(128 + number);
}

void OVRunController::terminateWhenNoRunIsLeft(int exitCode)
{
    if (!isRunning()) {
        m_presenter.terminate(exitCode);
        return;
    }
    connect(this, &OVRunController::runFinished, this, [this, exitCode] { m_presenter.terminate(exitCode); });
}

void OVRunController::disableControls()
{
    onGuiThread([this] { m_window.setControlsEnabled(false, !m_profile.backgroundRun); });
}

void OVRunController::enableControls()
{
    onGuiThread([this] { m_window.setControlsEnabled(true, !m_profile.backgroundRun); });
}

void OVRunController::showProgress(const QString &text)
{
    onGuiThread([this, text] { m_window.showProgress(text); });
}

void OVRunController::collectorStarted(int number, int, const QString &name)
{
    onGuiThread([this, number, name] { Q_EMIT collectorStarting(number, name); });
}

void OVRunController::showMessageBox(const QString &messageText, const QString &informativeText)
{
    // Only what the user must mend comes this way: the form's refusals.
    onGuiThread(
        [&] { m_presenter.showMessageBox(&m_window, messageText, informativeText, MessageKind::Warning); });
}

bool OVRunController::askQuestion(const QString &messageText, const QString &informativeText)
{
    bool yes = false;
    onGuiThread([&] { yes = m_presenter.askQuestion(&m_window, messageText, informativeText); });
    return yes;
}

void OVRunController::showLocalResult(const OVResultReport &report)
{
    const MessageKind kind = report.complete ? MessageKind::Information : MessageKind::Warning;
    onGuiThread(
        [&] { m_presenter.showMessageBox(&m_window, report.messageText, report.informativeText(), kind); });
}

void OVRunController::showResultWindow(const QString &windowName, const OVResultReport &report)
{
    onGuiThread([&] { m_presenter.runResultWindow(&m_window, windowName, report.note(), !report.complete); });
}

void OVRunController::revealFile(const QString &path)
{
    onGuiThread([&] {
        if (!m_ending) // nothing opens once the program is ending
            m_presenter.revealFile(path);
    });
}
