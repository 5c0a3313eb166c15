#pragma once

#include <QProcess>
#include <QTemporaryDir>

#include <atomic>
#include <thread>
#include <vector>

namespace testsupport {

// A free TCP port on 127.0.0.1 at the moment of asking.
int sparePort();

// A throwaway smbd on 127.0.0.1 with a private configuration (nothing under /etc) and a share named
// "stkget$"; stopped by its process id when it goes.
class SambaServer
{
public:
    enum class Kind {
        Guest,    // the guest may write, as sites of old had it
        ReadOnly, // the guest, on a share that refuses writes
        // A file server of 2026 (Windows Server 2025): no guest, SMB 3 only, signing mandatory, encryption
        // required; the account kUser may write.
        Account,
        AccountWithoutEncryption, // the same account on a server that offers no encryption at all
        // Account, on a drop-box share: kUser may create, write, rename and remove its files, but neither
        // list the share nor read any file in it.
        DropBox,
    };
    static constexpr const char *kUser = "ovalith-drop";

    explicit SambaServer(Kind kind = Kind::Guest, const QString &password = QStringLiteral("Pw-2026!"));
    ~SambaServer();

    // Why the server could not start (no smbd, not root), or empty when it runs.
    QString problem() const { return m_problem; }
    QString server() const { return QStringLiteral("127.0.0.1:%1").arg(m_port); }
    QString shareDir() const { return m_dir.filePath(QStringLiteral("share")); }
    // The server's log: what it was asked and what it refused.
    QByteArray log() const;

private:
    void start(Kind kind, const QString &password);
    void writeConfiguration(Kind kind) const;
    bool addAccount(const QString &password);

    QTemporaryDir m_dir;
    QProcess m_smbd;
    int m_port = 0;
    QString m_problem;
};

// Accepts connections and never answers: a file server that hangs once connected.
class SilentServer
{
public:
    SilentServer();
    ~SilentServer();
    QString server() const { return QStringLiteral("127.0.0.1:%1").arg(m_port); }
    int connections() const { return m_connections.load(); }

private:
    int m_socket = -1;
    int m_port = 0;
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_connections{0};
    std::thread m_acceptor;
};

// Listens, but its queue of connections is full and it never takes one: a connection never opens.
class UnreachableServer
{
public:
    UnreachableServer();
    ~UnreachableServer();
    QString server() const { return QStringLiteral("127.0.0.1:%1").arg(m_port); }

private:
    int m_socket = -1;
    int m_port = 0;
    std::vector<int> m_fillers;
};

} // namespace testsupport
