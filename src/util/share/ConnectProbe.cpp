#include "ConnectProbe.h"

#include "ShareErrors.h"
#include "SmbNegotiate.h"

#include <QDeadlineTimer>

#include <algorithm>

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

// Sends the whole request and reads one whole answer before the deadline.
bool exchange(int fd, const QByteArray &request, QByteArray &answer, const QDeadlineTimer &deadline)
{
    for (qsizetype sent = 0; sent < request.size();) {
        pollfd writable{fd, POLLOUT, 0};
        if (::poll(&writable, 1, int(deadline.remainingTime())) != 1)
            return false;
        const ssize_t count = ::send(fd, request.constData() + sent, std::size_t(request.size() - sent), 0);
        if (count <= 0)
            return false;
        sent += count;
    }
    int expected = 4;
    while (answer.size() < expected) {
        pollfd readable{fd, POLLIN, 0};
        if (::poll(&readable, 1, int(deadline.remainingTime())) != 1)
            return false;
        char chunk[4096];
        const ssize_t count =
            ::recv(fd, chunk, std::size_t(std::min<qsizetype>(sizeof chunk, expected - answer.size())), 0);
        if (count <= 0)
            return false;
        answer.append(chunk, count);
        if (answer.size() == 4 && (expected = smbnegotiate::expectedLength(answer)) == 0)
            return false;
    }
    return true;
}

Result askForEncryption(int fd, const QDeadlineTimer &deadline)
{
    QByteArray answer;
    if (!exchange(fd, smbnegotiate::makeRequest(), answer, deadline))
        return deadline.hasExpired() ? Result::TimedOut : Result::NotSmb;
    const smbnegotiate::Answer negotiated = smbnegotiate::parseResponse(answer);
    if (!negotiated.valid)
        return Result::NotSmb;
    return negotiated.encryption ? Result::Connected : Result::NoEncryption;
}

Result connectWithin(const addrinfo &address, const QDeadlineTimer &deadline, bool needEncryption, int &error)
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
    const Result encryption =
        error == 0 && needEncryption ? askForEncryption(fd, deadline) : Result::Connected;
    ::close(fd);
    switch (error) {
    case 0:
        return encryption;
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

ConnectOutcome probeConnection(const QString &host, int port, int timeLimitMilliseconds, bool needEncryption)
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
        outcome.result = connectWithin(*address, deadline, needEncryption, outcome.error);
        if (outcome.result != Result::Refused && outcome.result != Result::Unreachable &&
            outcome.result != Result::Failed && outcome.result != Result::TimedOut)
            break;
    }
    return outcome;
}

std::optional<QString> serverProblem(const ShareSettings &settings, int timeLimitMilliseconds)
{
    constexpr int kStandardPort = 445;
    const bool needEncryption =
        settings.hasAccount() && settings.security == ShareSettings::Security::Encrypt;
    const ConnectOutcome outcome = probeConnection(settings.host(), settings.port().value_or(kStandardPort),
                                                   timeLimitMilliseconds, needEncryption);
    const int seconds = timeLimitMilliseconds / 1000;
    switch (outcome.result) {
    case Result::Connected:
        return std::nullopt;
    case Result::NameNotFound:
        return describeNameNotFound(settings);
    case Result::NameTimedOut:
        return describeNameTimedOut(settings, seconds);
    case Result::TimedOut:
        return describeConnectTimedOut(settings, seconds);
    case Result::NoEncryption:
    case Result::NotSmb:
        return describeNoEncryption(settings);
    case Result::Refused:
    case Result::Unreachable:
    case Result::Failed:
        break;
    }
    return describeShareError(outcome.error, settings);
}
