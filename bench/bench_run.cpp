// Times whole runs of the collection against a stub system_profiler that sleeps as long as each data
// type takes on a real Mac, once with the commands one after the other (OVALITH_SERIAL_COMMANDS=1) and once
// all at once, and prints both wall times, their ratio, and the slowest data type's time for comparison.
#include "app/OVAppDelegate.h"
#include "util/OVUtil.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

namespace {

// Seconds per data type: a mid-range Mac with a few hundred applications and one printer queue.
const std::pair<const char *, double> kSeconds[] = {
    {"SPApplicationsDataType", 6.0}, {"SPHardwareDataType", 0.4},
    {"SPNetworkDataType", 1.2},      {"SPNetworkLocationDataType", 0.4},
    {"SPSoftwareDataType", 0.5},     {"SPSerialATADataType", 0.6},
    {"SPNVMeDataType", 0.5},         {"SPStorageDataType", 0.8},
    {"SPDisplaysDataType", 1.5},     {"SPBluetoothDataType", 2.0},
    {"SPUSBDataType", 0.8},          {"SPUSBHostDataType", 0.6},
    {"SPPrintersDataType", 1.0}};

class NoNotifier : public OVNotifier
{
public:
    void disableControls() override {}
    void enableControls() override {}
    void showProgress(const QString &) override {}
    void collectorStarted(int, int, const QString &) override {}
    void showMessageBox(const QString &, const QString &) override {}
    bool askQuestion(const QString &, const QString &) override { return false; }
    void showResultWindow(const QString &, const OVResultReport &) override {}
    void revealFile(const QString &) override {}
};

QString writeStub(const QTemporaryDir &dir, double scale)
{
    QString cases;
    for (const auto &[type, seconds] : kSeconds)
        cases += QStringLiteral("    %1) sleep %2 ;;\n").arg(QLatin1String(type)).arg(seconds * scale);
    const QString path = dir.filePath(QStringLiteral("system_profiler"));
    QFile stub(path);
    if (!stub.open(QIODevice::WriteOnly))
        return QString();
    stub.write(QStringLiteral("#!/bin/sh\nfor type in \"$@\"; do :; done\ncase $type in\n%1esac\n"
                              "cat \"$OVALITH_BENCH_PLISTS/$type.xml\" 2>/dev/null\nexit 0\n")
                   .arg(cases)
                   .toUtf8());
    stub.setPermissions(stub.permissions() | QFile::ExeOwner);
    return path;
}

double runSeconds(bool serial)
{
    qputenv("OVALITH_SERIAL_COMMANDS", serial ? "1" : "0");
    NoNotifier notifier;
    OVAppDelegate delegate(notifier);
    QElapsedTimer timer;
    timer.start();
    delegate.startCollection(FormValues{QStringLiteral("abc"), QStringLiteral("12"), QStringLiteral("x123"),
                                        QStringLiteral("山田"), QStringLiteral("太郎")});
    return timer.nsecsElapsed() / 1e9;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    const int runs =
        std::max(1, int(arguments.value(arguments.indexOf(QStringLiteral("--runs")) + 1).toInt()));
    const double scale =
        std::max(0.01, arguments.value(arguments.indexOf(QStringLiteral("--scale")) + 1).toDouble());
    QTemporaryDir dir;
    const QString stub = writeStub(dir, arguments.contains(QStringLiteral("--scale")) ? scale : 1.0);
    if (stub.isEmpty())
        return 1;
    qputenv("OVALITH_SYSTEM_PROFILER", QFile::encodeName(stub));
    qputenv("OVALITH_BENCH_PLISTS", QFile::encodeName(QStringLiteral(OVALITH_BENCH_MACHINE)));
    OVUtil::setCurrentDirectory(dir.filePath(QStringLiteral("app")));
    QDir().mkpath(dir.filePath(QStringLiteral("app")));

    double slowest = 0;
    double sum = 0;
    std::printf("| data type | seconds |\n|---|---|\n");
    for (const auto &[type, seconds] : kSeconds) {
        const double scaled = seconds * (arguments.contains(QStringLiteral("--scale")) ? scale : 1.0);
        std::printf("| %s | %.2f |\n", type, scaled);
        slowest = std::max(slowest, scaled);
        sum += scaled;
    }
    std::vector<double> serial;
    std::vector<double> concurrent;
    for (int i = 0; i < runs; ++i) {
        serial.push_back(runSeconds(true));
        concurrent.push_back(runSeconds(false));
    }
    const double s = median(serial);
    const double c = median(concurrent);
    std::printf("\nsum of the data types %.2f s, slowest %.2f s; median of %d runs each:\n", sum, slowest,
                runs);
    std::printf("one after the other: %.2f s\nall at once:         %.2f s (%.2f of the slowest data type)\n",
                s, c, c / slowest);
    std::printf("all at once / one after the other: %.2f\n", c / s);
    return c <= slowest * 1.1 ? 0 : 2;
}
