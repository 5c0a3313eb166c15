#include "DeliveryJob.h"

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>

namespace deliveryjob {

namespace {

std::atomic<int> g_letGo{0};

const QString kStopped = QStringLiteral("中断されたため、送信をやめました");

// Shared by the run and the delivery's thread; the thread keeps it alive when the run lets it go.
struct Job
{
    std::unique_ptr<OVShareSession> session;
    DeliveryRequest request;
    std::atomic<bool> stop{false};
    std::mutex mutex;
    std::condition_variable done;
    bool finished = false;
    bool delivered = false;
    QString reason;
};

void work(const std::shared_ptr<Job> &job)
{
    QString reason;
    const bool delivered = saveNetworkStorage(*job->session, job->request, &reason);
    job->session.reset();
    std::lock_guard lock(job->mutex);
    job->delivered = delivered;
    job->reason = reason;
    job->finished = true;
    job->done.notify_all();
}

} // namespace

bool deliver(std::unique_ptr<OVShareSession> session, DeliveryRequest request,
             const std::function<bool()> &interrupted, QString *reason)
{
    auto job = std::make_shared<Job>();
    job->session = std::move(session);
    job->request = std::move(request);
    job->request.stopRequested = [stop = &job->stop] { return stop->load(); };
    std::thread worker;
    try {
        worker = std::thread([job] { work(job); });
    } catch (const std::system_error &) {
        work(job); // no thread to spare: the delivery runs here, bounded by its own limits
    }
    std::unique_lock lock(job->mutex);
    while (!job->finished) {
        job->done.wait_for(lock, std::chrono::milliseconds(100));
        if (!job->finished && interrupted()) {
            job->stop.store(true);
            worker.detach();
            ++g_letGo;
            if (reason)
                *reason = kStopped;
            return false;
        }
    }
    lock.unlock();
    if (worker.joinable())
        worker.join();
    if (reason)
        *reason = job->reason;
    return job->delivered;
}

bool anyLetGo()
{
    return g_letGo.load() > 0;
}

} // namespace deliveryjob
