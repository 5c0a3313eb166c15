#pragma once

#include <QString>

// The names of the file's columns and of the facts that are read back from a saved file (the overwrite
// check, the campaign report), in one place with the collectors that write them.
namespace recordnames {

inline const QString kHeader = QStringLiteral("Key,Group,Item,SubItem,Contents,Unit,Renewalday");
constexpr int kColumns = 7;

inline const QString kCreate = QStringLiteral("Create");
inline const QString kDateTime = QStringLiteral("DateTime");

inline const QString kLan = QStringLiteral("LAN");
inline const QString kMacAddress = QStringLiteral("MACアドレス");

} // namespace recordnames
