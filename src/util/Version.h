#pragma once

#include <QString>

// The project's version, as the build sets it.
QString ovalithVersion();

// When the arguments hold "--version": prints "<program> <version>" on stdout and answers true. Asked
// before any QApplication exists, so it works without a display.
bool printVersionWhenAsked(int argc, char *argv[], const char *program);

// When the arguments hold "--help" or "-h": prints the text on stdout and answers true. Also asked before any
// QApplication, so it works without a display and starts nothing.
bool printHelpWhenAsked(int argc, char *argv[], const QString &help);
