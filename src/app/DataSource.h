#pragma once

#include <QStringList>

#include <optional>

// The items of a combo box's data-source file: code page 932, every piece between CR LF pairs an item,
// empty pieces included; a lone LF or CR stays inside its item. Absent when the file is missing or holds
// bytes that code page 932 does not define.
std::optional<QStringList> loadDataSourceItems(const QString &path);

// DAT/<name>.TxT in the program's folder.
QString dataSourcePath(const QString &dataSourceFileName);
