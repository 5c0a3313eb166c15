#include "OVUtil.h"

#include "Cp932.h"
#include "InstalledLayout.h"
#include "OVBuildProfile.h"
#include "Utf8.h"
#include "platform/Platform.h"
#include "process/OVExecuteCommand.h"

#include <QDir>
#include <QFileInfo>
#include <QMutex>
#include <QSaveFile>

namespace {

QMutex g_settingsMutex;
QString g_currentDirectory;
std::function<QDateTime()> g_clock;

bool isUrlSafe(char c, OVBuildProfile::UrlEncodeRule rule)
{
    const bool unreserved = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                            c == '-' || c == '.' || c == '_' || c == '~';
    if (unreserved || c == ':' || c == '@' || c == '/')
        return true;
    if (rule == OVBuildProfile::UrlEncodeRule::EscapeDelimiters)
        return false;
    return QByteArrayView("!$&'()*+,;=?").contains(c);
}

int hexValue(char u)
{
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    return -1;
}

} // namespace

QStringList OVUtil::getMacAddress()
{
    OVExecuteCommand command(QStringLiteral("ifconfig | grep ether | awk '{ print $2 }'"));
    command.executeCommand();
    QString text = command.standardOutput().value_or(QString()).toUpper();
    text.replace(QLatin1Char(':'), QLatin1Char('-'));
    return text.split(QLatin1Char('\n'));
}

QString OVUtil::getNowString(const QString &pattern)
{
    QDateTime now;
    {
        QMutexLocker lock(&g_settingsMutex);
        now = g_clock ? g_clock() : QDateTime::currentDateTime();
    }
    return now.toString(pattern);
}

QString OVUtil::getCurrentDirectory()
{
    QMutexLocker lock(&g_settingsMutex);
    if (!g_currentDirectory.isEmpty())
        return g_currentDirectory;
#ifdef OVALITH_INSTALLED_LAYOUT
    // Made once, on first use; an installed program's own folder is a system folder.
    static const QString installed = installedProgramFolder(platform::applicationDirectory());
    return installed;
#else
    return platform::applicationDirectory();
#endif
}

QString OVUtil::describeDefaultDirectory()
{
#ifdef OVALITH_INSTALLED_LAYOUT
    // As it holds for every user: the manual page is made from this text.
    return QStringLiteral("${XDG_DATA_HOME:-~/.local/share}/ovalith");
#else
    return platform::applicationDirectory();
#endif
}

QString OVUtil::getSaveFilePath()
{
    return getCurrentDirectory() + QStringLiteral("/SAVE/");
}

QString OVUtil::getDatFilePath()
{
    return getCurrentDirectory() + QStringLiteral("/DAT/");
}

void OVUtil::createSaveFilePath()
{
    QDir().mkdir(getSaveFilePath());
}

std::optional<QString> OVUtil::getComputerName()
{
    return platform::computerName();
}

bool OVUtil::outputFile(const QString &text, const QString &filePath)
{
    QSaveFile file(filePath);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray bytes = cp932::encode(text);
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

QString OVUtil::urlEncode(const QString &text)
{
    const auto rule = OVBuildProfile::current().urlEncodeRule;
    QString out;
    for (const char byte : text.toUtf8()) {
        if (isUrlSafe(byte, rule))
            out.append(QLatin1Char(byte));
        else
            out.append(QStringLiteral("%%1")
                           .arg(static_cast<unsigned char>(byte), 2, 16, QLatin1Char('0'))
                           .toUpper());
    }
    return out;
}

std::optional<QString> OVUtil::urlDecode(const QString &text)
{
    // Escapes and hex digits are ASCII, so they survive the trip to UTF-8 unchanged.
    const QByteArray input = text.toUtf8();
    QByteArray bytes;
    bytes.reserve(input.size());
    for (qsizetype i = 0; i < input.size(); ++i) {
        if (input.at(i) != '%') {
            bytes.append(input.at(i));
            continue;
        }
        const int high = i + 2 < input.size() ? hexValue(input.at(i + 1)) : -1;
        const int low = high >= 0 ? hexValue(input.at(i + 2)) : -1;
        if (low < 0)
            return std::nullopt;
        bytes.append(static_cast<char>(high * 16 + low));
        i += 2;
    }
    return utf8::decode(bytes);
}

void OVUtil::setCurrentDirectory(const QString &directory)
{
    QMutexLocker lock(&g_settingsMutex);
    g_currentDirectory =
        directory.isEmpty() ? QString() : QDir::cleanPath(QFileInfo(directory).absoluteFilePath());
}

void OVUtil::setClock(std::function<QDateTime()> clock)
{
    QMutexLocker lock(&g_settingsMutex);
    g_clock = std::move(clock);
}
