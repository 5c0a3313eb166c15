#include "OwnerCheck.h"

#include "records/OVInventoryFile.h"

#include <QFileInfo>

std::optional<QString> otherMachineOf(const QString &csvPath, const QStringList &ourMacAddresses)
{
    // What is no file (a folder in its place) is not replaced anyway: the save fails and says so.
    if (!QFileInfo(csvPath).isFile())
        return std::nullopt;
    const OVInventoryFile file = OVInventoryFile::read(csvPath);
    if (file.problem()) // not a file of ours at all: whatever it is, it is not this Mac's to replace unasked
        return QStringLiteral("不明");
    const QStringList theirs = file.macAddresses();
    for (const QString &address : theirs) {
        if (ourMacAddresses.contains(address, Qt::CaseInsensitive))
            return std::nullopt;
    }
    // A Mac whose report names no MAC address leaves nothing to tell it by; it replaces its file as ever.
    if (theirs.isEmpty())
        return std::nullopt;
    return theirs.join(QStringLiteral("、"));
}

QString replaceQuestion(const QString &otherMachine)
{
    return QStringLiteral("この管理番号のファイルは別のMac（%1）のものです。置き換えますか？")
        .arg(otherMachine);
}
