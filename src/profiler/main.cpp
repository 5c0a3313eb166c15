// ovalith-profiler: system_profiler's XML for the data types Ovalith reads, from a Linux system's own
// files and tools. Usage: ovalith-profiler [-xml] [-detailLevel LEVEL] [--root DIR] DataType...
#include "Profiler.h"
#include "util/Version.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    const QString help =
        QStringLiteral("使い方: ovalith-profiler [-xml] [-detailLevel LEVEL] [--root DIR] データ型...\n"
                       "macOS の system_profiler と同じ形の XML プロパティリストを、Linux "
                       "のシステムのファイルとツールから書き"
                       "出します（例：ovalith-profiler -xml SPHardwareDataType）。\n\n"
                       "  -xml                 XML で書く（いつもそうします）\n"
                       "  -detailLevel LEVEL   受け付けますが、どの詳しさでも同じ内容です\n"
                       "  --root DIR           / の代わりに DIR の /proc, /sys, /etc を読む\n"
                       "  --version            版を表示する\n"
                       "  --help               この説明を表示する\n");
    if (printVersionWhenAsked(argc, argv, "ovalith-profiler") || printHelpWhenAsked(argc, argv, help))
        return 0;
    QCoreApplication app(argc, argv);
    QStringList dataTypes;
    QString root = QStringLiteral("/");
    const QStringList arguments = QCoreApplication::arguments().mid(1);
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        if (argument == QLatin1String("--root") && i + 1 < arguments.size())
            root = arguments[++i];
        else if (argument == QLatin1String("-detailLevel") && i + 1 < arguments.size())
            ++i; // every level gives the same facts here
        else if (!argument.startsWith(QLatin1Char('-')))
            dataTypes << argument;
    }
    const QByteArray xml = profile(dataTypes, SystemRoot(root));
    std::fwrite(xml.constData(), 1, std::size_t(xml.size()), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
}
