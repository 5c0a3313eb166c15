#include "CliRun.h"
#include "TestSupport.h"
#include "inventory/DataTypes.h"

#include <QDir>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>

#include <csignal>

using namespace testsupport;

namespace {

QJsonObject jsonOf(const CliResult &result)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(result.out.toUtf8(), &error);
    return error.error == QJsonParseError::NoError && document.isObject() ? document.object() : QJsonObject();
}

// The program on a terminal of its own (script(1)); `before` runs in the shell first.
QString onATerminal(const QStringList &arguments, const QString &pidFile = QString())
{
    QStringList command{"exec", OVALITH_COLLECT_PROGRAM};
    for (const QString &argument : arguments)
        command << "'" + argument + "'";
    const QString line =
        (pidFile.isEmpty() ? QString() : "echo $$ > '" + pidFile + "'; ") + command.join(' ');
    QProcess script;
    script.start(QStandardPaths::findExecutable("script"), {"-qec", line, "/dev/null"});
    script.waitForFinished(60000);
    return QString::fromUtf8(script.readAllStandardOutput());
}

} // namespace

// ovalith-collect as a user of command-line tools expects it: one language behind its own prefix, --help
// that says everything, --quiet, --json for scripts, --timeout, progress on a terminal only.
class TestCliConventions : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void helpSaysEverythingAndChangesNothing();
    void quietPrintsOnlyErrors();
    void jsonForScripts();
    void timeoutOptionWinsOverTheEnvironment();
    void progressOnATerminalInPlace();
    void interruptedRunSaysSoOnTheTerminal();
    void progressOnAPipeOnlyWhenAsked();

private:
    std::unique_ptr<StubEnvironment> m_stubs;
    ScopedEnv m_env;
};

void TestCliConventions::init()
{
    m_env.unset("OVALITH_FILE_SERVER");
    renewStubs(m_stubs);
    m_stubs->servePlists(fixture("machines/imac-t2-macos13"));
}

void TestCliConventions::helpSaysEverythingAndChangesNothing()
{
    QTemporaryDir folder;
    const QString program = folder.filePath("ovalith-collect");
    QVERIFY(QFile::copy(OVALITH_COLLECT_PROGRAM, program));
    const CliResult help = collect({"--help"}, program);
    QCOMPARE(help.exitCode, 0);
    QCOMPARE(help.err, QString());
    for (const char *text : {"使い方: ovalith-collect",
                             "--control-number A-B-C",
                             "--family-name",
                             "--given-name",
                             "--app-dir",
                             "--deliver",
                             "--server",
                             "--share-user",
                             "--share-password-file",
                             "--replace",
                             "--timeout SECONDS",
                             "--quiet",
                             "--json",
                             "--progress",
                             "--debug",
                             "--version",
                             "終了コード:",
                             "  5  ",
                             "  130, 143, 129  ",
                             "OVALITH_SYSTEM_PROFILER",
                             "OVALITH_COMMAND_TIMEOUT",
                             "OVALITH_SERIAL_COMMANDS",
                             "OVALITH_FILE_SERVER",
                             "OVALITH_SHARE_USER",
                             "OVALITH_SHARE_PASSWORD_FILE",
                             "DAT/delivery.ini"})
        QVERIFY2(help.out.contains(QString::fromUtf8(text)), text);
    // The folder of this very build, and nothing made there by asking.
    QVERIFY(help.out.contains("プログラムのフォルダ（--app-dir がないとき）: " + folder.path() + "\n"));
    QCOMPARE(QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             QStringList{"ovalith-collect"});
    // --help-all is neither offered nor taken.
    QVERIFY(!help.out.contains("--help-all"));
    QCOMPARE(collect({"--help-all"}).exitCode, 2);
    QCOMPARE(collect({"--version"}).out, QStringLiteral("ovalith-collect " OVALITH_VERSION "\n"));
}

void TestCliConventions::quietPrintsOnlyErrors()
{
    QTemporaryDir app;
    CliResult result = collect(formArguments(app.path()) << "--quiet");
    QCOMPARE(result.exitCode, 0);
    QCOMPARE(result.out, QString());
    QCOMPARE(result.err, QString());
    m_stubs->set("OVALITH_STUB_FAIL", "SPPrintersDataType");
    result = collect(formArguments(app.path()) << "--quiet");
    QCOMPARE(result.exitCode, 4);
    QCOMPARE(result.out, QString());
    QCOMPARE(result.err,
             errorLines({"プリンタ（SPPrintersDataType）を収集できませんでした：SPPrintersDataType: "
                         "subsystem not answering (exited with status 1)"}));
}

void TestCliConventions::jsonForScripts()
{
    QTemporaryDir app;
    m_stubs->set("OVALITH_STUB_FAIL", "SPPrintersDataType");
    const CliResult incomplete = collect(formArguments(app.path()) << "--json");
    const QJsonObject run = jsonOf(incomplete);
    QCOMPARE(run.value("exitCode").toInt(-1), incomplete.exitCode);
    QCOMPARE(incomplete.exitCode, 4);
    QCOMPARE(run.value("result").toString(), QStringLiteral("saved"));
    QCOMPARE(run.value("file").toString(), app.filePath("SAVE/abc-12-x123.csv"));
    QVERIFY(QFile::exists(run.value("file").toString()));
    const QJsonArray missing = run.value("missing").toArray();
    QCOMPARE(missing.size(), 1);
    QCOMPARE(missing[0].toObject().value("dataType").toString(), QStringLiteral("SPPrintersDataType"));
    QCOMPARE(missing[0].toObject().value("name").toString(), QStringLiteral("プリンタ"));
    QVERIFY(missing[0].toObject().value("reason").toString().contains("subsystem not answering"));
    const QDateTime started = QDateTime::fromString(run.value("started").toString(), Qt::ISODate);
    const QDateTime ended = QDateTime::fromString(run.value("ended").toString(), Qt::ISODate);
    QVERIFY(started.isValid() && ended.isValid() && started <= ended);
    // With the offset from UTC, so that runs of Macs in different zones compare.
    QVERIFY(QRegularExpression("(Z|[+-]\\d\\d:\\d\\d)$").match(run.value("started").toString()).hasMatch());
    QVERIFY(run.value("elapsedSeconds").toDouble(-1) >= 0);

    // Not delivered: the window's name as the result, and why.
    m_stubs->set("OVALITH_STUB_FAIL", "");
    const QString server = QStringLiteral("127.0.0.1:1");
    const QJsonObject undelivered = jsonOf(collect(formArguments(app.path()) << "--json"
                                                                             << "--deliver"
                                                                             << "--server" << server));
    QCOMPARE(undelivered.value("exitCode").toInt(), 3);
    QCOMPARE(undelivered.value("result").toString(), QStringLiteral("NetworkNG"));
    QVERIFY(undelivered.value("deliveryReason").toString().contains("接続を拒否"));
    QCOMPARE(undelivered.value("missing").toArray().size(), 0);

    // Nothing collected: refused input, a usage error; the JSON says so all the same.
    const QJsonObject refused = jsonOf(collect({"--json", "--control-number", "ABC-12-x123", "--family-name",
                                                "山田", "--given-name", "太郎", "--app-dir", app.path()}));
    QCOMPARE(refused.value("exitCode").toInt(), 2);
    QCOMPARE(refused.value("result").toString(), QStringLiteral("refused"));
    QVERIFY(refused.value("file").isNull());
    const QJsonObject usage = jsonOf(collect({"--json", "--colour"}));
    QCOMPARE(usage.value("result").toString(), QStringLiteral("usage"));
    QCOMPARE(usage.value("errors").toArray().at(0).toString(),
             QStringLiteral("知らないオプションです：--colour"));
}

void TestCliConventions::timeoutOptionWinsOverTheEnvironment()
{
    m_stubs->set("OVALITH_STUB_HANG", "SPPrintersDataType");
    m_stubs->set("OVALITH_COMMAND_TIMEOUT", "600");
    QTemporaryDir app;
    QElapsedTimer timer;
    timer.start();
    const CliResult result = collect(formArguments(app.path()) << "--timeout"
                                                               << "1");
    QCOMPARE(result.exitCode, 4);
    QVERIFY2(timer.elapsed() < 30000, qPrintable(QString::number(timer.elapsed())));
    QCOMPARE(result.err,
             errorLines({"プリンタ（SPPrintersDataType）を収集できませんでした：timed out after 1 s"}));
}

void TestCliConventions::progressOnATerminalInPlace()
{
#ifndef Q_OS_LINUX
    QSKIP("script(1) of util-linux gives the program a terminal here");
#endif
    QTemporaryDir app;
    const QString terminal = onATerminal(formArguments(app.path()));
    // Each step rewrites the one line ("\r" and erase to its end), in Japanese, from the first to the last.
    QVERIFY2(terminal.contains("\r\033[K収集中 [1/9] アプリケーション（"), qPrintable(terminal));
    QVERIFY(terminal.contains("\r\033[K収集中 [9/9] プリンタ（"));
    QVERIFY(!terminal.contains("収集中 [1/9] アプリケーション\n"));
    // The report starts on a clean line once the progress is erased.
    QVERIFY(terminal.contains("\r\033[Kデータ収集を完了しました。"));
}

void TestCliConventions::interruptedRunSaysSoOnTheTerminal()
{
#ifndef Q_OS_LINUX
    QSKIP("script(1) of util-linux gives the program a terminal here");
#endif
    m_stubs->set("OVALITH_STUB_HANG", "SPNetworkDataType");
    QTemporaryDir app;
    const QString pidFile = app.filePath("pid");
    QString terminal;
    std::thread run([&] { terminal = onATerminal(formArguments(app.path()), pidFile); });
    QTRY_VERIFY_WITH_TIMEOUT(m_stubs->stubsStarted(1) && QFile::exists(pidFile), 30000);
    // While it waits, the line names what is still asked.
    QTest::qWait(1500);
    ::kill(pid_t(readFile(pidFile).trimmed().toLongLong()), SIGINT);
    run.join();
    QVERIFY2(terminal.contains("問い合わせ中：") && terminal.contains("ネットワーク"), qPrintable(terminal));
    QVERIFY2(terminal.trimmed().endsWith("ovalith-collect: 中断しました。ファイルは保存していません。"),
             qPrintable(terminal));
    QVERIFY(terminal.contains("[3/9]"));
    QVERIFY(!terminal.contains("[4/9]")); // the collectors that unwind show nothing more
}

void TestCliConventions::progressOnAPipeOnlyWhenAsked()
{
    QTemporaryDir app;
    QCOMPARE(collect(formArguments(app.path())).err, QString());
    const CliResult asked = collect(formArguments(app.path()) << "--progress");
    QStringList expected;
    int number = 0;
    for (const datatypes::Collector which : datatypes::runOrder())
        expected << QStringLiteral("収集中 [%1/%2] %3")
                        .arg(++number)
                        .arg(datatypes::kCollectorCount)
                        .arg(QString::fromUtf16(datatypes::entryOf(which).displayName));
    QCOMPARE(asked.err, expected.join('\n') + '\n');
}

QTEST_GUILESS_MAIN(TestCliConventions)
#include "test_cli_conventions.moc"
