#include "DesktopMain.h"

#include "OVAppController.h"
#include "OVMainWindow.h"
#include "OVMessagePresenter.h"
#include "OVMessageWindowController.h"
#include "OVRunController.h"
#include "app/DeliveryJob.h"
#include "app/ResultText.h"
#include "app/SaveFolderCheck.h"
#include "app/SignalStop.h"
#include "app/cDebugLog.h"
#include "app/cOperatingSystemCheck.h"
#include "util/OVBuildProfile.h"
#include "util/OVUtil.h"
#include "util/Version.h"
#include "util/platform/Platform.h"

#include <QApplication>

#include <cstdio>
#include <unistd.h>

namespace {

// A refused system sees the window that names the build to use instead; closing it ends the program.
bool passOsGate(const OVBuildProfile &profile)
{
    const cOperatingSystemCheck check;
    if (check.gateAllows(profile.osThreshold, profile.osCompType))
        return true;
    OVMessageWindowController window(QStringLiteral("OSCheck"));
    OVAppController controller(window, osCheckText(check.getPCVersion(), profile.otherBuildName));
    window.exec();
    return false;
}

void setJapaneseFont(QApplication &app)
{
    // Pick the Japanese glyph forms of shared kanji where such a font is installed.
    QFont font = app.font();
    font.setFamilies({QStringLiteral("Hiragino Sans"), QStringLiteral("IPAGothic"),
                      QStringLiteral("Noto Sans CJK JP"), font.family()});
    app.setFont(font);
}

} // namespace

QString desktopHelp(const OVBuildProfile &profile)
{
    QStringList lines{
        QStringLiteral("使い方: %1%2")
            .arg(profile.executableName, profile.hasDebugLog ? QStringLiteral(" [debug]") : QString()),
        QStringLiteral(
            "このMacのインベントリを集める画面を開きます。管理番号と使用者氏名を入れて「登録」を押すと、"
            "SAVE/<管理番号>.csv に保存します。"),
        QString()};
    if (profile.hasDebugLog)
        lines << QStringLiteral("  debug      最後に通過した箇所を SAVE/debug.txt に残す");
    lines << QStringLiteral("  --version  版を表示する") << QStringLiteral("  --help     この説明を表示する")
          << QString()
          << QStringLiteral("プログラムのフォルダ（SAVE/ と DAT/ のあるところ）: ") +
                 OVUtil::describeDefaultDirectory()
          << QStringLiteral("送り先のファイルサーバーは DAT/delivery.ini で指定します。") << QString()
          << QStringLiteral("終了コード: 0 終了、2 画面がない（ovalith-collect を使ってください）、"
                            "143, 129, 130 SIGTERM, SIGHUP, SIGINT で終了");
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

int runDesktopProgram(int argc, char *argv[], const OVBuildProfile &profile)
{
    if (printVersionWhenAsked(argc, argv, profile.executableName.toUtf8().constData()) ||
        printHelpWhenAsked(argc, argv, desktopHelp(profile)))
        return 0;
    if (!platform::hasDisplay()) {
        std::fprintf(
            stderr, "%s\n",
            qPrintable(profile.executableName + QStringLiteral(": 画面（ディスプレイ）がありません。"
                                                               "画面のない環境では ovalith-collect で収集"
                                                               "してください。")));
        return 2;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(profile.executableName);
    OVBuildProfile::setCurrent(profile);
    setJapaneseFont(app);
    if (!passOsGate(profile))
        return 0;
    if (profile.hasDebugLog) {
        if (const auto mode = cDebugLog::modeFromArguments(QCoreApplication::arguments()))
            cDebugLog::setDebugMode(*mode);
    }
    OVMainWindow window;
    OVQtMessagePresenter presenter;
    // Before anyone fills in the form: a copy that macOS runs from its quarantine cannot save anything.
    if (isTranslocated(OVUtil::getCurrentDirectory()))
        presenter.showMessageBox(nullptr, kInventoryCollection, kTranslocatedAdvice, MessageKind::Warning);
    OVRunController controller(window, presenter, profile);
    // Logout and kill end a run as the end button does, on the GUI thread.
    const SignalStop stopOnSignal([&controller](int number) {
        QMetaObject::invokeMethod(
            &controller, [&controller, number] { controller.endOnSignal(number); }, Qt::QueuedConnection);
    });
    window.setupComboBox();
    window.centreOnScreen();
    window.show();
    const int exitCode = app.exec();
    if (deliveryjob::anyLetGo()) { // a delivery still inside the share client's library: no destructors now
        std::fflush(nullptr);
        ::_exit(exitCode);
    }
    return exitCode;
}
