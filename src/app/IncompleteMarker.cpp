#include "IncompleteMarker.h"

#include "inventory/DataTypes.h"
#include "util/OVUtil.h"

QString makeMarkerName(const QString &managementNumber)
{
    return managementNumber + QStringLiteral(".incomplete.txt");
}

QString makeMarkerPath(const QString &managementNumber)
{
    return OVUtil::getSaveFilePath() + makeMarkerName(managementNumber);
}

QStringList describeMissing(const std::vector<MissingDataType> &missing)
{
    QStringList lines;
    for (const MissingDataType &type : missing)
        lines << QStringLiteral("%1（%2）：%3")
                     .arg(datatypes::displayNameOf(type.dataType), type.dataType, type.reason);
    return lines;
}

QString makeIncompleteText(const IncompleteRun &run)
{
    QStringList lines{
        QStringLiteral("管理番号%1のファイルは、一部の情報を収集できないまま保存されました。")
            .arg(run.managementNumber),
        QStringLiteral("日時：%1").arg(run.dateTime),
        QStringLiteral("コンピュータ名：%1").arg(run.computerName),
        QStringLiteral("MACアドレス：%1").arg(run.machineKey),
        QStringLiteral("収集できなかった情報："),
    };
    for (const QString &line : describeMissing(run.missing))
        lines << QStringLiteral("　") + line;
    lines << QStringLiteral(
        "このMacでもう一度収集してください。完全に収集できると、このファイルは削除されます。");
    return lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
}
