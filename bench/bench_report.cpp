// Times ovalith-report over generated campaigns (realistic files: the fixed lines of a real Mac's file and
// about 300 applications from a pool of a few thousand, Japanese names among them) against a plain Python
// script that only reads and decodes the same files (csv over bytes.decode("cp932")). Each measurement
// runs as a process of its own, so its time and peak resident memory are its own.
#include "BenchOptions.h"
#include "util/Cp932.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <optional>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <vector>

extern char **environ;

namespace {

constexpr int kApplicationsPerMachine = 300;
constexpr int kApplicationPool = 4000;

// A small deterministic generator: the same campaign on every run.
struct Random
{
    std::uint64_t state;
    std::uint32_t next()
    {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        return std::uint32_t(state >> 33);
    }
};

QString applicationName(int index)
{
    if (index % 7 == 0)
        return QStringLiteral("業務アプリ 第%1版").arg(index);
    return QStringLiteral("Application %1 Pro").arg(index);
}

// The fixed lines of a real file (the expected file of a 2011 MacBook Pro), without its applications.
const QStringList &templateLines()
{
    static const QStringList lines = [] {
        QFile file(QStringLiteral(OVALITH_BENCH_TEMPLATE));
        file.open(QIODevice::ReadOnly);
        QStringList fixed;
        for (const QString &line :
             cp932::decode(file.readAll()).value_or(QString()).split(QStringLiteral("\r\n"))) {
            if (!line.isEmpty() && !line.contains(QStringLiteral(",Soft,Application,")))
                fixed << line;
        }
        return fixed;
    }();
    return lines;
}

// Those lines made this machine's own; one serial number in 997 is shared, as a mistyped number would.
QStringList fixedLines(int machine, const QString &number)
{
    QStringList lines;
    for (QString line : templateLines()) {
        line.replace(QStringLiteral("@DATE@"),
                     QStringLiteral("2026/11/%1").arg(1 + machine % 28, 2, 10, QLatin1Char('0')));
        line.replace(QStringLiteral("@TIME@"), QStringLiteral("10:00:00"));
        line.replace(QStringLiteral("@COMPUTER@"), QStringLiteral("Mac-%1").arg(machine));
        line.replace(QStringLiteral("@USER@"), QStringLiteral("user%1").arg(machine));
        line.replace(QStringLiteral("@LONG_BIT@"), QStringLiteral("64"));
        line.replace(QStringLiteral("ABCDEFG12345"),
                     QStringLiteral("C02X%1").arg(machine % 997 == 5 ? 5 : machine, 8, 10, QLatin1Char('0')));
        line.replace(
            QStringLiteral("LAN,Adapter,MACアドレス,,"),
            QStringLiteral("LAN,Adapter,MACアドレス,3C-07-%1,").arg(machine, 8, 16, QLatin1Char('0')));
        line.replace(QStringLiteral("abc-12-x123"), number);
        lines << line;
    }
    return lines;
}

QByteArray machineFile(int machine, Random &random)
{
    const QString number = QStringLiteral("abc-%1-x%2")
                               .arg(machine / 10000, 2, 10, QLatin1Char('0'))
                               .arg(machine % 10000, 4, 10, QLatin1Char('0'));
    QStringList lines = fixedLines(machine, number);
    for (int i = 0; i < kApplicationsPerMachine; ++i) {
        // Most machines share the common applications; the rest are spread thin.
        const int index = int(random.next() % (i < 200 ? 400 : kApplicationPool));
        lines.insert(lines.size() - 3, QStringLiteral("%1,Soft,Application,%2,%3.%4,/Applications,2026/11/01")
                                           .arg(number, applicationName(index))
                                           .arg(index % 13)
                                           .arg(index % 5));
    }
    return cp932::encode(lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
}

bool writeCampaign(const QString &folder, int machines)
{
    QDir().mkpath(folder);
    Random random{std::uint64_t(machines)};
    for (int machine = 0; machine < machines; ++machine) {
        QFile file(QStringLiteral("%1/m%2.csv").arg(folder).arg(machine));
        if (!file.open(QIODevice::WriteOnly) || file.write(machineFile(machine, random)) < 0)
            return false;
    }
    return true;
}

struct Sample
{
    double seconds = 0;
    double peakMegabytes = 0;
};

// The program as a child of its own: its wall time and its own peak resident memory.
std::optional<Sample> measure(const QStringList &command)
{
    std::vector<QByteArray> encoded;
    for (const QString &argument : command)
        encoded.push_back(QFile::encodeName(argument));
    std::vector<char *> argv;
    for (QByteArray &argument : encoded)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    QElapsedTimer timer;
    timer.start();
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return std::nullopt;
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return std::nullopt;
    return Sample{timer.nsecsElapsed() / 1e9, usage.ru_maxrss / 1024.0};
}

std::optional<Sample> median(int runs, const QStringList &command)
{
    std::vector<Sample> samples;
    for (int i = 0; i < runs; ++i) {
        const auto sample = measure(command);
        if (!sample)
            return std::nullopt;
        samples.push_back(*sample);
    }
    std::sort(samples.begin(), samples.end(), [](auto a, auto b) { return a.seconds < b.seconds; });
    return samples[samples.size() / 2];
}

const char *kPythonReader = "import csv, io, os, sys\n"
                            "rows = 0\n"
                            "for name in sorted(os.listdir(sys.argv[1])):\n"
                            "    if name.endswith('.csv'):\n"
                            "        with open(os.path.join(sys.argv[1], name), 'rb') as f:\n"
                            "            text = f.read().decode('cp932')\n"
                            "        for row in csv.reader(io.StringIO(text, newline='')):\n"
                            "            rows += 1\n"
                            "print(rows)\n";

double folderMegabytes(const QString &folder)
{
    qint64 bytes = 0;
    for (const QFileInfo &file : QDir(folder).entryInfoList(QDir::Files))
        bytes += file.size();
    return bytes / 1e6;
}

int runBenchmark(const QList<int> &sizes, int runs, const QString &python)
{
    QTemporaryDir dir;
    std::printf("%9s %9s %12s %10s %7s %12s %13s\n", "machines", "files MB", "ovalith s", "python s", "ratio",
                "s/1000 files", "ovalith peak MB");
    std::vector<double> perThousand;
    for (const int machines : sizes) {
        const QString folder = dir.filePath(QStringLiteral("campaign-%1").arg(machines));
        if (!writeCampaign(folder, machines))
            return 1;
        const auto ours = median(runs, {QStringLiteral(OVALITH_REPORT_PROGRAM), QStringLiteral("--output"),
                                        dir.filePath(QStringLiteral("out.xlsx")), folder});
        const auto theirs =
            median(runs, {python, QStringLiteral("-c"), QString::fromLatin1(kPythonReader), folder});
        if (!ours || !theirs)
            return 1;
        perThousand.push_back(ours->seconds / machines * 1000);
        std::printf("%9d %9.1f %12.2f %10.2f %6.1fx %12.3f %13.1f\n", machines, folderMegabytes(folder),
                    ours->seconds, theirs->seconds, theirs->seconds / ours->seconds, perThousand.back(),
                    ours->peakMegabytes);
        QDir(folder).removeRecursively();
    }
    printGrowth(sizes, perThousand, "file", "machines");
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    const BenchOptions options = BenchOptions::read(arguments, {1000, 5000, 20000});
    return runBenchmark(options.sizes, options.runs, options.python);
}
