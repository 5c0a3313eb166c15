#pragma once

#include <QString>

// SAVE/<management number>.csv
QString makeSrcPath(const QString &managementNumber);
// SAVE/.<management number><suffix>.csv, hidden while it exists.
QString makeTempSrcPath(const QString &managementNumber, const QString &tempFileSuffix);

// Moves the written temporary file over the final name in one step, so an older file is replaced whole or
// not at all. On failure the older file stays, and so does the temporary file, for the caller to deliver
// from and remove.
[[nodiscard]] bool replaceWithTemporary(const QString &tempPath, const QString &finalPath);
