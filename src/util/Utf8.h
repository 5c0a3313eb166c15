#pragma once

#include <QByteArrayView>
#include <QString>

#include <optional>

namespace utf8 {

// Absent when the bytes are not UTF-8 throughout: a byte that Qt would quietly turn into U+FFFD means the
// text is something else, and its reader must say so rather than show replacement characters.
std::optional<QString> decode(QByteArrayView bytes);

} // namespace utf8
