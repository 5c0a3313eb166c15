#include "CliNotifier.h"
#include "CliOptions.h"
#include "JsonReport.h"
#include "app/DeliveryJob.h"
#include "app/InputCheck.h"
#include "app/OVAppDelegate.h"
#include "app/SignalStop.h"
#include "app/cDebugLog.h"
#include "inventory/DataTypes.h"
#include "util/OVBuildProfile.h"
#include "util/OVUtil.h"
#include "util/Version.h"
#include "util/share/DeliveryConfig.h"

#include <QCoreApplication>
#include <QJsonDocument>

#include <cstdio>
#include <unistd.h>

namespace {

enum ExitCode {
    kSaved = 0,
    kSaveFailed = 1,
    kRefused = 2,
    kDeliveryFailed = 3,
    kIncomplete = 4,
    kOtherMachinesFile = 5
};

const QString kSeeHelp = QStringLiteral("使い方は ovalith-collect --help で見られます。");

// Where to deliver, with --deliver; a usage error in `error` for what the command line or the environment
// says wrong. What the site file says wrong is the run's to report: it saves and does not deliver.
DeliveryConfig deliverySetup(const CliOptions &options, QString &error)
{
    if (!options.deliver) {
        if (!options.server.isEmpty() || !options.shareUser.isEmpty() || options.sharePasswordFile)
            error =
                QStringLiteral("--server、--share-user、--share-password-file は --deliver と共に使います");
        return {};
    }
    DeliveryOverrides overrides{options.server, options.shareUser, std::nullopt};
    if (!options.server.isEmpty() && !ShareSettings::forServer(options.server)) {
        error = QStringLiteral(
                    "送り先のファイルサーバーになりません：%1（HOST か HOST:PORT。IPv6アドレスは使えません）")
                    .arg(options.server);
        return {};
    }
    if (options.sharePasswordFile) {
        overrides.password = readPasswordFile(*options.sharePasswordFile, &error);
        if (!overrides.password)
            return {};
    }
    DeliveryConfig config = loadDeliveryConfig(overrides);
    if (config.environmentProblem)
        error = config.problem;
    else if (!config.delivers())
        error = QStringLiteral("送り先のファイルサーバーがありません：--server HOST[:PORT] を付けるか、"
                               "OVALITH_FILE_SERVER か DAT/delivery.ini で指定してください");
    return config;
}

// Refused input comes first; then a file not saved, a delivery that failed, facts that are missing.
int exitCodeOf(int saveResult, bool incomplete)
{
    if (saveResult & OVAppDelegate::LocalSaveFailed)
        return kSaveFailed;
    if (saveResult & OVAppDelegate::NetworkSaveFailed)
        return kDeliveryFailed;
    return incomplete ? kIncomplete : kSaved;
}

QString resultOf(int exitCode, const CliNotifier &notifier)
{
    if (!notifier.windowName().isEmpty())
        return notifier.windowName();
    if (exitCode == kSaveFailed)
        return QStringLiteral("failed");
    return QStringLiteral("saved");
}

struct Outcome
{
    int exitCode = kSaved;
    QString result;
};

Outcome runCollection(OVAppDelegate &delegate, const FormValues &form, CliNotifier &notifier)
{
    const SignalStop stopOnSignal([&delegate](int) { delegate.interrupt(); });
    delegate.startCollection(form);
    notifier.progress().finish();
    const int number = stopOnSignal.signalNumber();
    // A signal after the save ends the delivery, and the run reports what it did.
    if (number && !delegate.saveBegun()) {
        notifier.error(QStringLiteral("中断しました。ファイルは保存していません。"));
        return {128 + number, QStringLiteral("interrupted")};
    }
    if (delegate.replaceDeclined())
        return {kOtherMachinesFile, QStringLiteral("declined")};
    const auto missing = delegate.missingDataTypes();
    for (const MissingDataType &type : missing)
        notifier.error(QStringLiteral("%1（%2）を収集できませんでした：%3")
                           .arg(datatypes::displayNameOf(type.dataType), type.dataType, type.reason));
    if (number)
        notifier.error(
            QStringLiteral("中断しました。ファイルは保存しましたが、サーバーへは送っていません。"));
    const int exitCode = exitCodeOf(delegate.saveResult(), !missing.empty());
    return {exitCode, resultOf(exitCode, notifier)};
}

ProgressLine::Mode progressMode(const CliOptions &options)
{
    if (options.quiet)
        return ProgressLine::Mode::Off;
    if (::isatty(STDERR_FILENO) == 1)
        return ProgressLine::Mode::InPlace;
    return options.progress ? ProgressLine::Mode::Lines : ProgressLine::Mode::Off;
}

// Prints the JSON object when asked for, and answers the exit code.
int finish(const CliOptions &options, JsonRun run, const OVAppDelegate *delegate, const CliNotifier *notifier)
{
    if (!options.json)
        return run.exitCode;
    run.ended = QDateTime::currentDateTime();
    const QJsonObject object =
        makeJsonReport(run, delegate, notifier ? notifier->report() : std::optional<OVResultReport>());
    std::fputs(QJsonDocument(object).toJson(QJsonDocument::Compact).append('\n').constData(), stdout);
    return run.exitCode;
}

int usageError(const CliOptions &options, const QString &error, JsonRun &run)
{
    std::fprintf(stderr, "ovalith-collect: %s\novalith-collect: %s\n", qPrintable(error),
                 qPrintable(kSeeHelp));
    run.exitCode = kRefused;
    run.result = QStringLiteral("usage");
    run.errors << error;
    return finish(options, run, nullptr, nullptr);
}

int collect(const CliOptions &options, const DeliveryConfig &delivery, JsonRun &run)
{
    const CliNotifier::Output output = options.json    ? CliNotifier::Output::Json
                                       : options.quiet ? CliNotifier::Output::Quiet
                                                       : CliNotifier::Output::Report;
    OVAppDelegate *delegatePointer = nullptr;
    CliNotifier notifier(output, std::make_unique<ProgressLine>(progressMode(options), [&delegatePointer] {
                             return delegatePointer ? delegatePointer->runningDataTypes() : QStringList();
                         }));
    OVAppDelegate delegate(notifier);
    delegatePointer = &delegate;
    if (!options.controlNumberWellFormed || !delegate.inputCheck(options.form)) {
        if (!options.controlNumberWellFormed)
            notifier.error(
                kInvalidManagementNumber +
                QStringLiteral("\n管理番号は3つの部分を「-」でつないだものです（例：abc-12-x123）"));
        run.exitCode = kRefused;
        run.result = QStringLiteral("refused");
        return finish(options, run, &delegate, &notifier);
    }
    delegate.setDelivery(delivery);
    delegate.setReplaceOtherMachinesFile(options.replace);
    const Outcome outcome = runCollection(delegate, options.form, notifier);
    run.exitCode = outcome.exitCode;
    run.result = outcome.result;
    return finish(options, run, &delegate, &notifier);
}

} // namespace

int main(int argc, char *argv[])
{
    if (printVersionWhenAsked(argc, argv, "ovalith-collect"))
        return 0;
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("ovalith-collect"));
    OVBuildProfile::setCurrent(OVBuildProfile::sixtyFourBit());
    JsonRun run;
    run.started = QDateTime::currentDateTime();
    const CliOptions options = CliOptions::parse(QCoreApplication::arguments());
    if (options.help) {
        std::fputs(cliHelpText().toUtf8().constData(), stdout);
        return 0;
    }
    if (!options.error.isEmpty())
        return usageError(options, options.error, run);
    if (!options.appDir.isEmpty())
        OVUtil::setCurrentDirectory(options.appDir);
    if (options.timeout) // the option wins over the environment, which the limits read
        qputenv("OVALITH_COMMAND_TIMEOUT", options.timeout->toUtf8());
    cDebugLog::setDebugMode(options.debug);
    QString deliveryError;
    const DeliveryConfig delivery = deliverySetup(options, deliveryError);
    if (!deliveryError.isEmpty())
        return usageError(options, deliveryError, run);
    const int exitCode = collect(options, delivery, run);
    if (deliveryjob::anyLetGo()) { // a delivery still inside the share client's library: no destructors now
        std::fflush(nullptr);
        ::_exit(exitCode);
    }
    return exitCode;
}
