#include "TestSupport.h"
#include "app/SaveFolderCheck.h"
#include "app/gui/DesktopMain.h"
#include "util/OVBuildProfile.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <cstdio>

using namespace testsupport;

// Each case starts a desktop program the way its main does, in a child process of this test, and the
// child prints which window the start showed: "form", or "OSCheck|" and the window's text.
namespace {

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
            } else if (window->objectName() == QLatin1String("MainWindow")) {
                std::printf("form\n");
                // Not quit(): that asks the window to close, which the form turns into its end dialog.
                QCoreApplication::exit(0);
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
    }
}

void TestGuiStart::translocatedCopyIsToldBeforeTheForm()
{
    QTemporaryDir root;
    const QString folder = root.filePath("AppTranslocation/0A1B-2C3D/d");
    QVERIFY(QDir().mkpath(folder));
    const QString copy = folder + "/test_gui_start";
    QVERIFY(QFile::copy(QCoreApplication::applicationFilePath(), copy));
    const Start result = start("64", "14.7", copy);
    QCOMPARE(result.exitCode, 0);
    QCOMPARE(result.shown, "message|" + kTranslocatedAdvice + "\nform");
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
