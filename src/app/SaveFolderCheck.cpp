#include "SaveFolderCheck.h"

#include "util/OVUtil.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

const QString kTranslocatedAdvice = QStringLiteral(
    "このプログラムは、macOSがダウンロードしたアプリを隔離する読み取り専用の場所から起動されたため、"
    "DATフォルダを読めず、SAVEフォルダに保存できません。\n"
    "ターミナルで「xattr -dr com.apple.quarantine」に続けて展開したovalithフォルダを指定して実行"
    "（例：xattr -dr com.apple.quarantine ~/Downloads/ovalith）するか、Finderでovalith.appを"
    "別のフォルダへ移動してから、起動し直してください。");

namespace {

QString cannotWrite(const QString &folder, int error)
{
    return QStringLiteral("保存先フォルダに書き込めません：%1（%2）")
        .arg(QDir::toNativeSeparators(folder), QString::fromLocal8Bit(std::strerror(error)));
}

// A file of this process's own, written and removed again: the one test that answers for modes, ACLs,
// read-only mounts and full disks alike.
int probeWrite(const QString &folder)
{
    const QByteArray probe = QFile::encodeName(
        folder + QStringLiteral(".ovalith-probe_%1").arg(QCoreApplication::applicationPid()));
    const int fd = ::open(probe.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (fd < 0)
        return errno;
    const bool written = ::write(fd, "\r\n", 2) == 2;
    const int error = written ? 0 : errno;
    ::close(fd);
    ::unlink(probe.constData());
    return error;
}

// Makes the folder and any parent it lacks; answers errno of the first one that could not be made.
int makePath(const QString &folder)
{
    const QStringList parts = QDir::cleanPath(folder).split(QLatin1Char('/'));
    QString path;
    for (const QString &part : parts) {
        path += part + QLatin1Char('/');
        if (part.isEmpty() || QDir(path).exists())
            continue;
        if (::mkdir(QFile::encodeName(path).constData(), 0777) != 0 && errno != EEXIST)
            return errno;
    }
    return 0;
}

} // namespace

bool isTranslocated(const QString &programFolder)
{
    return programFolder.contains(QLatin1String("/AppTranslocation/"));
}

std::optional<QString> saveFolderProblem()
{
    if (isTranslocated(OVUtil::getCurrentDirectory()))
        return kTranslocatedAdvice;
    const QString folder = OVUtil::getSaveFilePath();
    if (const int error = makePath(folder))
        return cannotWrite(folder, error);
    if (const int error = probeWrite(folder))
        return cannotWrite(folder, error);
    return std::nullopt;
}
