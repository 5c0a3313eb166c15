#include "ConnectProbe.h"

#include <QDeadlineTimer>

#include <cerrno>
#include <condition_variable>
#include <fcntl.h>
#include <memory>
#include <mutex>
#include <netdb.h>
#include <optional>
#include <poll.h>
#include <sys/socket.h>
#include <system_error>
#include <thread>
#include <unistd.h>

namespace {

using Result = ConnectOutcome::Result;

// The resolver's answer, shared with the thread that asks it: a lookup that outlives the deadline is left
// to finish on its own and frees what it found.
struct Lookup
{
    std::mutex mutex;
    std::condition_variable done;
    bool finished = false;
    bool abandoned = false;
    int status = EAI_FAIL;
    addrinfo *found = nullptr;
};

using Addresses = std::unique_ptr<addrinfo, decltype(&::freeaddrinfo)>;

int resolve(const QByteArray &host, const QByteArray &port, addrinfo **found)
{
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    return ::getaddrinfo(host.constData(), port.constData(), &hints, found);
}

// getaddrinfo has no time limit of its own: it runs on a thread of its own, waited for until the deadline;
// absent when the deadline came first.
std::optional<int> resolveWithin(const QByteArray &host, const QByteArray &port,
                                 const QDeadlineTimer &deadline, Addresses &addresses)
{
    auto lookup = std::make_shared<Lookup>();
    try {
        std::thread([lookup, host, port] {
            addrinfo *found = nullptr;
            const int status = resolve(host, port, &found);
            std::lock_guard lock(lookup->mutex);
            if (lookup->abandoned && found)
                ::freeaddrinfo(found);
            lookup->status = status;
            lookup->found = lookup->abandoned ? nullptr : found;
            lookup->finished = true;
            lookup->done.notify_all();
        }).detach();
    } catch (const std::system_error &) { // no thread to spare: ask here, without a limit
        addrinfo *found = nullptr;
        const int status = resolve(host, port, &found);
        addresses.reset(found);
        return status;
    }
    std::unique_lock lock(lookup->mutex);
    if (!lookup->done.wait_for(lock, std::chrono::milliseconds(deadline.remainingTime()),
                               [&] { return lookup->finished; })) {
        lookup->abandoned = true;
        return std::nullopt;
    }
    addresses.reset(lookup->found);
    return lookup->status;
}

Result connectWithin(const addrinfo &address, const QDeadlineTimer &deadline, int &error)
{
    const int fd = ::socket(address.ai_family, address.ai_socktype, address.ai_protocol);
    if (fd < 0) {
        error = errno;
        return Result::Failed;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    error = ::connect(fd, address.ai_addr, address.ai_addrlen) == 0 ? 0 : errno;
    if (error == EINPROGRESS) {
        pollfd waiting{fd, POLLOUT, 0};
        socklen_t length = sizeof error;
        if (::poll(&waiting, 1, int(deadline.remainingTime())) != 1)
            error = ETIMEDOUT;
        else if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) != 0)
            error = errno;
    }
    ::close(fd);
    switch (error) {
    case 0:
        return Result::Connected;
    case ECONNREFUSED:
        return Result::Refused;
    case ETIMEDOUT:
        return Result::TimedOut;
    case ENETUNREACH:
    case EHOSTUNREACH:
        return Result::Unreachable;
    default:
        return Result::Failed;
    }
}

} // namespace

ConnectOutcome probeConnection(const QString &host, int port, int timeLimitMilliseconds)
{
    const QDeadlineTimer deadline(timeLimitMilliseconds);
    Addresses addresses(nullptr, ::freeaddrinfo);
    const auto status = resolveWithin(host.toUtf8(), QByteArray::number(port), deadline, addresses);
    if (!status)
        return {Result::NameTimedOut, 0};
    if (*status != 0 || !addresses)
        return {Result::NameNotFound, 0};
    ConnectOutcome outcome{Result::TimedOut, 0};
    for (const addrinfo *address = addresses.get(); address && !deadline.hasExpired();
         address = address->ai_next) {
        outcome.result = connectWithin(*address, deadline, outcome.error);
        if (outcome.result == Result::Connected)
            break;
    }
    return outcome;
}
