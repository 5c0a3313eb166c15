#include "OVRunController.h"

#include "OVMainWindow.h"
#include "OVMessagePresenter.h"
#include "app/ResultText.h"

#include <QEventLoop>
#include <QProgressBar>

OVRunController::OVRunController(OVMainWindow &window, OVMessagePresenter &presenter,
                                 const OVBuildProfile &profile)
    : m_window(window), m_presenter(presenter), m_profile(profile),
      m_delegate(std::make_unique<OVAppDelegate>(*this))
{
    m_delegate->setDelivery(ShareSettings::configured());
    connect(&window, &OVMainWindow::registRequested, this, &OVRunController::regist);
    connect(&window, &OVMainWindow::cancelRequested, this, &OVRunController::cancel);
}

OVRunController::~OVRunController()
{
    if (m_endThread)
        m_endThread->wait();
    if (m_runThread)
        m_runThread->wait();
    delete m_endThread;
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
    if (!m_delegate->inputCheck(form))
        return;
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
        m_ending = true;
        m_endThread = QThread::create([this] { endOnBackgroundThread(); });
        m_endThread->start();
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
    m_delegate->waitForRun();
    m_presenter.terminate();
}

void OVRunController::endOnBackgroundThread()
{
    // The end takes effect at once: a run that has not saved yet skips saving and its report.
    m_delegate->requestEnd();
    onGuiThread([this] {
        m_window.allowClose();
        m_window.close();
    });
    onGuiThread([this] { m_presenter.showMessageBox(nullptr, kInventoryCollection, kDataCollectionEnded); });
    m_delegate->waitForRun();
    onGuiThread([this] { m_presenter.terminate(); });
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
    onGuiThread([&] { m_presenter.showMessageBox(&m_window, messageText, informativeText); });
}

void OVRunController::showResultWindow(const QString &windowName)
{
    onGuiThread([&] { m_presenter.runResultWindow(&m_window, windowName); });
}

void OVRunController::revealFile(const QString &path)
{
    onGuiThread([&] { m_presenter.revealFile(path); });
}
