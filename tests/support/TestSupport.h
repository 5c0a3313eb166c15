#pragma once

#include "app/OVNotifier.h"
#include "records/OVCSVRecord.h"

#include <QByteArray>
#include <QMutex>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>
#include <map>
#include <memory>
#include <optional>

namespace testsupport {

QString fixture(const QString &relativePath);
QString realCapture(const QString &capture, const QString &dataType);
QByteArray readFile(const QString &path);
void writeFile(const QString &path, const QByteArray &bytes);

// An expected CSV file with its creation date and time, this machine's computer and user name and the
// stub getconf's word size filled in.
QByteArray expectedCsv(const QString &name, const QByteArray &date, const QByteArray &time);

// "group|item|subItem|contents|unit" per record, "<absent>" for an absent field.
QStringList describe(const RecordList &records);
// True when every record carries this key and date.
bool stampedWith(const RecordList &records, const QString &key, const QString &date);

// Whether the process lives: one that was killed and waits to be reaped counts as gone.
bool processIsAlive(qint64 pid);
// What /bin/sh -c LINE printed on stdout, trimmed.
QString shellOutput(const QString &commandLine);

// Why this process cannot bind-mount a folder (not root, no CAP_SYS_ADMIN as in a container, not Linux);
// empty when it can. Tests that mount skip with this reason.
QString bindMountProblem();

// The folder bind-mounted read-only over itself while this lives; the system's mount, not a stub on PATH.
struct ReadOnlyMount
{
    explicit ReadOnlyMount(const QString &folder);
    ~ReadOnlyMount() { release(); }
    ReadOnlyMount(const ReadOnlyMount &) = delete;
    ReadOnlyMount &operator=(const ReadOnlyMount &) = delete;
    void release();
    QString path;
    bool mounted = false;
};

// Sets environment variables for its lifetime and restores what was there before.
class ScopedEnv
{
public:
    ScopedEnv() = default;
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv &) = delete;
    ScopedEnv &operator=(const ScopedEnv &) = delete;
    void set(const char *name, const QByteArray &value);
    void unset(const char *name);

private:
    void remember(const char *name);
    std::map<QByteArray, std::optional<QByteArray>> m_saved;
};

// The stub system_profiler, ifconfig, getconf and umount first on PATH, each logging its arguments.
class StubEnvironment
{
public:
    StubEnvironment();
    void servePlists(const QString &directory);
    void serveIfconfig(const QByteArray &listing);
    // Any other setting of a stub (OVALITH_STUB_MOUNT_SLEEP, OVALITH_STUB_SHARE_DIR, ...).
    void set(const char *name, const QByteArray &value) { m_env.set(name, value); }
    QStringList log() const;
    QString directory() const { return m_dir.path(); }
    // The data types named in OVALITH_STUB_HANG: whether this many have started, and whether any of their
    // processes is still alive.
    bool stubsStarted(int count) const;
    // "start TYPE" and "done TYPE" as the stub profiler began and ended each data type.
    QStringList order() const;
    bool anyStubStillRunning() const;

private:
    QTemporaryDir m_dir;
    ScopedEnv m_env;
};

// Gives the next test stubs of its own. The old environment goes first, so that it restores what it
// found before the new one sets anything.
void renewStubs(std::unique_ptr<StubEnvironment> &stubs);

// A program folder of its own for one test; the program's folder points at it while it lives.
class TempAppDir
{
public:
    explicit TempAppDir(const QString &name = QStringLiteral("app"));
    ~TempAppDir();
    QString path() const { return m_path; }
    QString savePath() const { return m_path + QStringLiteral("/SAVE/"); }
    bool isValid() const { return m_root.isValid(); }

private:
    QTemporaryDir m_root;
    QString m_path;
};

// Records what a run tells the user, in order, as short lines.
class RecordingNotifier : public OVNotifier
{
public:
    void disableControls() override { add(QStringLiteral("disable")); }
    void enableControls() override { add(QStringLiteral("enable")); }
    void showProgress(const QString &text) override { add(QStringLiteral("progress:") + text); }
    void collectorStarted(int number, int count, const QString &name) override;
    void showMessageBox(const QString &messageText, const QString &informativeText) override;
    // "question:" and the text; answers `answer`.
    bool askQuestion(const QString &messageText, const QString &informativeText) override;
    void showLocalResult(const OVResultReport &report) override;
    // "window:AllOK", with "|" and the incomplete line when there is one.
    void showResultWindow(const QString &windowName, const OVResultReport &report) override;
    void revealFile(const QString &path) override { add(QStringLiteral("reveal:") + path); }

    QStringList events() const;
    QStringList eventsStartingWith(const QString &prefix) const;
    std::function<void(int number)> onCollectorStarted;
    bool answer = false;

private:
    void add(const QString &event);
    mutable QMutex m_mutex;
    QStringList m_events;
};

} // namespace testsupport
