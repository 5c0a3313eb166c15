#include "Version.h"

#include <cstdio>
#include <cstring>

#ifndef OVALITH_VERSION
#define OVALITH_VERSION "0"
#endif

QString ovalithVersion()
{
    return QStringLiteral(OVALITH_VERSION);
}

bool printVersionWhenAsked(int argc, char *argv[], const char *program)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("%s %s\n", program, OVALITH_VERSION);
            return true;
        }
    }
    return false;
}

bool printHelpWhenAsked(int argc, char *argv[], const QString &help)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(help.toUtf8().constData(), stdout);
            return true;
        }
    }
    return false;
}
