#include "TestSupport.h"
#include "inventory/PlistDocument.h"
#include "util/Cp932.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTest>

using namespace testsupport;

// ovalith-collect on this very machine, with the profiler beside it and no stubs.
class TestProfilerLive : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void answersEveryDataType();
    void collectsThisMachine();
};

void TestProfilerLive::initTestCase()
{
#ifndef Q_OS_LINUX
    QSKIP("ovalith-profiler reads a Linux system's own files; macOS has system_profiler");
#endif
}

void TestProfilerLive::answersEveryDataType()
{
    const QStringList types{
        "SPHardwareDataType", "SPSoftwareDataType",     "SPSerialATADataType", "SPNVMeDataType",
        "SPStorageDataType",  "SPApplicationsDataType", "SPNetworkDataType",   "SPNetworkLocationDataType",
        "SPDisplaysDataType", "SPBluetoothDataType",    "SPUSBDataType",       "SPUSBHostDataType",
        "SPPrintersDataType"};
    QProcess profiler;
    profiler.start(OVALITH_PROFILER_PROGRAM, QStringList{"-xml"} + types);
    QVERIFY(profiler.waitForFinished(60000));
    QCOMPARE(profiler.exitCode(), 0);
    QStringList answered;
    for (const PlistValue &element :
         PlistDocument::fromBytes(profiler.readAllStandardOutput()).rootElements())
        answered << element.value("_dataType").text().value_or(QString());
    QCOMPARE(answered, types);
}

void TestProfilerLive::collectsThisMachine()
{
    ScopedEnv env;
    env.unset("OVALITH_SYSTEM_PROFILER");
    QTemporaryDir app;
    QProcess collect;
    collect.start(OVALITH_COLLECT_PROGRAM, {"--app-dir", app.path(), "--control-number", "abc-12-x123",
                                            "--family-name", "山田", "--given-name", "太郎"});
    QVERIFY(collect.waitForFinished(60000));
    QCOMPARE(collect.exitCode(), 0);
    const QString csv = *cp932::decode(readFile(app.filePath("SAVE/abc-12-x123.csv")));
    const auto filled = [&](const QString &pattern) {
        return QRegularExpression("^abc-12-x123," + pattern + ",[^,]+,", QRegularExpression::MultilineOption)
            .match(csv)
            .hasMatch();
    };
    QVERIFY2(filled("Hard,CPU,NameString"), qPrintable(csv));
    QVERIFY(filled("Hard,メモリ,全容量"));
    QVERIFY(QRegularExpression("^abc-12-x123,Soft,OS,Version,Linux \\[.*Linux .*\\d+ビット\\],",
                               QRegularExpression::MultilineOption)
                .match(csv)
                .hasMatch());
    QVERIFY(filled("Hard,Hard Disk,合計量"));
    QVERIFY(filled("Hard,SystemHDD,空容量"));
    QVERIFY(filled("Hard,SystemHDD,全容量"));
    QVERIFY(filled("LAN,Adapter\\d*,MACアドレス"));
    QVERIFY(filled("LAN,Adapter\\d*,IPアドレス"));
}

QTEST_GUILESS_MAIN(TestProfilerLive)
#include "test_profiler_live.moc"
