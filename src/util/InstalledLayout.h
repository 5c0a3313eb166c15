#pragma once

#include <QString>

// An installed program lies in a system folder, so its own folder (SAVE/, DAT/) is
// ${XDG_DATA_HOME:-~/.local/share}/ovalith instead, for root too. It is made with its parents on first
// use and, when it has no DAT/ yet, given a copy of the sample lists installed beside the program in
// <executable's folder>/../share/ovalith/DAT. Answers the folder, also when it cannot be made.
QString installedProgramFolder(const QString &executableDirectory);
// The same folder's path, made or not: for --help, which must change nothing.
QString installedProgramFolderPath();
