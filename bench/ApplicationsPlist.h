#pragma once

#include <QString>

// Writes an SPApplicationsDataType property list of `count` applications shaped like macOS 14's output
// (names with Japanese ones among them, versions, paths, signatures, dates): about 500 bytes each.
bool writeApplicationsPlist(const QString &path, int count);
