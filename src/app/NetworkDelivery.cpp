#include "NetworkDelivery.h"

#include "process/OVExecuteCommand.h"
#include "util/OVUtil.h"
#include "util/ShellQuote.h"

#include <QFileInfo>

namespace {

// Copies under the temporary name, checks the size, moves it over the final name; a failed copy is
// removed and an earlier file of the final name stays.
const QString kStopped = QStringLiteral("中断されたため、送信をやめました");

bool place(OVShareSession &share, const DeliveryRequest &request, const QString &source,
           const QString &temporary, const QString &final, QString &reason)
{
    if (request.stopRequested()) {
        reason = kStopped;
        return false;
    }
    const QFileInfo local(source);
    bool placed = local.exists() && share.copyToShare(source, temporary);
    if (placed && share.sizeOf(temporary) != std::optional(local.size())) {
        reason = QStringLiteral("サーバーに書き込んだファイルの大きさが元のファイルと合いません");
        placed = false;
    }
    if (placed && request.stopRequested()) {
        reason = kStopped;
        placed = false;
    }
    placed = placed && share.rename(temporary, final);
    if (!placed && share.exists(temporary))
        share.remove(temporary);
    return placed;
}

bool deliver(OVShareSession &share, const DeliveryRequest &request, QString &reason)
{
    const QString temporary = makeTempDstName(request.macAddress, request.tempFileSuffix);
    if (!request.markerSource.isEmpty() &&
        !place(share, request, request.markerSource, temporary.chopped(4) + QStringLiteral(".txt"),
               request.markerName, reason))
        return false;
    if (!place(share, request, request.source, temporary, makeDstName(request.managementNumber), reason))
        return false;
    if (request.markerSource.isEmpty() && !request.markerName.isEmpty() && share.exists(request.markerName) &&
        !share.remove(request.markerName))
        return false;
    const QString companion = makeCompanionName(request.managementNumber);
    if (share.exists(companion))
        share.remove(companion);
    return true;
}

} // namespace

QString makeDstName(const QString &managementNumber)
{
    return managementNumber + QStringLiteral(".csv");
}

QString makeTempDstName(const QString &macAddress, const QString &tempFileSuffix)
{
    return QLatin1Char('.') + macAddress + tempFileSuffix + QStringLiteral(".csv");
}

QString makeCompanionName(const QString &managementNumber)
{
    return QStringLiteral("._") + managementNumber + QStringLiteral(".csv");
}

QString makeDstPath(const QString &managementNumber)
{
    return OVUtil::getMountPointPath() + QLatin1Char('/') + makeDstName(managementNumber);
}

QString makeTempDstPath(const QString &macAddress, const QString &tempFileSuffix)
{
    return OVUtil::getMountPointPath() + QLatin1Char('/') + makeTempDstName(macAddress, tempFileSuffix);
}

bool saveNetworkStorage(OVShareSession &share, const DeliveryRequest &request, QString *reason)
{
    QString own;
    bool delivered = share.mount();
    if (delivered) {
        delivered = request.endRequested() || deliver(share, request, own);
        share.unmount();
    }
    if (!delivered && reason) {
        *reason = !own.isEmpty()                 ? own
                  : !share.lastError().isEmpty() ? share.lastError()
                                                 : QStringLiteral("サーバーへの書き込みに失敗しました");
    }
    return delivered;
}

std::optional<QString> getMountPoint(const ShareSettings &settings)
{
    const QString wanted = OVUtil::makeMountDriveUrl(settings).toLower();
    QString match;
    for (const QString &share : OVUtil::getMountedDrive()) {
        if (share.toLower() == wanted) {
            match = share.toLower();
            break;
        }
    }
    if (match.isEmpty())
        return std::nullopt;
    const QString hostField = match.section(QLatin1Char('/'), 2, 2);
    const QString address = hostField.mid(hostField.indexOf(QLatin1Char('@')) + 1);
    const QString name = OVExecuteCommand::trimmedOutputOf(
        QStringLiteral("nmblookup -A %1 | grep \"<00>\" | grep -v \"<GROUP>\" | awk '{print $1}'")
            .arg(shellQuote(address)));
    if (!address.isEmpty())
        match.replace(address, name);
    return OVExecuteCommand::trimmedOutputOf(
        QStringLiteral("mount | grep -i %1 | awk '{ print $3 }'").arg(shellQuote(match)));
}
