#include "IncompleteMarker.h"

#include "inventory/DataTypes.h"
#include "util/Cp932.h"
#include "util/OVUtil.h"

QString makeMarkerName(const QString &managementNumber)
{
    return managementNumber + kMarkerSuffix;
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

namespace {

const QString kMissingHeading = QStringLiteral("収集できなかった情報：");
const QString kIndent = QStringLiteral("　");

} // namespace

QString makeIncompleteText(const IncompleteRun &run)
{
    QStringList lines{
        QStringLiteral("管理番号%1のファイルは、一部の情報を収集できないまま保存されました。")
            .arg(run.managementNumber),
        QStringLiteral("日時：%1").arg(run.dateTime),
        QStringLiteral("コンピュータ名：%1").arg(run.computerName),
        QStringLiteral("MACアドレス：%1").arg(run.machineKey),
        kMissingHeading,
    };
    for (const QString &line : describeMissing(run.missing))
        lines << kIndent + line;
    lines << QStringLiteral(
        "このMacでもう一度収集してください。完全に収集できると、このファイルは削除されます。");
    return lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
}

QStringList missingLinesOfNote(const QByteArray &noteBytes)
{
    const QStringList lines = cp932::decode(noteBytes).value_or(QString()).split(QStringLiteral("\r\n"));
    QStringList missing;
    for (qsizetype i = lines.indexOf(kMissingHeading) + 1; i > 0 && i < lines.size(); ++i) {
        if (!lines[i].startsWith(kIndent))
            break;
        missing << lines[i].mid(kIndent.size());
    }
    return missing;
}

QString dataTypeNameOfLine(const QString &missingLine)
{
    return missingLine.left(missingLine.indexOf(QStringLiteral("（")));
}
