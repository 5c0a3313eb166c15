#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

// Code page 932 as Windows writes it, from the table frozen out of glibc.
namespace cp932 {

// NFC first (macOS hands out decomposed names), then one "?" for every code point the table lacks. The
// few characters of the table that NFC would turn into ones it lacks are written as they are.
QByteArray encode(const QString &text);

// Absent when the bytes hold a sequence that code page 932 does not define.
std::optional<QString> decode(QByteArrayView bytes);
// Whether decode() would succeed, without making the text.
bool isValid(QByteArrayView bytes);

} // namespace cp932
