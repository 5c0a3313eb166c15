#include "ManagementList.h"

#include "app/InputCheck.h"
#include "util/Cp932.h"
#include "util/Utf8.h"

#include <QFile>
#include <QRegularExpression>

namespace {

std::optional<QString> textOf(const QByteArray &bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(bytes.mid(3));
    if (auto text = cp932::decode(bytes))
        return text;
    return utf8::decode(bytes);
}

} // namespace

std::optional<QStringList> readManagementList(const QString &path, QString &error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("管理番号の一覧を読めません：%1（%2）").arg(path, file.errorString());
        return std::nullopt;
    }
    const std::optional<QString> text = textOf(file.readAll());
    if (!text) {
        error = QStringLiteral("管理番号の一覧がコードページ932でもUTF-8でもありません：%1").arg(path);
        return std::nullopt;
    }
    static const QRegularExpression lineEnd(QStringLiteral("\r\n|\n|\r"));
    QStringList numbers;
    for (const QString &line : text->split(lineEnd)) {
        if (const QString number = normalizedControlNumber(line); !number.isEmpty())
            numbers << number;
    }
    return numbers;
}
