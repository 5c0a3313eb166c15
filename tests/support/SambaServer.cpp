#include "SambaServer.h"

#include "TestSupport.h"

#include <QDir>
#include <QStandardPaths>
#include <QThread>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <vector>

namespace testsupport {

namespace {

int boundSocket(int port, int &boundPort)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    const int yes = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(std::uint16_t(port));
    socklen_t length = sizeof address;
    if (::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr *>(&address), &length) != 0) {
        ::close(fd);
        return -1;
    }
    boundPort = ntohs(address.sin_port);
    return fd;
}

bool accepts(int port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(std::uint16_t(port));
    const bool connected = ::connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0;
    ::close(fd);
    return connected;
}

} // namespace

int sparePort()
{
    int port = 0;
    const int fd = boundSocket(0, port);
    if (fd >= 0)
        ::close(fd);
    return port;
}

SambaServer::SambaServer(bool readOnly)
{
    start(readOnly);
}

SambaServer::~SambaServer()
{
    if (m_smbd.state() != QProcess::NotRunning) {
        m_smbd.terminate(); // SIGTERM to its process id
        m_smbd.waitForFinished(5000);
    }
}

void SambaServer::writeConfiguration(bool readOnly) const
{
    // %1 the server's folder, %2 its port, %3 whether the share refuses writes.
    const char *kConfiguration = R"([global]
   interfaces = lo
   bind interfaces only = yes
   smb ports = %2
   disable netbios = yes
   server role = standalone server
   workgroup = WORKGROUP
   security = user
   map to guest = Bad User
   guest account = nobody
   server min protocol = SMB2_10
   rpc start on demand helpers = no
   load printers = no
   printing = bsd
   printcap name = /dev/null
   disable spoolss = yes
   pid directory = %1/pid
   lock directory = %1/lock
   state directory = %1/state
   cache directory = %1/cache
   private dir = %1/private
   ncalrpc dir = %1/ncalrpc
   passdb backend = tdbsam:%1/private/passdb.tdb
   log file = %1/log/smbd.log
   log level = 1

[stkget$]
   path = %1/share
   guest ok = yes
   guest only = yes
   read only = %3
   browseable = no
   force user = root
   create mask = 0644
)";
    const QString conf = QString::fromUtf8(kConfiguration)
                             .arg(m_dir.path(), QString::number(m_port),
                                  readOnly ? QStringLiteral("yes") : QStringLiteral("no"));
    writeFile(m_dir.filePath(QStringLiteral("smb.conf")), conf.toUtf8());
}

void SambaServer::start(bool readOnly)
{
    const QString smbd = QStandardPaths::findExecutable(
        QStringLiteral("smbd"), {QStringLiteral("/usr/sbin"), QStringLiteral("/usr/bin")});
    if (smbd.isEmpty() || ::geteuid() != 0) {
        m_problem = QStringLiteral("needs smbd (Debian's samba) and root");
        return;
    }
    for (const char *sub : {"share", "private", "lock", "state", "cache", "pid", "ncalrpc", "log"})
        QDir().mkpath(m_dir.filePath(QLatin1String(sub)));
    QFile::setPermissions(shareDir(), QFileDevice::Permissions(0x7777));
    m_port = sparePort();
    writeConfiguration(readOnly);
    m_smbd.setStandardOutputFile(m_dir.filePath(QStringLiteral("log/stdout.log")));
    m_smbd.setProcessChannelMode(QProcess::MergedChannels);
    m_smbd.start(smbd, {QStringLiteral("--foreground"), QStringLiteral("--debug-stdout"),
                        QStringLiteral("-s"), m_dir.filePath(QStringLiteral("smb.conf"))});
    for (int i = 0; i < 250 && m_smbd.state() != QProcess::NotRunning; ++i) {
        if (accepts(m_port))
            return;
        QThread::msleep(20);
    }
    m_problem = QStringLiteral("smbd did not start: ") +
                QString::fromUtf8(readFile(m_dir.filePath(QStringLiteral("log/stdout.log"))));
}

SilentServer::SilentServer()
{
    m_socket = boundSocket(0, m_port);
    ::listen(m_socket, 16);
    m_acceptor = std::thread([this] {
        std::vector<int> connections;
        while (!m_stop.load()) {
            const int connection = ::accept(m_socket, nullptr, nullptr);
            if (connection >= 0) {
                connections.push_back(connection); // held open, never read, never answered
                ++m_connections;
            }
        }
        for (const int connection : connections)
            ::close(connection);
    });
}

SilentServer::~SilentServer()
{
    m_stop.store(true);
    ::shutdown(m_socket, SHUT_RDWR);
    ::close(m_socket);
    m_acceptor.join();
}

} // namespace testsupport

namespace testsupport {

UnreachableServer::UnreachableServer()
{
    m_socket = boundSocket(0, m_port);
    ::listen(m_socket, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(quint16(m_port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    // Connections nobody accepts fill the queue; the kernel then drops every later attempt unanswered.
    for (int i = 0; i < 3; ++i) {
        const int filler = ::socket(AF_INET, SOCK_STREAM, 0);
        ::fcntl(filler, F_SETFL, ::fcntl(filler, F_GETFL) | O_NONBLOCK);
        ::connect(filler, reinterpret_cast<const sockaddr *>(&address), sizeof address);
        m_fillers.push_back(filler);
    }
}

UnreachableServer::~UnreachableServer()
{
    for (const int filler : m_fillers)
        ::close(filler);
    ::close(m_socket);
}

} // namespace testsupport
