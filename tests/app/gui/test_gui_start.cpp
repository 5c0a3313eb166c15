#include "TestSupport.h"
#include "app/SaveFolderCheck.h"
#include "app/gui/DesktopMain.h"
#include "app/gui/OVMainWindow.h"
#include "util/OVBuildProfile.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QScopeGuard>
#include <QTest>
#include <QTimer>

#include <csignal>
#include <cstdio>

using namespace testsupport;

// Each case starts a desktop program the way its main does, in a child process of this test, and the
// child prints which window the start showed: "form", or "OSCheck|" and the window's text.
namespace {

void registerSample(OVMainWindow &form)
{
    form.controlNumber(0)->setText("abc");
    form.controlNumber(1)->setText("12");
    form.controlNumber(2)->setText("x123");
    form.firstName()->setText("山田");
    form.lastName()->setText("太郎");
    QTimer::singleShot(0, form.registButton(), &QPushButton::click); // the 64-bit build waits inside it
}

void reportFirstWindow()
{
    auto *poll = new QTimer;
    const QDeadlineTimer deadline(20000);
    QObject::connect(poll, &QTimer::timeout, [poll, deadline] {
        for (QWidget *window : QApplication::topLevelWidgets()) {
            if (!window->isVisible())
                continue;
            if (const auto *message = window->findChild<QLabel *>(QStringLiteral("informativeText"))) {
                std::printf("message|%s\n", qPrintable(message->text()));
                std::fflush(stdout);
                window->close(); // a box before the form: the start goes on to the form
                continue;
            }
            if (window->objectName() == QLatin1String("OSCheck")) {
                const auto *label = window->findChild<QLabel *>(QStringLiteral("label"));
                std::printf("OSCheck|%s\n", qPrintable(label ? label->text() : QString()));
                window->findChild<QPushButton *>(QStringLiteral("endButton"))->click();
            } else if (auto *form = qobject_cast<OVMainWindow *>(window)) {
                std::printf("form\n");
                if (qEnvironmentVariableIsSet("OVALITH_TEST_REGISTER")) {
                    registerSample(*form); // and the program runs on, until the test's signal
                } else {
                    // Not quit(): that asks the window to close, which the form turns into its end dialog.
                    QCoreApplication::exit(0);
                }
            } else {
                continue;
            }
            std::fflush(stdout);
            poll->deleteLater();
            return;
        }
        if (deadline.hasExpired())
            QCoreApplication::exit(99);
    });
    poll->start(20);
}

int startDesktopProgram(int argc, char *argv[], const QByteArray &build)
{
    qAddPreRoutine(reportFirstWindow);
    const OVBuildProfile &profile =
        build == "universal" ? OVBuildProfile::universal() : OVBuildProfile::sixtyFourBit();
    return runDesktopProgram(argc, argv, profile);
}

struct Start
{
    int exitCode = -1;
    QString shown;
};

// A copy of this test's program in a folder of its own: the desktop program's folder is its executable's.
QString copyOfThisProgram(const QTemporaryDir &root, const QString &folder)
{
    const QString path = root.filePath(folder);
    QDir().mkpath(path);
    const QString copy = path + "/test_gui_start";
    return QFile::copy(QCoreApplication::applicationFilePath(), copy) ? copy : QString();
}

Start start(const QString &build, const QString &version,
            const QString &program = QCoreApplication::applicationFilePath())
{
    QTemporaryDir dir;
    writeFile(
        dir.filePath("SystemVersion.plist"),
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict><key>ProductVersion</key>"
        "<string>" +
            version.toUtf8() + "</string></dict></plist>\n");
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("OVALITH_SYSTEM_VERSION_FILE", dir.filePath("SystemVersion.plist"));
    env.insert("QT_QPA_PLATFORM", "offscreen");
    child.setProcessEnvironment(env);
    child.start(program, {"--start", build});
    if (!child.waitForFinished(60000)) {
        child.kill();
        child.waitForFinished();
    }
    return Start{child.exitStatus() == QProcess::NormalExit ? child.exitCode() : -1,
                 QString::fromUtf8(child.readAllStandardOutput()).trimmed()};
}

} // namespace

class TestGuiStart : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void eachBuildShowsTheFormOrRefuses_data();
    void eachBuildShowsTheFormOrRefuses();
    void versionNeedsNoDisplay();
    void translocatedCopyIsToldBeforeTheForm();
    void withoutADisplayItSaysWhatToUse();
    void signalsEndARunAsTheCommandDoes_data();
    void signalsEndARunAsTheCommandDoes();
};

void TestGuiStart::eachBuildShowsTheFormOrRefuses_data()
{
    QTest::addColumn<QString>("build");
    QTest::addColumn<QString>("version");
    QTest::addColumn<QString>("refusedFor"); // the build the window names; empty when the form shows
    for (const char *version : {"10.11.6", "10.15.7", "11.7", "13.6.1", "26.1"})
        QTest::addRow("ovalith %s", version) << "64" << version << "";
    for (const char *version : {"10.10.5", "10.9.5"})
        QTest::addRow("ovalith %s", version) << "64" << version << "ovalith-universal";
    for (const char *version : {"10.4.11", "10.11.6"})
        QTest::addRow("ovalith-universal %s", version) << "universal" << version << "";
    for (const char *version : {"10.12", "11.7", "26.1"})
        QTest::addRow("ovalith-universal %s", version) << "universal" << version << "ovalith";
}

void TestGuiStart::eachBuildShowsTheFormOrRefuses()
{
    QFETCH(QString, build);
    QFETCH(QString, version);
    QFETCH(QString, refusedFor);
    const Start result = start(build, version);
    QCOMPARE(result.exitCode, 0);
    if (refusedFor.isEmpty()) {
        QCOMPARE(result.shown, QStringLiteral("form"));
        return;
    }
    QCOMPARE(result.shown, "OSCheck|このパソコンのOSは【" + version +
                               "】です。\n本プログラムは対応しておりませんので、【" + refusedFor +
                               "】をご利用下さい。");
}

void TestGuiStart::versionNeedsNoDisplay()
{
    for (const char *build : {"64", "universal"}) {
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "no-such-platform"); // a QApplication would abort here
        env.remove("DISPLAY");
        child.setProcessEnvironment(env);
        child.start(QCoreApplication::applicationFilePath(), {"--start", build, "--version"});
        QVERIFY(child.waitForFinished(30000));
        QCOMPARE(child.exitCode(), 0);
        const QString name = qstrcmp(build, "64") == 0 ? "ovalith" : "ovalith-universal";
        QCOMPARE(QString::fromUtf8(child.readAllStandardOutput()), name + " " OVALITH_VERSION "\n");
        // --help too: on stdout, without a display, and nothing started.
        child.start(QCoreApplication::applicationFilePath(), {"--start", build, "--help"});
        QVERIFY(child.waitForFinished(30000));
        QCOMPARE(child.exitCode(), 0);
        const QString help = QString::fromUtf8(child.readAllStandardOutput());
        QVERIFY2(help.startsWith("使い方: " + name), qPrintable(help));
        QCOMPARE(help.contains("debug      最後に通過した箇所"), name == "ovalith");
        QVERIFY(help.contains("プログラムのフォルダ（SAVE/ と DAT/ のあるところ）: " +
                              QFileInfo(QCoreApplication::applicationFilePath()).absolutePath() + "\n"));
    }
}

void TestGuiStart::translocatedCopyIsToldBeforeTheForm()
{
    QTemporaryDir root;
    const QString copy = copyOfThisProgram(root, "AppTranslocation/0A1B-2C3D/d");
    QVERIFY(!copy.isEmpty());
    const Start result = start("64", "14.7", copy);
    QCOMPARE(result.exitCode, 0);
    QCOMPARE(result.shown, "message|" + kTranslocatedAdvice + "\nform");
}

void TestGuiStart::withoutADisplayItSaysWhatToUse()
{
    for (const char *build : {"64", "universal"}) {
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
            env.remove(name);
        child.setProcessEnvironment(env);
        child.start(QCoreApplication::applicationFilePath(), {"--start", build});
        QVERIFY(child.waitForFinished(30000));
        QCOMPARE(child.exitStatus(), QProcess::NormalExit);
        QCOMPARE(child.exitCode(), 2);
        const QString name = qstrcmp(build, "64") == 0 ? "ovalith" : "ovalith-universal";
        QCOMPARE(QString::fromUtf8(child.readAllStandardError()),
                 name + ": 画面（ディスプレイ）がありません。画面のない環境では ovalith-collect "
                        "で収集してください。\n");
    }
}

void TestGuiStart::signalsEndARunAsTheCommandDoes_data()
{
    QTest::addColumn<QString>("build");
    QTest::addColumn<int>("signal");
    QTest::addColumn<bool>("atTheReport"); // the run saved and waits for the user to close its box
    QTest::newRow("ovalith, SIGTERM") << "64" << int(SIGTERM) << false;
    QTest::newRow("ovalith, SIGHUP") << "64" << int(SIGHUP) << false;
    QTest::newRow("ovalith-universal, SIGTERM") << "universal" << int(SIGTERM) << false;
    QTest::newRow("ovalith, SIGTERM at the report") << "64" << int(SIGTERM) << true;
    QTest::newRow("ovalith-universal, SIGHUP at the report") << "universal" << int(SIGHUP) << true;
}

void TestGuiStart::signalsEndARunAsTheCommandDoes()
{
    QFETCH(QString, build);
    QFETCH(int, signal);
    QFETCH(bool, atTheReport);
    StubEnvironment stubs;
    stubs.servePlists(fixture("real/ohai-MacBookPro8_2-10.7.5"));
    if (!atTheReport)
        stubs.set("OVALITH_STUB_HANG", "SPNetworkDataType");
    QTemporaryDir root;
    const QString copy = copyOfThisProgram(root, "app");
    QVERIFY(!copy.isEmpty());
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("OVALITH_TEST_REGISTER", "1");
    child.setProcessEnvironment(env);
    child.start(copy, {"--start", build});
    const auto stop = qScopeGuard([&] {
        child.kill();
        child.waitForFinished();
    });
    const QString saved = root.filePath("app/SAVE/abc-12-x123.csv");
    if (atTheReport)
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(saved), 30000);
    else
        QTRY_VERIFY_WITH_TIMEOUT(stubs.stubsStarted(1), 30000);
    QElapsedTimer sinceSignal;
    sinceSignal.start();
    ::kill(pid_t(child.processId()), signal);
    QVERIFY(child.waitForFinished(30000));
    QCOMPARE(child.exitStatus(), QProcess::NormalExit);
    QCOMPARE(child.exitCode(), 128 + signal);
    QVERIFY2(sinceSignal.elapsed() < 10000, qPrintable(QString::number(sinceSignal.elapsed())));
    // Every command stopped, nothing saved but what was saved before, no temporary file left.
    QTRY_VERIFY_WITH_TIMEOUT(!stubs.anyStubStillRunning(), 20000);
    const QStringList left = QDir(root.filePath("app/SAVE")).entryList(QDir::Files | QDir::Hidden);
    QCOMPARE(left, atTheReport ? QStringList{"abc-12-x123.csv"} : QStringList());
}

int main(int argc, char *argv[])
{
    if (argc >= 3 && qstrcmp(argv[1], "--start") == 0) {
        const QByteArray build = argv[2];
        // The program sees its own name first, then whatever follows the build.
        argv[2] = argv[0];
        return startDesktopProgram(argc - 2, argv + 2, build);
    }
    QApplication app(argc, argv);
    TestGuiStart test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_gui_start.moc"
