#include "TestSupport.h"
#include "app/cDebugLog.h"
#include "app/cOperatingSystemCheck.h"
#include "app/gui/OVAppController.h"
#include "app/gui/OVCustomComboBox.h"
#include "app/gui/OVMainWindow.h"
#include "app/gui/OVMessageBox.h"
#include "app/gui/OVMessageWindowController.h"
#include "util/OVBuildProfile.h"

#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace testsupport;

namespace {

QStringList itemsOf(const QComboBox *box)
{
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items << box->itemText(i);
    return items;
}

void writeVersionFile(const QString &path, const QString &version)
{
    writeFile(path, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>"
                    "<key>ProductBuildVersion</key><string>19H2026</string><key>ProductName</key>"
                    "<string>macOS</string><key>ProductVersion</key><string>" +
                        version.toUtf8() + "</string></dict></plist>\n");
}

} // namespace

class TestGuiWindows : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void comboBoxesFromDataSources();
    void sampleDataSourcesFillEveryBox();
    void compNumber_data();
    void compNumber();
    void osGateOfEachBuild_data();
    void osGateOfEachBuild();
    void osGateWithoutAVersionFile();
    void windowsLoadByName();
    void messageBoxesOfEachKind();
    void debugArgument_data();
    void debugArgument();
};

void TestGuiWindows::comboBoxesFromDataSources()
{
    TempAppDir app;
    QDir().mkpath(app.path() + "/DAT");
    writeFile(app.path() + "/DAT/Busho.TxT",
              "\x91\x8D\x96\xB1\x95\x94\r\n\x8C\x6F\x97\x9D\x95\x94\r\n"); // 総務部, 経理部
    writeFile(app.path() + "/DAT/Basho.TxT", "Tokyo\nOsaka\rNagoya");
    writeFile(app.path() + "/DAT/User.TxT", "\r\n\r\nlast");
    writeFile(app.path() + "/DAT/Kana.TxT", "\x85\x40"); // not code page 932
    OVMainWindow window;
    window.setupComboBox();
    const auto &boxes = window.comboBoxes();
    QCOMPARE(boxes[0]->dataSourceFileName(), QStringLiteral("Busho"));
    QCOMPARE(itemsOf(boxes[0]), (QStringList{"総務部", "経理部", ""}));
    QCOMPARE(itemsOf(boxes[1]), QStringList{"Tokyo\nOsaka\rNagoya"});
    QCOMPARE(itemsOf(boxes[2]), (QStringList{"", "", "last"}));
    QCOMPARE(itemsOf(boxes[3]), QStringList());
    QCOMPARE(itemsOf(boxes[8]), QStringList()); // Bikou.TxT is missing
    boxes[0]->loadDataSource();                 // a second load lists every line twice
    QCOMPARE(boxes[0]->count(), 6);
}

void TestGuiWindows::sampleDataSourcesFillEveryBox()
{
    TempAppDir app;
    QDir().mkpath(app.path() + "/DAT");
    for (const QString &name : QDir(OVALITH_SAMPLE_DAT_DIR).entryList({"*.TxT"}))
        QVERIFY(QFile::copy(OVALITH_SAMPLE_DAT_DIR "/" + name, app.path() + "/DAT/" + name));
    OVMainWindow window;
    window.setupComboBox();
    for (const OVCustomComboBox *box : window.comboBoxes()) {
        QVERIFY2(box->count() >= 5, qPrintable(box->dataSourceFileName()));
        for (const QString &item : itemsOf(box))
            QVERIFY2(!item.isEmpty() && !item.contains('?') && !item.contains('\n'), qPrintable(item));
    }
    QVERIFY(itemsOf(window.comboBoxes()[2]).contains("髙橋 美咲"));
}

void TestGuiWindows::compNumber_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("version");
    QTest::addColumn<bool>("accepted");
    // Threshold "10.10" throughout: the version, cut or padded to two components, compared as numbers.
    QTest::newRow("at least, equal") << 0 << "10.10" << true;
    QTest::newRow("newer than, equal") << 1 << "10.10" << false;
    QTest::newRow("newer than, 10.11.0") << 1 << "10.11.0" << true;
    QTest::newRow("newer than, third component cut") << 1 << "10.10.5" << false;
    QTest::newRow("at most, 10.9") << 2 << "10.9" << true;
    QTest::newRow("older than, 10.9") << 3 << "10.9" << true;
    QTest::newRow("older than, equal") << 3 << "10.10" << false;
    QTest::newRow("equal") << 4 << "10.10.3" << true;
    QTest::newRow("equal, 10.1 is not 10.10") << 4 << "10.1" << false;
    QTest::newRow("11.1 is after 10.10") << 0 << "11.1" << true;
    QTest::newRow("11.1 is not at most 10.10") << 2 << "11.1" << false;
    QTest::newRow("single component padded: 11") << 1 << "11" << true;
    QTest::newRow("single component padded: 10") << 1 << "10" << false;
    QTest::newRow("leading integer of a component") << 1 << "10.11beta" << true;
    QTest::newRow("unknown type") << 7 << "10.10" << false;
    QTest::newRow("no version") << 0 << "" << false;
    QTest::newRow("first component without a digit") << 2 << "X.9" << false;
}

void TestGuiWindows::compNumber()
{
    QFETCH(int, type);
    QFETCH(QString, version);
    QFETCH(bool, accepted);
    QCOMPARE(cOperatingSystemCheck().versionCheck("10.10", type, version), accepted);
}

void TestGuiWindows::osGateOfEachBuild_data()
{
    QTest::addColumn<bool>("universal");
    QTest::addColumn<QString>("version");
    QTest::addColumn<bool>("accepted");
    const std::pair<const char *, bool> sixtyFourBit[] = {
        {"10.9.5", false}, {"10.10", false}, {"10.10.5", false}, {"10.11", true}, {"10.11.0", true},
        {"10.15.7", true}, {"11.7", true},   {"12.6", true},     {"14.2", true},  {"26.1", true}};
    for (const auto &[version, accepted] : sixtyFourBit)
        QTest::addRow("64-bit %s", version) << false << version << accepted;
    const std::pair<const char *, bool> universal[] = {{"10.4.11", true}, {"10.11", true},  {"10.11.6", true},
                                                       {"10.12", false},  {"11", false},    {"11.7", false},
                                                       {"26.1", false},   {"macOS", false}, {"", false}};
    for (const auto &[version, accepted] : universal)
        QTest::addRow("universal %s", version) << true << version << accepted;
}

void TestGuiWindows::osGateOfEachBuild()
{
    QFETCH(bool, universal);
    QFETCH(QString, version);
    QFETCH(bool, accepted);
    const OVBuildProfile &profile = universal ? OVBuildProfile::universal() : OVBuildProfile::sixtyFourBit();
    QTemporaryDir dir;
    writeVersionFile(dir.filePath("SystemVersion.plist"), version);
    ScopedEnv env;
    env.set("OVALITH_SYSTEM_VERSION_FILE", QFile::encodeName(dir.filePath("SystemVersion.plist")));
    const cOperatingSystemCheck check;
    QCOMPARE(check.gateAllows(profile.osThreshold, profile.osCompType), accepted);
    if (accepted)
        return;
    OVMessageWindowController window("OSCheck");
    OVAppController controller(window, osCheckText(check.getPCVersion(), profile.otherBuildName));
    const QString other = universal ? "ovalith" : "ovalith-universal";
    QCOMPARE(controller.labelText(), "このパソコンのOSは【" + version +
                                         "】です。\n本プログラムは対応しておりませんので、【" + other +
                                         "】をご利用下さい。");
    // Its end button ends the modal loop, after which the program ends.
    QTimer::singleShot(0, &window, [&] { window.findChild<QPushButton *>("endButton")->click(); });
    QCOMPARE(window.exec(), int(QDialog::Rejected));
}

void TestGuiWindows::osGateWithoutAVersionFile()
{
    ScopedEnv env;
    env.unset("OVALITH_SYSTEM_VERSION_FILE");
    const cOperatingSystemCheck check;
    if (QFile::exists("/System/Library/CoreServices/SystemVersion.plist"))
        QSKIP("this is a Mac");
    QVERIFY(check.gateAllows("10.10", 1)); // nothing to refuse on a system that is not macOS
    env.set("OVALITH_SYSTEM_VERSION_FILE", "/nonexistent/SystemVersion.plist");
    QVERIFY(!check.gateAllows("10.10", 1)); // a named file that cannot be read refuses
    QCOMPARE(
        osCheckText(check.getPCVersion(), "x"),
        QStringLiteral(
            "このパソコンのOSは【不明】です。\n本プログラムは対応しておりませんので、【x】をご利用下さい。"));
}

void TestGuiWindows::windowsLoadByName()
{
    for (const char *name : {"OSCheck", "AllOK", "LocalNG", "NetworkNG", "AllNG"}) {
        OVMessageWindowController window(name);
        QVERIFY2(window.isLoaded(), name);
        QVERIFY(!window.findChild<QLabel *>("iconImageView")->pixmap().isNull());
        QVERIFY(window.windowTitle() == QStringLiteral("インベントリ収集"));
        if (auto *ok = window.findChild<QPushButton *>("okButton")) {
            QTimer::singleShot(0, ok, &QPushButton::click);
            QCOMPARE(window.exec(), int(QDialog::Rejected));
        }
    }
    QVERIFY(!OVMessageWindowController("MainMenu").isLoaded());

    // A window that reports a failure shows the warning icon, not the program's.
    OVMessageWindowController failed("NetworkNG");
    const QImage programIcon = failed.findChild<QLabel *>("iconImageView")->pixmap().toImage();
    failed.setWarning(true);
    const QImage warningIcon = failed.findChild<QLabel *>("iconImageView")->pixmap().toImage();
    QCOMPARE(warningIcon, messageIcon(MessageKind::Warning, 64).toImage());
    QVERIFY(warningIcon != programIcon);
}

void TestGuiWindows::messageBoxesOfEachKind()
{
    // Each kind its own icon; a question answers Yes only when Yes is pressed, and Return says No.
    QList<QImage> icons;
    for (const MessageKind kind : {MessageKind::Information, MessageKind::Warning, MessageKind::Question}) {
        OVMessageBox box(nullptr, "インベントリ収集", "text", kind);
        icons << box.findChild<QLabel *>("icon")->pixmap().toImage();
        QCOMPARE(icons.last(), messageIcon(kind, 64).toImage());
    }
    QVERIFY(icons[0] != icons[1] && icons[1] != icons[2]);
    for (const char *answer : {"yes", "no", "return"}) {
        OVMessageBox question(nullptr, "インベントリ収集", "置き換えますか？", MessageKind::Question);
        QTimer::singleShot(0, &question, [&] {
            if (qstrcmp(answer, "return") == 0)
                QTest::keyClick(&question, Qt::Key_Return);
            else
                question.findChild<QPushButton *>(answer)->click();
        });
        QCOMPARE(question.exec(),
                 qstrcmp(answer, "yes") == 0 ? int(QDialog::Accepted) : int(QDialog::Rejected));
    }
}

void TestGuiWindows::debugArgument_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("mode"); // -1: left as it is
    QTest::newRow("debug") << QStringList{"ovalith", "debug"} << 1;
    QTest::newRow("capital letter") << QStringList{"ovalith", "Debug"} << 0;
    QTest::newRow("second extra argument") << QStringList{"ovalith", "x", "debug"} << 0;
    QTest::newRow("no argument") << QStringList{"ovalith"} << -1;
}

void TestGuiWindows::debugArgument()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, mode);
    const auto result = cDebugLog::modeFromArguments(arguments);
    QCOMPARE(result.has_value() ? int(*result) : -1, mode);
}

QTEST_MAIN(TestGuiWindows)
#include "test_gui_windows.moc"
