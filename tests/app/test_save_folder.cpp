#include "CliRun.h"
#include "TestSupport.h"
#include "app/SaveFolderCheck.h"
#include "util/InstalledLayout.h"
#include "util/OVUtil.h"

#include <QDir>
#include <QProcess>
#include <QTest>

#include <unistd.h>

using namespace testsupport;

namespace {

const QString kFailed = "データ収集失敗しました。";

QString cannotWrite(const QString &folder, const char *reason)
{
    return "保存先フォルダに書き込めません：" + folder + "（" + reason + "）";
}

// The stub log of a run that stopped before its commands: the MAC list and nothing of system_profiler's.
bool noDataTypeRan(const StubEnvironment &stubs)
{
    return stubs.log().filter("system_profiler").isEmpty() && stubs.log().filter("umount").isEmpty();
}

} // namespace

// A run that cannot save says where and why before any command runs: through the real program, the real
// folder and the system's own reason.
class TestSaveFolder : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void folderThatDoesNotExist();
    void readOnlyMount();
    void folderWithoutWriteRightsForItsUser();
    void translocatedProgramIsToldWhatToDo();
    void installedFolderThatCannotBeMadeIsNamed();
    void writableFolderLeavesNoProbeBehind();

private:
    std::unique_ptr<StubEnvironment> m_stubs;
    ScopedEnv m_env;
};

void TestSaveFolder::init()
{
    m_env.unset("OVALITH_FILE_SERVER");
    renewStubs(m_stubs);
    m_stubs->servePlists(fixture("real/ohai-MacBookPro8_2-10.7.5"));
}

void TestSaveFolder::folderThatDoesNotExist()
{
    QTemporaryDir root;
    const QString file = root.filePath("a file");
    writeFile(file, "x");
    const CliResult result = collect(formArguments(file + "/dir"));
    QCOMPARE(result.exitCode, 1);
    QCOMPARE(result.err, errorLines({kFailed, cannotWrite(file + "/dir/SAVE/", "Not a directory")}));
    QCOMPARE(result.out, QString());
    QVERIFY(noDataTypeRan(*m_stubs));

    // With delivery on, nothing was saved and nothing can be sent: AllNG, never LocalNG.
    const CliResult delivering = collect(formArguments(file + "/dir") << "--deliver"
                                                                      << "--server"
                                                                      << "127.0.0.1:1");
    QCOMPARE(delivering.exitCode, 1);
    QCOMPARE(delivering.out, "AllNG\n");
    QVERIFY(delivering.err.contains(cannotWrite(file + "/dir/SAVE/", "Not a directory")));
}

void TestSaveFolder::readOnlyMount()
{
    if (const QString problem = bindMountProblem(); !problem.isEmpty())
        QSKIP(qPrintable(problem));
    QTemporaryDir app;
    QDir().mkpath(app.filePath("SAVE"));
    ReadOnlyMount readOnly(app.filePath("SAVE"));
    QVERIFY(readOnly.mounted);
    const CliResult result = collect(formArguments(app.path()));
    readOnly.release();
    QCOMPARE(result.exitCode, 1);
    QCOMPARE(result.err, errorLines({kFailed, cannotWrite(app.filePath("SAVE/"), "Read-only file system")}));
    QVERIFY(noDataTypeRan(*m_stubs));
    QCOMPARE(QDir(app.filePath("SAVE")).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList());
}

void TestSaveFolder::folderWithoutWriteRightsForItsUser()
{
    // Root ignores a folder's mode, so the program runs as nobody, as a user on a shared stick would.
    if (::geteuid() != 0 && ::geteuid() != 65534)
        QSKIP("needs root, to run the program as nobody");
    QTemporaryDir app;
    QVERIFY(QFile::setPermissions(app.path(), QFileDevice::Permissions(0x7755)));
    QVERIFY(QDir().mkpath(app.filePath("SAVE")));
    QVERIFY(QFile::setPermissions(app.filePath("SAVE"), QFileDevice::Permissions(0x5555)));
    QVERIFY(QFile::setPermissions(m_stubs->directory(), QFileDevice::Permissions(0x7777)));
    const QString program =
        ::geteuid() == 0 ? QStringLiteral("/usr/bin/setpriv") : QStringLiteral(OVALITH_COLLECT_PROGRAM);
    QStringList arguments = formArguments(app.path());
    if (::geteuid() == 0)
        arguments = QStringList{"--reuid=65534", "--regid=65534", "--clear-groups", OVALITH_COLLECT_PROGRAM} +
                    arguments;
    const CliResult result = collect(arguments, program);
    QCOMPARE(result.exitCode, 1);
    QCOMPARE(result.err, errorLines({kFailed, cannotWrite(app.filePath("SAVE/"), "Permission denied")}));
    QVERIFY(noDataTypeRan(*m_stubs));
}

void TestSaveFolder::translocatedProgramIsToldWhatToDo()
{
    QVERIFY(isTranslocated("/private/var/folders/x1/T/AppTranslocation/0A1B-2C3D/d"));
    QVERIFY(!isTranslocated("/Users/yamada/Downloads/ovalith"));
    QTemporaryDir root;
    const QString app = root.filePath("AppTranslocation/0A1B-2C3D/d");
    QDir().mkpath(app);
    const CliResult result = collect(formArguments(app));
    QCOMPARE(result.exitCode, 1);
    QCOMPARE(result.err, errorLines({kFailed, kTranslocatedAdvice}));
    QVERIFY(result.err.contains("xattr -dr com.apple.quarantine"));
    QVERIFY(noDataTypeRan(*m_stubs));
    QVERIFY(!QFileInfo::exists(app + "/SAVE"));
}

void TestSaveFolder::installedFolderThatCannotBeMadeIsNamed()
{
    // An installed program whose data folder cannot be made must never fall back to writing into /SAVE/.
    QTemporaryDir root;
    writeFile(root.filePath("data"), "a file where the data folder's parent should be");
    m_env.set("XDG_DATA_HOME", QFile::encodeName(root.filePath("data")));
    const QString folder = installedProgramFolder(root.filePath("usr/bin"));
    QCOMPARE(folder, root.filePath("data/ovalith"));
    OVUtil::setCurrentDirectory(folder);
    QCOMPARE(saveFolderProblem(), std::optional(cannotWrite(folder + "/SAVE/", "Not a directory")));
    OVUtil::setCurrentDirectory(QString());
}

void TestSaveFolder::writableFolderLeavesNoProbeBehind()
{
    TempAppDir app;
    QCOMPARE(saveFolderProblem(), std::nullopt);
    QVERIFY(QFileInfo(app.savePath()).isDir());
    QCOMPARE(QDir(app.savePath()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList());
}

QTEST_GUILESS_MAIN(TestSaveFolder)
#include "test_save_folder.moc"
