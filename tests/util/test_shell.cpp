#include "TestSupport.h"
#include "inventory/OVHardwareInventory.h"
#include "process/OVExecuteCommand.h"
#include "util/OVUtil.h"
#include "util/ShellQuote.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace testsupport;

// Program folders whose names the shell would otherwise split, expand or run.
class TestShell : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void quotedTextReachesTheCommandUnchanged_data();
    void quotedTextReachesTheCommandUnchanged();
    void collectorWritesIntoAnyProgramFolder_data();
    void collectorWritesIntoAnyProgramFolder();

private:
    static void addNames();
};

void TestShell::addNames()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("space") << QStringLiteral("Asset Tools");
    QTest::newRow("quote, dollar, semicolon") << QStringLiteral("O'Brien's $HOME; rm x");
    QTest::newRow("japanese and parentheses") << QStringLiteral("資産 (1)");
    QTest::newRow("backquote and ampersand") << QStringLiteral("a`touch y`&b|c>d");
    QTest::newRow("double quotes and backslash") << QStringLiteral("\"q\" \\n '' ");
}

void TestShell::quotedTextReachesTheCommandUnchanged_data()
{
    addNames();
}

void TestShell::quotedTextReachesTheCommandUnchanged()
{
    QFETCH(QString, name);
    OVExecuteCommand command(QStringLiteral("printf %s ") + shellQuote(name));
    command.executeCommand();
    QCOMPARE(command.commandResult(), 0);
    QCOMPARE(command.standardOutput(), std::optional(name));
}

void TestShell::collectorWritesIntoAnyProgramFolder_data()
{
    addNames();
}

void TestShell::collectorWritesIntoAnyProgramFolder()
{
    QFETCH(QString, name);
    QTemporaryDir workingDir;
    const QString previous = QDir::currentPath();
    QDir::setCurrent(workingDir.path());
    writeFile(workingDir.filePath(QStringLiteral("x")), "sentinel");

    StubEnvironment stubs;
    stubs.servePlists(fixture(QStringLiteral("real/ohai-MacBookPro8_2-10.7.5")));
    TempAppDir app(name);
    OVUtil::createSaveFilePath();
    OVHardwareInventory hardware(QStringLiteral("AA"), QStringLiteral("2026/12/05"));
    hardware.execute();
    hardware.createCSVRecords();
    QDir::setCurrent(previous);

    QVERIFY(QFile::exists(app.savePath() + QStringLiteral(".SPHardwareDataType.plist")));
    QCOMPARE(hardware.csvRecords().at(0)->contents(), std::optional(QStringLiteral("Intel Core i7 2.2 GHz")));
    QVERIFY2(QFile::exists(workingDir.filePath(QStringLiteral("x"))), "the folder name ran as a command");
    QVERIFY(!QFile::exists(workingDir.filePath(QStringLiteral("y"))));
    QCOMPARE(QDir(workingDir.path()).entryList(QDir::Files), QStringList{QStringLiteral("x")});
}

QTEST_GUILESS_MAIN(TestShell)
#include "test_shell.moc"
