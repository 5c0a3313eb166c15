#include "SambaServer.h"

#include "TestSupport.h"

#include <QDir>
#include <QStandardPaths>
#include <QThread>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <pwd.h>
#include <sys/socket.h>
#include <sys/stat.h>
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

SambaServer::SambaServer(Kind kind, const QString &password)
{
    start(kind, password);
}

SambaServer::~SambaServer()
{
    if (m_smbd.state() != QProcess::NotRunning) {
        m_smbd.terminate(); // SIGTERM to its process id
        m_smbd.waitForFinished(5000);
    }
}

QByteArray SambaServer::log() const
{
    QFile file(m_dir.filePath(QStringLiteral("log/stdout.log"))); // --debug-stdout
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

namespace {

// %1 the server's folder, %2 its port.
const char *const kGlobal = R"([global]
   interfaces = lo
   bind interfaces only = yes
   smb ports = %2
   disable netbios = yes
   server role = standalone server
   workgroup = WORKGROUP
   security = user
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
   log level = 3
)";

QString serverPart(SambaServer::Kind kind)
{
    using Kind = SambaServer::Kind;
    if (kind == Kind::Guest || kind == Kind::ReadOnly)
        return QStringLiteral("   map to guest = Bad User\n   guest account = nobody\n"
                              "   server min protocol = SMB2_10\n");
    QString part = QStringLiteral("   map to guest = never\n   restrict anonymous = 2\n"
                                  "   server min protocol = SMB3\n   server signing = mandatory\n");
    part += kind == Kind::AccountWithoutEncryption ? QStringLiteral("   server smb encrypt = off\n")
                                                   : QStringLiteral("   server smb encrypt = required\n");
    return part;
}

QString sharePart(SambaServer::Kind kind)
{
    using Kind = SambaServer::Kind;
    QString part = QStringLiteral("\n[stkget$]\n   path = %1/share\n   browseable = no\n");
    if (kind == Kind::Guest || kind == Kind::ReadOnly)
        return part + QStringLiteral("   guest ok = yes\n   guest only = yes\n   force user = root\n"
                                     "   create mask = 0644\n   read only = %1\n")
                          .arg(kind == Kind::ReadOnly ? QStringLiteral("yes") : QStringLiteral("no"));
    part += QStringLiteral("   valid users = %1\n   read only = no\n").arg(QLatin1String(SambaServer::kUser));
    // Files only their owner may write and nobody may read; names looked up without listing the folder.
    if (kind == Kind::DropBox)
        part +=
            QStringLiteral("   create mask = 0200\n   force create mode = 0200\n   case sensitive = yes\n");
    return part;
}

} // namespace

void SambaServer::writeConfiguration(Kind kind) const
{
    const QString conf = QString::fromUtf8(kGlobal).arg(m_dir.path(), QString::number(m_port)) +
                         serverPart(kind) + sharePart(kind).arg(m_dir.path());
    writeFile(m_dir.filePath(QStringLiteral("smb.conf")), conf.toUtf8());
}

bool SambaServer::addAccount(const QString &password)
{
    // A user of the system without a home or a shell, known to this server alone by its password.
    if (!::getpwnam(kUser))
        QProcess::execute(QStringLiteral("/usr/sbin/useradd"),
                          {QStringLiteral("-M"), QStringLiteral("-s"), QStringLiteral("/usr/sbin/nologin"),
                           QLatin1String(kUser)});
    QProcess smbpasswd;
    smbpasswd.start(QStringLiteral("smbpasswd"),
                    {QStringLiteral("-c"), m_dir.filePath(QStringLiteral("smb.conf")), QStringLiteral("-s"),
                     QStringLiteral("-a"), QLatin1String(kUser)});
    smbpasswd.write((password + QLatin1Char('\n') + password + QLatin1Char('\n')).toUtf8());
    smbpasswd.closeWriteChannel();
    return smbpasswd.waitForFinished(30000) && smbpasswd.exitCode() == 0;
}

void SambaServer::start(Kind kind, const QString &password)
{
    const QString smbd = QStandardPaths::findExecutable(
        QStringLiteral("smbd"), {QStringLiteral("/usr/sbin"), QStringLiteral("/usr/bin")});
    if (smbd.isEmpty() || ::geteuid() != 0) {
        m_problem = QStringLiteral("needs smbd (Debian's samba) and root");
        return;
    }
    for (const char *sub : {"share", "private", "lock", "state", "cache", "pid", "ncalrpc", "log"})
        QDir().mkpath(m_dir.filePath(QLatin1String(sub)));
    // A drop-box folder: anyone may create in it and pass through it, nobody but root may list it, and the
    // sticky bit keeps each file to its owner.
    ::chmod(QFile::encodeName(shareDir()).constData(), kind == Kind::DropBox ? 01733 : 0777);
    ::chmod(QFile::encodeName(m_dir.path()).constData(), 0755); // the account must pass through to its share
    m_port = sparePort();
    writeConfiguration(kind);
    if (kind != Kind::Guest && kind != Kind::ReadOnly && !addAccount(password)) {
        m_problem = QStringLiteral("the account %1 could not be made").arg(QLatin1String(kUser));
        return;
    }
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
