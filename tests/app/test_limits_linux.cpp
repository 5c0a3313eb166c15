#include "CliRun.h"
#include "TestSupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTest>

#include <csignal>
#include <unistd.h>

using namespace testsupport;

namespace {

const QString kFreezers = QStringLiteral("/sys/fs/cgroup/freezer");

// A cgroup-v1 freezer of the test's own, frozen while it lives, thawed and removed when it goes.
struct Freezer
{
    Freezer() : path(kFreezers + QStringLiteral("/ovalith-test-%1").arg(::getpid()))
    {
        made = QDir().mkdir(path) && writeState("FROZEN");
    }
    ~Freezer()
    {
        if (!made)
            return;
        writeState("THAWED");
        for (int i = 0; i < 100 && !QDir().rmdir(path); ++i)
            QThread::msleep(50); // the thawed tasks act on their SIGKILL and leave
    }
    bool writeState(const QByteArray &state) const
    {
        QFile file(path + "/freezer.state");
        return file.open(QIODevice::WriteOnly) && file.write(state) == state.size();
    }
    QString path;
    bool made = false;
};

int runFor(const QStringList &arguments, qint64 &milliseconds, QString *err = nullptr)
{
    QElapsedTimer timer;
    timer.start();
    const CliResult result = collect(arguments);
    milliseconds = timer.elapsed();
    if (err)
        *err = result.err;
    return result.exitCode;
}

} // namespace

// Faults that only Linux can stage here: a command that does not die on SIGKILL (a frozen cgroup), a
// process limit, a resolver that never answers (a network namespace). Each ends the run in bounded time.
class TestLimitsLinux : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void commandThatIgnoresSigkillIsLetGo();
    void noThreadToSpareIsAMissingDataType();
    void resolverThatNeverAnswersCostsFiveSeconds();

private:
    std::unique_ptr<StubEnvironment> m_stubs;
    ScopedEnv m_env;
};

void TestLimitsLinux::init()
{
    m_env.unset("OVALITH_FILE_SERVER");
    renewStubs(m_stubs);
    m_stubs->servePlists(fixture("machines/imac-t2-macos13"));
}

void TestLimitsLinux::commandThatIgnoresSigkillIsLetGo()
{
    Freezer freezer;
    if (!freezer.made)
        QSKIP("needs a writable cgroup-v1 freezer at /sys/fs/cgroup/freezer (root, not in a container)");
    // The shell becomes the stub, so the frozen task is the command's own process.
    m_stubs->set("OVALITH_SYSTEM_PROFILER", "exec system_profiler");
    m_stubs->set("OVALITH_STUB_FREEZE", QFile::encodeName(freezer.path));
    m_stubs->set("OVALITH_STUB_FREEZE_TYPES", "SPPrintersDataType");
    m_stubs->set("OVALITH_COMMAND_TIMEOUT", "2");
    QTemporaryDir app;
    qint64 ms = 0;
    QString err;
    QCOMPARE(runFor(formArguments(app.path()), ms, &err), 4);
    // The limit, the five seconds a killed command gets to end, and a margin for a loaded machine.
    QVERIFY2(ms < 15000, qPrintable(QString::number(ms)));
    QCOMPARE(err, errorLines({"プリンタ（SPPrintersDataType）を収集できませんでした：timed out after 2 s"}));
    QVERIFY(QFile::exists(app.filePath("SAVE/abc-12-x123.csv")));

    // SIGTERM goes through the same bounded wait.
    m_stubs->set("OVALITH_COMMAND_TIMEOUT", "");
    QTemporaryDir other;
    QProcess run;
    run.start(OVALITH_COLLECT_PROGRAM, formArguments(other.path()));
    const auto stop = qScopeGuard([&] {
        run.kill();
        run.waitForFinished();
    });
    QTRY_VERIFY_WITH_TIMEOUT(m_stubs->stubsStarted(2), 30000); // the first run's stub, then this one's
    QElapsedTimer sinceSignal;
    sinceSignal.start();
    ::kill(pid_t(run.processId()), SIGTERM);
    QVERIFY(run.waitForFinished(30000));
    QCOMPARE(run.exitCode(), 143);
    QVERIFY2(sinceSignal.elapsed() < 13000, qPrintable(QString::number(sinceSignal.elapsed())));
}

void TestLimitsLinux::noThreadToSpareIsAMissingDataType()
{
    // Root is above process limits: the program runs as nobody, with room for very few threads.
    if (::geteuid() != 0)
        QSKIP("needs root, to run the program as nobody");
    QVERIFY(QFile::setPermissions(m_stubs->directory(), QFileDevice::Permissions(0x7777)));
    for (const char *limit : {"4", "8", "12"}) {
        QTemporaryDir app; // each run its own, so that what is found saved is this run's
        QVERIFY(QFile::setPermissions(app.path(), QFileDevice::Permissions(0x7777)));
        QProcess run;
        run.start("/usr/bin/setpriv",
                  QStringList{"--reuid=65534", "--regid=65534", "--clear-groups", "/usr/bin/prlimit",
                              QStringLiteral("--nproc=%1").arg(limit), OVALITH_COLLECT_PROGRAM} +
                      formArguments(app.path()));
        QVERIFY(run.waitForFinished(60000));
        const QString err = QString::fromUtf8(run.readAllStandardError());
        // Never an abort: saved, with the data types that could not start named as missing.
        QCOMPARE(run.exitStatus(), QProcess::NormalExit);
        QVERIFY2(run.exitCode() == 0 || run.exitCode() == 4, qPrintable(limit + (": " + err)));
        if (run.exitCode() != 4)
            continue;
        QVERIFY(QFile::exists(app.filePath("SAVE/abc-12-x123.csv")));
        // The limit falls either on our own thread or process start ("could not be started") or on a fork
        // inside the command, whose own words are then the reason; either way each line names its data type.
        static const QRegularExpression missing(
            "^ovalith-collect: [^\\n]+（SP\\w+DataType）を収集できませんでした：[^\\n]+$");
        for (const QString &line : err.split('\n', Qt::SkipEmptyParts))
            QVERIFY2(missing.match(line).hasMatch(), qPrintable(limit + (": " + err)));
    }
}

void TestLimitsLinux::resolverThatNeverAnswersCostsFiveSeconds()
{
    if (const QString problem = bindMountProblem(); !problem.isEmpty())
        QSKIP(qPrintable("a network namespace of its own: " + problem));
    QTemporaryDir app;
    // A namespace with only a loopback that carries the system's own name servers' addresses, each taken
    // by a server that takes every question and answers none. No mount: a chroot has no private one.
    const QString script =
        "/usr/sbin/ip link set lo up || exit 99\n"
        "servers=$(awk '$1 == \"nameserver\" { print $2 }' /etc/resolv.conf); : \"${servers:=127.0.0.1}\"\n"
        "for s in $servers; do case $s in\n"
        "  127.*) ;;\n"
        "  *:*) /usr/sbin/ip -6 addr add \"$s/128\" dev lo nodad || exit 99 ;;\n"
        "  *) /usr/sbin/ip addr add \"$s/32\" dev lo || exit 99 ;;\n"
        "esac; done\n"
        "/usr/bin/python3 -c 'import socket,sys,time\n"
        "held = []\n"
        "for a in sys.argv[2:]:\n"
        "    s = socket.socket(socket.AF_INET6 if \":\" in a else socket.AF_INET, socket.SOCK_DGRAM)\n"
        "    s.bind((a, 53)); held.append(s)\n"
        "open(sys.argv[1], \"w\").close(); time.sleep(120)' \"$1/ready\" $servers &\n"
        "for i in $(seq 100); do [ -e \"$1/ready\" ] && break; sleep 0.1; done\n"
        "shift; exec \"$@\"\n";
    QProcess run;
    run.start("/usr/bin/unshare",
              QStringList{"--net", "/bin/sh", "-c", script, "sh", app.path(), OVALITH_COLLECT_PROGRAM} +
                  formArguments(app.path()) + QStringList{"--deliver", "--server", "fileserver.example.org"});
    QVERIFY(run.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(app.filePath("ready")) || run.state() == QProcess::NotRunning,
                             20000);
    QVERIFY2(QFile::exists(app.filePath("ready")),
             qPrintable("the namespace's name server did not start: " + run.readAllStandardError()));
    QElapsedTimer timer;
    timer.start();
    QVERIFY(run.waitForFinished(60000));
    const QString err = QString::fromUtf8(run.readAllStandardError());
    QCOMPARE(run.exitCode(), 3);
    QCOMPARE(err,
             errorLines(
                 {"サーバーへ送信できませんでした：サーバー名fileserver.example.orgの問い合わせが5秒以内に終"
                  "わりません（DNSサーバーが応答しません）"}));
    // The resolver alone would take ten seconds; the margin is for a loaded machine.
    QVERIFY2(timer.elapsed() < 9500, qPrintable(QString::number(timer.elapsed())));
}

QTEST_GUILESS_MAIN(TestLimitsLinux)
#include "test_limits_linux.moc"
