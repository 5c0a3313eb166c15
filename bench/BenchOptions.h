#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <cstdio>
#include <vector>

// What the size benchmarks are told: --sizes A,B,C --runs N --python PATH.
struct BenchOptions
{
    QList<int> sizes;
    int runs = 3;
    QString python = QStringLiteral("python3");

    static BenchOptions read(const QStringList &arguments, QList<int> defaultSizes)
    {
        BenchOptions options{std::move(defaultSizes)};
        for (qsizetype i = 1; i + 1 < arguments.size(); i += 2) {
            if (arguments[i] == QLatin1String("--sizes")) {
                options.sizes.clear();
                for (const QString &size : arguments[i + 1].split(QLatin1Char(',')))
                    options.sizes << size.toInt();
            } else if (arguments[i] == QLatin1String("--runs")) {
                options.runs = std::max(1, arguments[i + 1].toInt());
            } else if (arguments[i] == QLatin1String("--python")) {
                options.python = arguments[i + 1];
            }
        }
        return options;
    }
};

// How the time per unit grows from each size to the next: 1.00x is linear.
inline void printGrowth(const QList<int> &sizes, const std::vector<double> &perThousand, const char *unit,
                        const char *counted)
{
    for (std::size_t i = 1; i < perThousand.size(); ++i)
        std::printf("time per %s, %d vs %d %s: %.2fx\n", unit, sizes[qsizetype(i)], sizes[qsizetype(i) - 1],
                    counted, perThousand[i] / perThousand[i - 1]);
}
