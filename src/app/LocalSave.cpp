#include "LocalSave.h"

#include "util/OVUtil.h"

#include <QFile>

#include <cstdio>

QString makeSrcPath(const QString &managementNumber)
{
    return OVUtil::getCurrentDirectory() + QStringLiteral("/SAVE/") + managementNumber +
           QStringLiteral(".csv");
}

QString makeTempSrcPath(const QString &managementNumber, const QString &tempFileSuffix)
{
    return OVUtil::getCurrentDirectory() + QStringLiteral("/SAVE/.") + managementNumber + tempFileSuffix +
           QStringLiteral(".csv");
}

bool replaceWithTemporary(const QString &tempPath, const QString &finalPath)
{
    // rename(2) replaces the target atomically; QFile::rename would refuse an existing target.
    return std::rename(QFile::encodeName(tempPath).constData(), QFile::encodeName(finalPath).constData()) ==
           0;
}
