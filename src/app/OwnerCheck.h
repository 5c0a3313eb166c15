#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// Whose a saved file is: the MAC addresses of the other Mac that wrote the file at `csvPath` ("不明" when
// the file is not in our format), absent when there is no such file, one of its MAC addresses is among
// `ourMacAddresses`, or it names none (nothing tells its Mac then). A stick goes from Mac to Mac: one
// mistyped number must not replace another asset's file unasked.
std::optional<QString> otherMachineOf(const QString &csvPath, const QStringList &ourMacAddresses);

// "この管理番号のファイルは別のMac（<MAC>）のものです。置き換えますか？"
QString replaceQuestion(const QString &otherMachine);
