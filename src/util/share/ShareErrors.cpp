#include "ShareErrors.h"

#include <cerrno>
#include <cstring>

namespace {

QString where(const ShareSettings &settings)
{
    return settings.server;
}

} // namespace

QString describeShareError(int error, const ShareSettings &settings)
{
    switch (error) {
    case ECONNREFUSED:
        return QStringLiteral(
                   "サーバー%1が接続を拒否しました（ファイル共有が動いていないか、ポートが違います）")
            .arg(where(settings));
    case ETIMEDOUT:
        return QStringLiteral("サーバー%1が時間内に応答しません").arg(where(settings));
    case ENETUNREACH:
    case EHOSTUNREACH:
        return QStringLiteral("サーバー%1へのネットワークの経路がありません").arg(where(settings));
    case EACCES:
    case EPERM:
        return QStringLiteral(
                   "共有%"
                   "1へのアクセスが拒否されました（ユーザー名とパスワード、共有の書き込み権限を確認してく"
                   "ださい）")
            .arg(settings.share);
    case ENOENT:
    case ENODEV:
        return QStringLiteral("共有%1がサーバー%2にありません").arg(settings.share, where(settings));
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("サーバー%1のディスクに空きがありません").arg(where(settings));
    case EEXIST:
    case EISDIR:
    case ENOTEMPTY:
        return QStringLiteral("共有%1に同じ名前のフォルダなどがあり、ファイルを置き換えられません")
            .arg(settings.share);
    default:
        return QStringLiteral("サーバー%1とのやり取りに失敗しました（%2）")
            .arg(where(settings), QString::fromLocal8Bit(std::strerror(error)));
    }
}

QString describeLogonError(int error, const ShareSettings &settings)
{
    const bool refused =
        error == EPERM || error == EACCES || error == EINVAL || error == ECONNRESET || error == ECONNABORTED;
    if (!refused)
        return describeShareError(error, settings);
    if (!settings.hasAccount())
        return QStringLiteral(
                   "サーバー%"
                   "1がゲストでの接続を受け付けません（今日のWindowsサーバーはゲストを受け付けません。"
                   "DAT/delivery.ini にアカウントを設定してください）")
            .arg(where(settings));
    return QStringLiteral(
               "サーバー%1にアカウント%2でログオンできないか、共有%3の利用が許されていません（パスワード、"
               "アカウントのロックや無効、共有の権限を確認してください）")
        .arg(where(settings), settings.user, settings.share);
}

QString describeNameNotFound(const ShareSettings &settings)
{
    return QStringLiteral("サーバー名%1が見つかりません").arg(settings.host());
}

QString describeNameTimedOut(const ShareSettings &settings, int seconds)
{
    return QStringLiteral("サーバー名%1の問い合わせが%2秒以内に終わりません（DNSサーバーが応答しません）")
        .arg(settings.host())
        .arg(seconds);
}

QString describeConnectTimedOut(const ShareSettings &settings, int seconds)
{
    return QStringLiteral("サーバー%1に%2秒以内に接続できません").arg(where(settings)).arg(seconds);
}

QString describeNoEncryption(const ShareSettings &settings)
{
    return QStringLiteral("サーバー%1が暗号化されたSMB "
                          "3の接続に応じないため、送信しませんでした（暗号化なしで送ることはしませ"
                          "ん。署名だけでよいときは DAT/delivery.ini に security=sign と書いてください）")
        .arg(settings.server);
}
