// Times the whole path of the largest data type, from system_profiler's file to the CSV file (parse,
// records, CSV text, code page 932, atomic write), against Python's plistlib.load of the same file.
// Each measurement runs in a child process of its own, so its peak resident memory is its own.
#include "ApplicationsPlist.h"
#include "BenchOptions.h"
#include "app/CsvAssembly.h"
#include "inventory/OVSoftwareInventory.h"
#include "util/OVUtil.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <sys/resource.h>

namespace {

struct Sample
{
    double milliseconds = 0;
    double peakMegabytes = 0;
    double startMegabytes = 0; // the process before it read anything: libraries, Qt
};

double peakResidentMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0; // kilobytes on Linux
}

// The measured path; prints "<milliseconds> <peak MB> <applications> <MB before the path>".
int runPath(const QString &plist, const QString &csv)
{
    const double startMegabytes = peakResidentMegabytes();
    QElapsedTimer timer;
    timer.start();
    const PlistDocument document = PlistDocument::fromFile(plist);
    RecordList records{std::make_shared<const OVCSVRecord>(
        QStringLiteral("Key"), QStringLiteral("Group"), QStringLiteral("Item"), QStringLiteral("SubItem"),
        QStringLiteral("Contents"), QStringLiteral("Unit"), QStringLiteral("Renewalday"))};
    const RecordList applications = OVSoftwareInventory::recordsFromList(
        document.root(), RecordMaker{QStringLiteral("AA"), QStringLiteral("2026/12/06")});
    records.insert(records.end(), applications.begin(), applications.end());
    const bool written = OVUtil::outputFile(createAllCSVText(records, QStringLiteral("abc-12-x123")), csv);
    const double elapsed = timer.nsecsElapsed() / 1e6;
    std::printf("%.2f %.1f %zu %.1f\n", elapsed, peakResidentMegabytes(), applications.size(),
                startMegabytes);
    return written ? 0 : 1;
}

std::optional<Sample> measure(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(600000) || process.exitCode() != 0)
        return std::nullopt;
    const QList<QByteArray> fields = process.readAllStandardOutput().trimmed().split(' ');
    return Sample{fields.value(0).toDouble(), fields.value(1).toDouble(), fields.value(3).toDouble()};
}

// The median of `runs` runs.
std::optional<Sample> median(int runs, const QString &program, const QStringList &arguments)
{
    std::vector<Sample> samples;
    for (int i = 0; i < runs; ++i) {
        const auto sample = measure(program, arguments);
        if (!sample)
            return std::nullopt;
        samples.push_back(*sample);
    }
    std::sort(samples.begin(), samples.end(), [](auto a, auto b) { return a.milliseconds < b.milliseconds; });
    return samples[samples.size() / 2];
}

const char *kPlistlib =
    "import plistlib, resource, sys, time\n"
    "start = time.perf_counter()\n"
    "with open(sys.argv[1], 'rb') as f: plistlib.load(f)\n"
    "elapsed = (time.perf_counter() - start) * 1000\n"
    "print('%.2f %.1f' % (elapsed, resource.getrusage(resource.RUSAGE_SELF).ru_maxrss / 1024))\n";

void printRow(int count, double fileMegabytes, const Sample &ours, const Sample &python)
{
    std::printf("%9d %8.1f %11.1f %12.1f %6.1fx %13.2f %9.1f %9.1fx %12.1fx\n", count, fileMegabytes,
                ours.milliseconds, python.milliseconds, python.milliseconds / ours.milliseconds,
                ours.milliseconds / count * 1000, ours.peakMegabytes, ours.peakMegabytes / fileMegabytes,
                (ours.peakMegabytes - ours.startMegabytes) / fileMegabytes);
}

int runBenchmark(const QList<int> &sizes, int runs)
{
    QTemporaryDir dir;
    const QString self = QCoreApplication::applicationFilePath();
    std::printf("%9s %8s %11s %12s %7s %13s %9s %10s %13s\n", "apps", "file MB", "ovalith ms", "plistlib ms",
                "ratio", "ms/1000 apps", "peak MB", "peak/file", "growth/file");
    std::vector<double> perThousand;
    for (const int count : sizes) {
        const QString plist = dir.filePath(QStringLiteral("apps-%1.plist").arg(count));
        if (!writeApplicationsPlist(plist, count))
            return 1;
        const double fileMegabytes = QFileInfo(plist).size() / 1e6;
        const auto ours =
            median(runs, self, {QStringLiteral("--path"), plist, dir.filePath(QStringLiteral("out.csv"))});
        const auto python = median(runs, QStringLiteral("python3"),
                                   {QStringLiteral("-c"), QString::fromLatin1(kPlistlib), plist});
        if (!ours || !python)
            return 1;
        perThousand.push_back(ours->milliseconds / count * 1000);
        printRow(count, fileMegabytes, *ours, *python);
    }
    std::printf("(growth: peak resident memory above what the process held before it read the file)\n");
    printGrowth(sizes, perThousand, "application", "apps");
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() == 4 && arguments[1] == QLatin1String("--path"))
        return runPath(arguments[2], arguments[3]);
    const BenchOptions options = BenchOptions::read(arguments, {2000, 20000, 200000});
    return runBenchmark(options.sizes, options.runs);
}
