#include "TestSupport.h"

#include "inventory/DataTypes.h"
#include "util/Cp932.h"
#include "util/OVUtil.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>

#include <algorithm>

namespace testsupport {

QString fixture(const QString &relativePath)
{
    return QStringLiteral(OVALITH_FIXTURES_DIR "/") + relativePath;
}

QString realCapture(const QString &capture, const QString &dataType)
{
    return fixture(QStringLiteral("real/%1/%2.xml").arg(capture, dataType));
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(path));
    return file.readAll();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

QString shellOutput(const QString &commandLine)
{
    QProcess shell;
    shell.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), commandLine});
    shell.waitForFinished(-1);
    return QString::fromUtf8(shell.readAllStandardOutput()).trimmed();
}

namespace {

bool succeeds(const QString &commandLine)
{
    return QProcess::execute(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), commandLine}) == 0;
}

} // namespace

QString bindMountProblem()
{
    static const QString problem = [] {
        QTemporaryDir probe;
        const QString path = probe.path();
        if (!succeeds(QStringLiteral("/bin/mount --bind '%1' '%1' 2>/dev/null").arg(path)))
            return QStringLiteral("this process cannot bind-mount (it needs Linux, root and CAP_SYS_ADMIN)");
        succeeds(QStringLiteral("/bin/umount '%1'").arg(path));
        return QString();
    }();
    return problem;
}

ReadOnlyMount::ReadOnlyMount(const QString &folder) : path(folder)
{
    mounted = succeeds(QStringLiteral("/bin/mount --bind '%1' '%1'").arg(path));
    if (mounted && !succeeds(QStringLiteral("/bin/mount -o remount,bind,ro '%1'").arg(path)))
        release();
}

void ReadOnlyMount::release()
{
    if (mounted)
        succeeds(QStringLiteral("/bin/umount '%1'").arg(path));
    mounted = false;
}

QByteArray expectedCsv(const QString &name, const QByteArray &date, const QByteArray &time)
{
    // The system's own tools, not the program's functions, say what the names must be.
#ifdef Q_OS_MACOS
    const QString computer = shellOutput(QStringLiteral("scutil --get ComputerName"));
#else
    const QString computer = shellOutput(QStringLiteral(
        "[ -r /etc/machine-info ] && . /etc/machine-info; printf '%s' \"${PRETTY_HOSTNAME:-$(uname -n)}\""));
#endif
    return readFile(fixture(QStringLiteral("expected/") + name))
        .replace("@DATE@", date)
        .replace("@TIME@", time)
        .replace("@COMPUTER@", cp932::encode(computer))
        .replace("@USER@", cp932::encode(shellOutput(QStringLiteral("id -un"))))
        .replace("@LONG_BIT@", "64");
}

QStringList describe(const RecordList &records)
{
    QStringList lines;
    for (const RecordPtr &record : records) {
        QStringList fields;
        for (const OptionalText *field :
             {&record->group(), &record->item(), &record->subItem(), &record->contents(), &record->unit()})
            fields << field->value_or(QStringLiteral("<absent>"));
        lines << fields.join(QLatin1Char('|'));
    }
    return lines;
}

bool stampedWith(const RecordList &records, const QString &key, const QString &date)
{
    return std::all_of(records.begin(), records.end(),
                       [&](const RecordPtr &r) { return r->key() == key && r->renewalday() == date; });
}

ScopedEnv::~ScopedEnv()
{
    for (const auto &[name, value] : m_saved) {
        if (value)
            qputenv(name.constData(), *value);
        else
            qunsetenv(name.constData());
    }
}

void ScopedEnv::remember(const char *name)
{
    if (m_saved.count(name) == 0)
        m_saved[name] = qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt;
}

void ScopedEnv::set(const char *name, const QByteArray &value)
{
    remember(name);
    qputenv(name, value);
}

void ScopedEnv::unset(const char *name)
{
    remember(name);
    qunsetenv(name);
}

StubEnvironment::StubEnvironment()
{
    m_env.set("PATH", QByteArray(OVALITH_STUBS_DIR ":") + qgetenv("PATH"));
    m_env.set("OVALITH_STUB_LOG", QFile::encodeName(m_dir.filePath(QStringLiteral("stub.log"))));
    for (const char *name :
         {"OVALITH_STUB_PLISTS", "OVALITH_STUB_IFCONFIG", "OVALITH_STUB_MOUNT_SLEEP",
          "OVALITH_STUB_MOUNT_FAIL", "OVALITH_STUB_SHARE_DIR", "OVALITH_STUB_MOUNT_LIST",
          "OVALITH_STUB_NETBIOS", "OVALITH_STUB_FAIL", "OVALITH_STUB_HANG", "OVALITH_STUB_GARBAGE",
          "OVALITH_STUB_SLEEP", "OVALITH_STUB_LAST", "OVALITH_STUB_GETCONF_SLEEP",
          "OVALITH_STUB_UMOUNT_SLEEP", "OVALITH_STUB_FREEZE", "OVALITH_STUB_FREEZE_TYPES",
          "OVALITH_COMMAND_TIMEOUT", "OVALITH_SERIAL_COMMANDS"})
        m_env.unset(name);
    m_env.set("OVALITH_STUB_PIDS", QFile::encodeName(m_dir.filePath(QStringLiteral("stub.pids"))));
    m_env.set("OVALITH_STUB_ORDER", QFile::encodeName(m_dir.filePath(QStringLiteral("stub.order"))));
    m_env.set("OVALITH_SYSTEM_PROFILER", "system_profiler"); // the stub, not the profiler beside the program
    m_env.set("OVALITH_STUB_TYPES", QByteArray::number(qsizetype(datatypes::all().size())));
}

void StubEnvironment::servePlists(const QString &directory)
{
    m_env.set("OVALITH_STUB_PLISTS", QFile::encodeName(directory));
}

void StubEnvironment::serveIfconfig(const QByteArray &listing)
{
    const QString path = m_dir.filePath(QStringLiteral("ifconfig.txt"));
    writeFile(path, listing);
    m_env.set("OVALITH_STUB_IFCONFIG", QFile::encodeName(path));
}

void renewStubs(std::unique_ptr<StubEnvironment> &stubs)
{
    stubs.reset();
    stubs = std::make_unique<StubEnvironment>();
}

bool StubEnvironment::anyStubStillRunning() const
{
    QFile file(m_dir.filePath(QStringLiteral("stub.pids")));
    if (!file.open(QIODevice::ReadOnly))
        return false;
    for (const QByteArray &line : file.readAll().split('\n')) {
        if (processIsAlive(line.trimmed().toLongLong()))
            return true;
    }
    return false;
}

QStringList StubEnvironment::order() const
{
    QFile file(m_dir.filePath(QStringLiteral("stub.order")));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

bool StubEnvironment::stubsStarted(int count) const
{
    QFile file(m_dir.filePath(QStringLiteral("stub.pids")));
    return file.open(QIODevice::ReadOnly) && file.readAll().count('\n') >= 2 * count;
}

QStringList StubEnvironment::log() const
{
    QFile file(m_dir.filePath(QStringLiteral("stub.log")));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

TempAppDir::TempAppDir(const QString &name) : m_path(m_root.filePath(name))
{
    QDir().mkpath(m_path);
    OVUtil::setCurrentDirectory(m_path);
}

TempAppDir::~TempAppDir()
{
    OVUtil::setCurrentDirectory(QString());
}

void RecordingNotifier::collectorStarted(int number, int count, const QString &name)
{
    add(QStringLiteral("collector:%1/%2 %3").arg(number).arg(count).arg(name));
    if (onCollectorStarted)
        onCollectorStarted(number);
}

void RecordingNotifier::showMessageBox(const QString &messageText, const QString &informativeText)
{
    add(QStringLiteral("message:%1|%2").arg(messageText, informativeText));
}

bool RecordingNotifier::askQuestion(const QString &, const QString &informativeText)
{
    add(QStringLiteral("question:") + informativeText);
    return answer;
}

void RecordingNotifier::showLocalResult(const OVResultReport &report)
{
    add(QStringLiteral("result:%1|%2|%3")
            .arg(report.messageText, report.informativeText(),
                 report.saved ? QStringLiteral("saved") : QStringLiteral("failed")));
}

void RecordingNotifier::showResultWindow(const QString &windowName, const OVResultReport &report)
{
    add(QStringLiteral("window:") + windowName +
        (report.note().isEmpty() ? QString() : QLatin1Char('|') + report.note()));
}

QStringList RecordingNotifier::events() const
{
    QMutexLocker lock(&m_mutex);
    return m_events;
}

QStringList RecordingNotifier::eventsStartingWith(const QString &prefix) const
{
    QStringList matching;
    for (const QString &event : events()) {
        if (event.startsWith(prefix))
            matching.append(event);
    }
    return matching;
}

void RecordingNotifier::add(const QString &event)
{
    QMutexLocker lock(&m_mutex);
    m_events.append(event);
}

} // namespace testsupport
