#pragma once

#include <QString>

// The names of the file's columns and of the facts that are read back from a saved file (the overwrite
// check, the campaign report), in one place with the collectors that write them.
namespace recordnames {

inline const QString kHeader = QStringLiteral("Key,Group,Item,SubItem,Contents,Unit,Renewalday");
constexpr int kColumns = 7;

// One fact's place in a line: its group, item and sub-item columns.
struct Fact
{
    QString group;
    QString item;
    QString subItem;
};

inline const QString kCreate = QStringLiteral("Create");
inline const QString kDateTime = QStringLiteral("DateTime");
// The creation line's date and time, in its sub-item and contents columns.
inline const QString kCreateDateFormat = QStringLiteral("yyyy/MM/dd");
inline const QString kCreateTimeFormat = QStringLiteral("HH:mm:ss");

inline const QString kLan = QStringLiteral("LAN");
inline const QString kMacAddress = QStringLiteral("MACアドレス"); // under every adapter's own item
inline const Fact kComputerName{kLan, kLan, QStringLiteral("コンピュータ名")};

inline const Fact kProcessor{QStringLiteral("Hard"), QStringLiteral("CPU"), QStringLiteral("NameString")};
inline const Fact kMemory{QStringLiteral("Hard"), QStringLiteral("メモリ"), QStringLiteral("全容量")};
inline const Fact kSerialNumber{QStringLiteral("Soft"), QStringLiteral("OS"), QStringLiteral("ProductID")};
inline const Fact kModel{QStringLiteral("WMI"), QStringLiteral("System"), QStringLiteral("Model")};
inline const Fact kDiskSize{QStringLiteral("Hard"), QStringLiteral("Hard Disk"), QStringLiteral("合計量")};
inline const Fact kVolumeFree{QStringLiteral("Hard"), QStringLiteral("SystemHDD"), QStringLiteral("空容量")};
inline const Fact kVolumeSize{QStringLiteral("Hard"), QStringLiteral("SystemHDD"), QStringLiteral("全容量")};
inline const Fact kOSVersion{QStringLiteral("Soft"), QStringLiteral("OS"), QStringLiteral("Version")};

// An application's line: its name is the sub-item, its version the contents.
inline const QString kSoft = QStringLiteral("Soft");
inline const QString kApplication = QStringLiteral("Application");

inline const QString kAsset = QStringLiteral("資産");
inline const QString kManageInfo = QStringLiteral("管理情報");
inline const Fact kFamilyName{kAsset, kManageInfo, QStringLiteral("姓")};
inline const Fact kGivenName{kAsset, kManageInfo, QStringLiteral("名")};
inline const Fact kManagementNumber{kAsset, kManageInfo, QStringLiteral("管理番号")};

} // namespace recordnames
