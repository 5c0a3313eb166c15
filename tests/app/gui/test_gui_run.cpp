#include "SambaServer.h"
#include "TestSupport.h"
#include "app/gui/OVCustomComboBox.h"
#include "app/gui/OVMainWindow.h"
#include "app/gui/OVMessagePresenter.h"
#include "app/gui/OVRunController.h"
#include "util/Cp932.h"
#include "util/OVUtil.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace testsupport;

Q_DECLARE_METATYPE(FormValues)

namespace {

// Answers every box at once and records what was shown; a test may look at the form meanwhile.
class RecordingPresenter : public OVMessagePresenter
{
public:
    void showMessageBox(QWidget *, const QString &messageText, const QString &informativeText,
                        MessageKind kind) override
    {
        events << "box:" + messageText + "|" + informativeText +
                      (kind == MessageKind::Warning ? "|warning" : "");
        if (onBox)
            onBox();
    }
    bool askQuestion(QWidget *, const QString &, const QString &informativeText) override
    {
        events << "question:" + informativeText;
        return answer;
    }
    void showSheet(QWidget *, const QString &messageText, const QString &informativeText,
                   std::function<void()> dismissed) override
    {
        events << "sheet:" + messageText + "|" + informativeText;
        QTimer::singleShot(0, std::move(dismissed)); // the user closes it a moment later
    }
    void runResultWindow(QWidget *, const QString &windowName, const QString &note, bool warning) override
    {
        events << "window:" + windowName + (note.isEmpty() ? QString() : "|" + note) +
                      (warning ? "|warning" : "");
    }
    void revealFile(const QString &path) override { events << "reveal:" + path; }
    void terminate(int exitCode) override
    {
        events << (exitCode == 0 ? QStringLiteral("terminate")
                                 : QStringLiteral("terminate %1").arg(exitCode));
    }

    QStringList events;
    std::function<void()> onBox;
    bool answer = false;
};

struct Desktop
{
    explicit Desktop(const OVBuildProfile &profile) : controller(window, presenter, profile)
    {
        window.setupComboBox();
        window.show();
    }
    void fill(const FormValues &form) { fill(window, form); }
    static void fill(OVMainWindow &window, const FormValues &form)
    {
        window.controlNumber(0)->setText(form.controlNumber01);
        window.controlNumber(1)->setText(form.controlNumber02);
        window.controlNumber(2)->setText(form.controlNumber03);
        window.firstName()->setText(form.firstName);
        window.lastName()->setText(form.lastName);
    }
    // Every input control and both buttons, as enabled or not.
    QList<bool> enabledStates() const
    {
        QList<bool> states;
        for (const auto *box : window.comboBoxes())
            states << box->isEnabled();
        states << window.registButton()->isEnabled();
        for (int i = 0; i < 3; ++i)
            states << window.controlNumber(i)->isEnabled();
        states << window.firstName()->isEnabled() << window.lastName()->isEnabled()
               << window.cancelButton()->isEnabled();
        return states;
    }

    OVMainWindow window;
    RecordingPresenter presenter;
    OVRunController controller;
};

const FormValues kForm{"abc", "12", "x123", "山田", "太郎"};

QList<bool> repeated(bool value, int count)
{
    return QList<bool>(count, value);
}

} // namespace

class TestGuiRun : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void inputCheckShowsItsMessage_data();
    void inputCheckShowsItsMessage();
    void sixtyFourBitRunKeepsTheFormDisabledUntilTheReport();
    void failedSaveStillEnablesTheForm();
    void twoRunsGetNewSuffixes();
    void universalRunUsesTheFormAsItWasAtTheStart();
    void universalEndDuringARunWaitsAndSkipsSaveAndReport();
    void sixtyFourBitEndAsksOnASheetAndQuits();
    void universalEndThroughTheRealEventLoop_data();
    void universalEndThroughTheRealEventLoop();
    void returnRegisters();
    void configuredFileServerReportsInTheNetworkForm();
    void anotherMacsFileIsReplacedOnlyWhenTheUserSaysSo();
    void siteFileAloneMakesTheDesktopDeliver();

private:
    std::unique_ptr<StubEnvironment> m_stubs;
    std::unique_ptr<TempAppDir> m_app;
};

void TestGuiRun::init()
{
    renewStubs(m_stubs);
    m_stubs->servePlists(fixture("real/ohai-MacBookPro8_2-10.7.5"));
    m_app = std::make_unique<TempAppDir>();
}

void TestGuiRun::cleanup()
{
    m_app.reset();
    m_stubs.reset();
    OVUtil::setClock({});
}

void TestGuiRun::inputCheckShowsItsMessage_data()
{
    QTest::addColumn<FormValues>("form");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("detail");
    QTest::addColumn<QString>("fieldAtFault");
    const QString a = "管理番号が不正です";
    QTest::newRow("upper-case letters") << FormValues{"ABC", "12", "x123", "山田", "太郎"} << a
                                        << "管理番号の最初の部分は英小文字3文字です（例：abc-12-x123 の abc）"
                                        << "ControlNumber01";
    QTest::newRow("empty number") << FormValues{"", "", "", "", ""} << a
                                  << "管理番号の最初の部分は英小文字3文字です（例：abc-12-x123 の abc）"
                                  << "ControlNumber01";
    QTest::newRow("a letter in the middle") << FormValues{"abc", "1a", "x123", "山田", "太郎"} << a
                                            << "管理番号の2番目の部分は数字2桁です（例：abc-12-x123 の 12）"
                                            << "ControlNumber02";
    QTest::newRow("blank given name")
        << FormValues{"abc", "12", "x123", "山田", " "} << "使用者氏名を入力してください。"
        << "姓と名の両方を入力してください"
        << "LastName";
    QTest::newRow("no family name") << FormValues{"abc", "12", "x123", "", "太郎"}
                                    << "使用者氏名を入力してください。"
                                    << "姓と名の両方を入力してください"
                                    << "FirstName";
}

void TestGuiRun::inputCheckShowsItsMessage()
{
    QFETCH(FormValues, form);
    QFETCH(QString, message);
    QFETCH(QString, detail);
    QFETCH(QString, fieldAtFault);
    Desktop desktop(OVBuildProfile::sixtyFourBit());
    desktop.window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&desktop.window));
    desktop.fill(form);
    desktop.window.controlNumber(2)->setFocus(); // where a user would be after typing the number
    QTest::mouseClick(desktop.window.registButton(), Qt::LeftButton);
    // The specified sentence as the heading, what is wrong and what it must be below it, a warning icon.
    QCOMPARE(desktop.presenter.events, QStringList{"box:" + message + "|" + detail + "|warning"});
    QTRY_COMPARE(QApplication::focusWidget()->objectName(), fieldAtFault);
    QVERIFY(!QFileInfo::exists(m_app->savePath()));
    QCOMPARE(desktop.enabledStates(), repeated(true, 16));
    QCOMPARE(desktop.window.controlNumber(0)->text(), form.controlNumber01); // left for the user to correct
}

void TestGuiRun::sixtyFourBitRunKeepsTheFormDisabledUntilTheReport()
{
    Desktop desktop(OVBuildProfile::sixtyFourBit());
    desktop.fill(kForm);
    QList<bool> statesAtReport;
    QString progressAtReport = "not shown";
    desktop.presenter.onBox = [&] {
        statesAtReport = desktop.enabledStates();
        progressAtReport = desktop.window.progressLabel()->text();
    };
    QStringList progressDuringRun;
    connect(&desktop.controller, &OVRunController::collectorStarting, this, [&](int number) {
        if (number == 1)
            progressDuringRun << desktop.window.progressLabel()->text()
                              << QString::number(desktop.window.progressIndicator()->isVisible());
    });
    QTest::mouseClick(desktop.window.registButton(), Qt::LeftButton); // returns after the report

    const QString path = m_app->savePath() + "abc-12-x123.csv";
    QVERIFY(QFile::exists(path));
    QCOMPARE(progressDuringRun, (QStringList{"インベントリ情報収集中...", "1"}));
    QCOMPARE(statesAtReport, repeated(false, 16));
    QCOMPARE(progressAtReport, QString());
    QCOMPARE(
        desktop.presenter.events,
        (QStringList{"box:インベントリ収集|データ収集を完了しました。\n「" + path +
                         "」\n上記ファイルを指定された場所へ送付してください。\n保存先フォルダを開きます。",
                     "reveal:" + path}));
    QCOMPARE(desktop.enabledStates(), repeated(true, 16));
    QVERIFY(!desktop.window.progressIndicator()->isVisible());
    QVERIFY(!desktop.controller.isRunning());
}

void TestGuiRun::failedSaveStillEnablesTheForm()
{
    QDir().mkpath(m_app->savePath() + "abc-12-x123.csv/older"); // the file cannot take that name
    Desktop desktop(OVBuildProfile::sixtyFourBit());
    desktop.fill(kForm);
    QTest::mouseClick(desktop.window.registButton(), Qt::LeftButton);
    QCOMPARE(desktop.presenter.events, QStringList{"box:インベントリ収集|データ収集失敗しました。|warning"});
    QCOMPARE(desktop.enabledStates(), repeated(true, 16));
    QCOMPARE(desktop.window.progressLabel()->text(), QString());
}

void TestGuiRun::twoRunsGetNewSuffixes()
{
    QDateTime now(QDate(2026, 12, 6), QTime(9, 0, 0));
    OVUtil::setClock([&] { return now; });
    Desktop desktop(OVBuildProfile::sixtyFourBit());
    desktop.fill(kForm);
    QStringList suffixes;
    connect(&desktop.controller, &OVRunController::collectorStarting, this, [&](int number) {
        if (number == 1)
            suffixes << desktop.controller.delegate().tempFileSuffix();
    });
    QTest::mouseClick(desktop.window.registButton(), Qt::LeftButton);
    now = now.addSecs(61);
    QTest::mouseClick(desktop.window.registButton(), Qt::LeftButton);
    QCOMPARE(suffixes, (QStringList{"_20261206090000", "_20261206090101"}));
    QCOMPARE(desktop.presenter.events.filter("reveal:").size(), 2);
}

void TestGuiRun::universalRunUsesTheFormAsItWasAtTheStart()
{
    Desktop desktop(OVBuildProfile::universal());
    desktop.fill(kForm);
    QList<bool> statesDuringRun;
    connect(&desktop.controller, &OVRunController::collectorStarting, this, [&](int number) {
        if (number != 2)
            return;
        statesDuringRun = desktop.enabledStates();
        desktop.window.controlNumber(2)->setText("x999"); // the fields stay editable during the run
        desktop.window.firstName()->setText("佐藤");
    });
    QTest::mouseClick(desktop.window.registButton(), Qt::LeftButton); // returns at once
    QTRY_VERIFY_WITH_TIMEOUT(desktop.presenter.events.size() == 2, 20000);
    QTRY_VERIFY(!desktop.controller.isRunning());
    QCOMPARE(statesDuringRun, repeated(false, 10) + repeated(true, 6));
    const QByteArray csv = readFile(m_app->savePath() + "abc-12-x123.csv");
    QVERIFY(!QFile::exists(m_app->savePath() + "abc-12-x999.csv"));
    QVERIFY(!csv.contains("x999"));
    QVERIFY(csv.contains(
        "abc-12-x123,\x8E\x91\x8E\x59,\x8A\xC7\x97\x9D\x8F\xEE\x95\xF1,\x90\xA9,\x8E\x52\x93\x63,")); // 姓
                                                                                                      // 山田
    QCOMPARE(desktop.enabledStates(), repeated(true, 16));
}

void TestGuiRun::universalEndDuringARunWaitsAndSkipsSaveAndReport()
{
    Desktop desktop(OVBuildProfile::universal());
    desktop.fill(kForm);
    bool endRequestedDuringRun = false;
    connect(&desktop.controller, &OVRunController::collectorStarting, this, [&](int number) {
        if (number != 3)
            return;
        QVERIFY(desktop.window.cancelButton()->isEnabled());
        QTest::mouseClick(desktop.window.cancelButton(), Qt::LeftButton);
        QTRY_VERIFY(desktop.controller.delegate().saveResult() & OVAppDelegate::EndRequested);
        endRequestedDuringRun = desktop.controller.isRunning();
    });
    QTest::mouseClick(desktop.window.registButton(), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(desktop.presenter.events.contains("terminate"), 20000);
    QVERIFY(endRequestedDuringRun);
    QVERIFY(!desktop.controller.isRunning()); // the end waited for the run
    QCOMPARE(desktop.presenter.events,
             (QStringList{"box:インベントリ収集|データ収集が終了しました。", "terminate"}));
    QVERIFY(!QFile::exists(m_app->savePath() + "abc-12-x123.csv"));
    QVERIFY(!desktop.window.isVisible());
}

void TestGuiRun::sixtyFourBitEndAsksOnASheetAndQuits()
{
    Desktop desktop(OVBuildProfile::sixtyFourBit());
    QTest::mouseClick(desktop.window.cancelButton(), Qt::LeftButton);
    QTRY_VERIFY(desktop.presenter.events.contains("terminate"));
    QCOMPARE(desktop.presenter.events,
             (QStringList{"sheet:インベントリ収集|データ収集が終了しました。", "terminate"}));
    QVERIFY(desktop.controller.delegate().saveResult() & OVAppDelegate::EndRequested);
    QVERIFY(!desktop.window.isVisible());
}

void TestGuiRun::universalEndThroughTheRealEventLoop_data()
{
    QTest::addColumn<bool>("duringARun");
    QTest::addColumn<QByteArray>("slowGetconf"); // seconds getconf takes to answer
    QTest::newRow("idle") << false << QByteArray();
    QTest::newRow("during a run") << true << QByteArray();
    QTest::newRow("while getconf is slow") << true << QByteArray("60");
}

// The program as it runs: its real message box, answered by a timer, inside QApplication::exec(), which
// must return once the box is closed.
void TestGuiRun::universalEndThroughTheRealEventLoop()
{
    QFETCH(bool, duringARun);
    QFETCH(QByteArray, slowGetconf);
    if (slowGetconf.isEmpty())
        m_stubs->set("OVALITH_STUB_HANG", "SPNetworkDataType");
    else
        m_stubs->set("OVALITH_STUB_GETCONF_SLEEP", slowGetconf);
    OVMainWindow window;
    OVQtMessagePresenter presenter;
    OVRunController controller(window, presenter, OVBuildProfile::universal());
    window.show();
    Desktop::fill(window, kForm);
    enum class Step { Register, End, Answer, Done } step = duringARun ? Step::Register : Step::End;
    QString boxText;
    QElapsedTimer sinceAnswer;
    QTimer poll;
    connect(&poll, &QTimer::timeout, this, [&] {
        if (step == Step::Register) {
            step = Step::End;
            window.registButton()->click();
        } else if (step == Step::End && (!duringARun || m_stubs->stubsStarted(1))) {
            step = Step::Answer;
            QTimer::singleShot(0, window.cancelButton(), &QPushButton::click);
        } else if (auto *box = QApplication::activeModalWidget(); step == Step::Answer && box) {
            step = Step::Done;
            boxText = box->findChild<QLabel *>("informativeText")->text();
            sinceAnswer.start();
            box->findChild<QPushButton *>()->click();
        }
    });
    poll.start(20);
    QTimer::singleShot(60000, [] { QCoreApplication::exit(99); }); // never hang the suite
    QCOMPARE(QApplication::exec(), 0);
    qInfo("the program ended %lld ms after the box was answered", sinceAnswer.elapsed());
    QCOMPARE(boxText, QStringLiteral("データ収集が終了しました。"));
    // A stopped run ends at once; the margin is for a loaded machine.
    QVERIFY2(sinceAnswer.elapsed() < 10000, qPrintable(QString::number(sinceAnswer.elapsed())));
    QVERIFY(!window.isVisible());
    QVERIFY2(!controller.isRunning(),
             qPrintable(QString("delegate %1").arg(controller.delegate().isRunning())));
    // A killed process ends when the kernel next runs it: waited for, within a bound.
    QTRY_VERIFY_WITH_TIMEOUT(!m_stubs->anyStubStillRunning(), 20000);
    QDir().mkpath(m_app->savePath());
    QCOMPARE(QDir(m_app->savePath()).entryList(QDir::Files | QDir::Hidden), QStringList());
}

void TestGuiRun::returnRegisters()
{
    Desktop desktop(OVBuildProfile::sixtyFourBit());
    desktop.fill(FormValues{"abc", "12", "x123", "山田", ""});
    QTest::keyClick(desktop.window.lastName(), Qt::Key_Return);
    QCOMPARE(desktop.presenter.events,
             QStringList{"box:使用者氏名を入力してください。|姓と名の両方を入力してください|warning"});
    desktop.window.lastName()->setText("太郎");
    desktop.presenter.events.clear();
    QTest::keyClick(desktop.window.controlNumber(1), Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(desktop.presenter.events.filter("reveal:"),
             QStringList{"reveal:" + m_app->savePath() + "abc-12-x123.csv"});
}

void TestGuiRun::configuredFileServerReportsInTheNetworkForm()
{
    ScopedEnv env;
    const QString server = QStringLiteral("127.0.0.1:%1").arg(sparePort()); // nobody listens
    env.set("OVALITH_FILE_SERVER", server.toUtf8());
    Desktop desktop(OVBuildProfile::sixtyFourBit());
    desktop.fill(kForm);
    QTest::mouseClick(desktop.window.registButton(), Qt::LeftButton);
    const QString path = m_app->savePath() + "abc-12-x123.csv";
    QCOMPARE(
        desktop.presenter.events,
        (QStringList{"window:NetworkNG|サーバーへ送信できませんでした：サーバー" + server +
                         "が接続を拒否しました（ファイル共有が動いていないか、ポートが違います）|warning",
                     "reveal:" + path}));
    QVERIFY(QFile::exists(path));
}

void TestGuiRun::anotherMacsFileIsReplacedOnlyWhenTheUserSaysSo()
{
    QDir().mkpath(m_app->savePath());
    const QString path = m_app->savePath() + "abc-12-x123.csv";
    const QByteArray theirs =
        cp932::encode(QStringLiteral("Key,Group,Item,SubItem,Contents,Unit,Renewalday\r\n"
                                     "abc-12-x123,Create,DateTime,2026/11/30,10:00:00,,2026/11/30\r\n"
                                     "abc-12-x123,LAN,en0,MACアドレス,AA-BB-CC-00-11-22,,2026/11/30\r\n"));
    writeFile(path, theirs);
    Desktop desktop(OVBuildProfile::sixtyFourBit());
    desktop.fill(kForm);
    const QString question =
        "question:この管理番号のファイルは別のMac（AA-BB-CC-00-11-22）のものです。置き換えますか？";
    // No, the default: nothing collected, the form as it was, ready for the right number.
    QTest::mouseClick(desktop.window.registButton(), Qt::LeftButton);
    QCOMPARE(desktop.presenter.events, QStringList{question});
    QCOMPARE(readFile(path), theirs);
    QVERIFY(m_stubs->log().filter("system_profiler").isEmpty());
    QCOMPARE(desktop.window.formValues().managementNumber(), QStringLiteral("abc-12-x123"));
    QCOMPARE(desktop.enabledStates(), repeated(true, 16));
    // Yes: the run replaces it.
    desktop.presenter.answer = true;
    QTest::mouseClick(desktop.window.registButton(), Qt::LeftButton);
    QCOMPARE(desktop.presenter.events.mid(1, 1), QStringList{question});
    QVERIFY(desktop.presenter.events.last().startsWith("reveal:"));
    QVERIFY(readFile(path) != theirs);
}

void TestGuiRun::siteFileAloneMakesTheDesktopDeliver()
{
    // Started from the Finder, the program sees no environment: the site file is what names the server.
    ScopedEnv env;
    env.unset("OVALITH_FILE_SERVER");
    const QString server = QStringLiteral("127.0.0.1:%1").arg(sparePort()); // nobody listens
    QDir().mkpath(m_app->path() + "/DAT");
    writeFile(m_app->path() + "/DAT/delivery.ini", "[delivery]\nserver = " + server.toUtf8() + "\n");
    Desktop desktop(OVBuildProfile::sixtyFourBit());
    desktop.fill(kForm);
    QTest::mouseClick(desktop.window.registButton(), Qt::LeftButton);
    QCOMPARE(desktop.presenter.events.value(0),
             "window:NetworkNG|サーバーへ送信できませんでした：サーバー" + server +
                 "が接続を拒否しました（ファイル共有が動いていないか、ポートが違います）|warning");
    // Mended between two runs, it counts at the next.
    writeFile(m_app->path() + "/DAT/delivery.ini", "[delivery]\nserver = smb://x\n");
    QTest::mouseClick(desktop.window.registButton(), Qt::LeftButton);
    QVERIFY(desktop.presenter.events.filter("window:NetworkNG")
                .last()
                .contains("の server がホスト名かIPv4アドレスでは"));
}

QTEST_MAIN(TestGuiRun)
#include "test_gui_run.moc"
