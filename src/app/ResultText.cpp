#include "ResultText.h"

#include "inventory/DataTypes.h"

#include <QStringList>

const QString kInventoryCollection = QStringLiteral("インベントリ収集");
const QString kDataCollectionEnded = QStringLiteral("データ収集が終了しました。");
const QString kDataCollectionFailed = QStringLiteral("データ収集失敗しました。");
const QString kSendingToServer = QStringLiteral("サーバーへ送信中...");
const QString kNotDelivered = QStringLiteral("サーバーへ送信できませんでした：");

QString localResultText(int saveResult, const QString &savePath)
{
    // Only the local bit counts here: an end requested meanwhile on another thread must not turn a
    // completed save into a failure.
    if (saveResult & 1)
        return kDataCollectionFailed;
    return QStringLiteral(
               "データ収集を完了しました。\n「%1」\n上記ファイルを指定された場所へ送付してください。\n"
               "保存先フォルダを開きます。")
        .arg(savePath);
}

std::optional<QString> networkResultWindow(int saveResult)
{
    if (saveResult == 0)
        return QStringLiteral("AllOK");
    switch (saveResult & 3) {
    case 3:
        return QStringLiteral("AllNG");
    case 2:
        return QStringLiteral("NetworkNG");
    case 1:
        return QStringLiteral("LocalNG");
    default:
        return std::nullopt;
    }
}

QString incompleteNote(const std::vector<MissingDataType> &missing)
{
    if (missing.empty())
        return QString();
    QStringList dataTypes;
    for (const MissingDataType &type : missing)
        dataTypes << datatypes::displayNameOf(type.dataType);
    return QStringLiteral("一部の情報を収集できませんでした：") + dataTypes.join(QStringLiteral("、"));
}
