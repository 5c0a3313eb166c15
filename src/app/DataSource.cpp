#include "DataSource.h"

#include "util/Cp932.h"
#include "util/OVUtil.h"

#include <QFile>

std::optional<QStringList> loadDataSourceItems(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const auto text = cp932::decode(file.readAll());
    if (!text)
        return std::nullopt;
    return text->split(QStringLiteral("\r\n"));
}

QString dataSourcePath(const QString &dataSourceFileName)
{
    return OVUtil::getDatFilePath() + dataSourceFileName + QStringLiteral(".TxT");
}
