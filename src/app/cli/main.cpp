#include "CliNotifier.h"
#include "app/DeliveryJob.h"
#include "app/InputCheck.h"
#include "app/OVAppDelegate.h"
#include "app/SignalStop.h"
#include "app/cDebugLog.h"
#include "util/OVBuildProfile.h"
#include "util/OVUtil.h"
#include "util/Version.h"
#include "util/share/DeliveryConfig.h"

#include <QCommandLineParser>
#include <QCoreApplication>

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

struct Options
{
    FormValues form;
    bool controlNumberWellFormed = true;
};

void addOptions(QCommandLineParser &parser)
{
    parser.setApplicationDescription(QStringLiteral(
        "Collects this Mac's inventory into SAVE/<management number>.csv next to the program."));
    parser.addHelpOption();
    parser.addOptions({
        {QStringLiteral("control-number"), QStringLiteral("Management number, as abc-12-x123."),
         QStringLiteral("A-B-C")},
        {QStringLiteral("family-name"), QStringLiteral("The user's family name."), QStringLiteral("TEXT")},
        {QStringLiteral("given-name"), QStringLiteral("The user's given name."), QStringLiteral("TEXT")},
        {QStringLiteral("app-dir"), QStringLiteral("The program's folder (default: where the program lies)."),
         QStringLiteral("DIR")},
        {QStringLiteral("debug"), QStringLiteral("Keep the last checkpoint of the run in SAVE/debug.txt.")},
        {QStringLiteral("deliver"),
         QStringLiteral("Also deliver the file to the share stkget$ of the file server.")},
        {QStringLiteral("server"),
         QStringLiteral("The file server (default: OVALITH_FILE_SERVER, else server= in DAT/delivery.ini)."),
         QStringLiteral("HOST[:PORT]")},
        {QStringLiteral("share-user"),
         QStringLiteral("The account to log on to the share with (default: OVALITH_SHARE_USER, else user= in "
                        "DAT/delivery.ini, else the guest)."),
         QStringLiteral("USER")},
        {QStringLiteral("share-password-file"),
         QStringLiteral(
             "A file whose first line is the account's password (default: "
             "OVALITH_SHARE_PASSWORD_FILE, else password= in DAT/delivery.ini). Never a password on "
             "the command line."),
         QStringLiteral("FILE")},
        {QStringLiteral("replace"),
         QStringLiteral("Replace SAVE/<management number>.csv also when another Mac wrote it.")},
        {QStringLiteral("version"), QStringLiteral("The program's version.")},
    });
}

Options readForm(const QCommandLineParser &parser)
{
    Options options;
    const QStringList parts = parser.value(QStringLiteral("control-number")).split(QLatin1Char('-'));
    // Anything but three parts is refused like any other invalid management number.
    options.controlNumberWellFormed = parts.size() == 3;
    if (options.controlNumberWellFormed) {
        options.form.controlNumber01 = parts.at(0);
        options.form.controlNumber02 = parts.at(1);
        options.form.controlNumber03 = parts.at(2);
    }
    options.form.firstName = parser.value(QStringLiteral("family-name"));
    options.form.lastName = parser.value(QStringLiteral("given-name"));
    return options;
}

// Where to deliver, with --deliver; a usage error in `error` for what the command line or the environment
// says wrong. What the site file says wrong is the run's to report: it saves and does not deliver.
DeliveryConfig deliverySetup(const QCommandLineParser &parser, QString &error)
{
    if (!parser.isSet(QStringLiteral("deliver"))) {
        for (const char *option : {"server", "share-user", "share-password-file"}) {
            if (parser.isSet(QLatin1String(option)))
                error = QStringLiteral("--%1 needs --deliver").arg(QLatin1String(option));
        }
        return {};
    }
    DeliveryOverrides overrides;
    overrides.server = parser.value(QStringLiteral("server"));
    if (parser.isSet(QStringLiteral("server")) && !ShareSettings::forServer(overrides.server)) {
        error = QStringLiteral(
                    "not a file server to deliver to: %1 (HOST or HOST:PORT; IPv6 addresses cannot be used)")
                    .arg(overrides.server);
        return {};
    }
    overrides.user = parser.value(QStringLiteral("share-user"));
    if (parser.isSet(QStringLiteral("share-password-file"))) {
        overrides.password = readPasswordFile(parser.value(QStringLiteral("share-password-file")), &error);
        if (!overrides.password)
            return {};
    }
    DeliveryConfig config = loadDeliveryConfig(overrides);
    if (config.environmentProblem)
        error = config.problem;
    else if (!config.delivers())
        error =
            QStringLiteral("no file server to deliver to: give --server HOST[:PORT], set OVALITH_FILE_SERVER "
                           "or name it in DAT/delivery.ini");
    return config;
}

// A repeated option would silently drop one of its values.
QString repeatedOption(const QCommandLineParser &parser)
{
    const QStringList names = parser.optionNames();
    for (qsizetype i = 0; i < names.size(); ++i) {
        if (names.indexOf(names[i], i + 1) > 0)
            return names[i];
    }
    return QString();
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

int runCollection(OVAppDelegate &delegate, const FormValues &form)
{
    const SignalStop stopOnSignal([&delegate](int) { delegate.interrupt(); });
    delegate.startCollection(form);
    // A signal after the save ends the delivery, and the run reports what it did.
    if (const int number = stopOnSignal.signalNumber(); number && !delegate.saveBegun())
        return 128 + number;
    if (delegate.replaceDeclined())
        return kOtherMachinesFile;
    const auto missing = delegate.missingDataTypes();
    for (const MissingDataType &type : missing)
        std::fprintf(stderr, "%s: %s\n", qPrintable(type.dataType), qPrintable(type.reason));
    return exitCodeOf(delegate.saveResult(), !missing.empty());
}

} // namespace

int main(int argc, char *argv[])
{
    if (printVersionWhenAsked(argc, argv, "ovalith-collect"))
        return 0;
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("ovalith-collect"));
    OVBuildProfile::setCurrent(OVBuildProfile::sixtyFourBit());

    QCommandLineParser parser;
    addOptions(parser);
    if (!parser.parse(QCoreApplication::arguments())) {
        std::fprintf(stderr, "%s\n", qPrintable(parser.errorText()));
        return kRefused;
    }
    if (parser.isSet(QStringLiteral("help")))
        parser.showHelp(0);
    if (!parser.positionalArguments().isEmpty()) {
        std::fprintf(stderr, "unexpected argument: %s\n", qPrintable(parser.positionalArguments().first()));
        return kRefused;
    }
    if (const QString repeated = repeatedOption(parser); !repeated.isEmpty()) {
        std::fprintf(stderr, "option given more than once: --%s\n", qPrintable(repeated));
        return kRefused;
    }
    if (parser.isSet(QStringLiteral("app-dir")))
        OVUtil::setCurrentDirectory(parser.value(QStringLiteral("app-dir")));
    cDebugLog::setDebugMode(parser.isSet(QStringLiteral("debug")));

    QString deliveryError;
    const DeliveryConfig delivery = deliverySetup(parser, deliveryError);
    if (!deliveryError.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(deliveryError));
        return kRefused;
    }
    const Options options = readForm(parser);
    CliNotifier notifier(::isatty(STDERR_FILENO) == 1);
    if (!options.controlNumberWellFormed) {
        notifier.showMessageBox(kInvalidManagementNumber, kInvalidManagementNumber);
        return kRefused;
    }
    OVAppDelegate delegate(notifier);
    if (!delegate.inputCheck(options.form))
        return kRefused;
    delegate.setDelivery(delivery);
    delegate.setReplaceOtherMachinesFile(parser.isSet(QStringLiteral("replace")));
    const int exitCode = runCollection(delegate, options.form);
    if (deliveryjob::anyLetGo()) { // a delivery still inside the share client's library: no destructors now
        std::fflush(nullptr);
        ::_exit(exitCode);
    }
    return exitCode;
}
