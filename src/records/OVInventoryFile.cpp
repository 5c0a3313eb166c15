#include "OVInventoryFile.h"

#include "RecordNames.h"
#include "util/Cp932.h"

#include <QFile>

#include <algorithm>

namespace {

bool isAscii(QByteArrayView bytes)
{
    for (const char byte : bytes) {
        if (static_cast<unsigned char>(byte) >= 0x80)
            return false;
    }
    return true;
}

// Stops at the first byte that cannot be UTF-8, which in a file of code page 932 comes early.
bool isWellFormedUtf8(QByteArrayView bytes)
{
    const auto *data = reinterpret_cast<const unsigned char *>(bytes.data());
    const qsizetype size = bytes.size();
    for (qsizetype i = 0; i < size;) {
        const unsigned char lead = data[i];
        int following = -1; // the continuation bytes the lead byte announces
        if (lead < 0x80)
            following = 0;
        else if (lead >= 0xC2 && lead <= 0xDF)
            following = 1;
        else if (lead >= 0xE0 && lead <= 0xEF)
            following = 2;
        else if (lead >= 0xF0 && lead <= 0xF4)
            following = 3;
        if (following < 0 || i + following >= size)
            return false;
        for (int k = 1; k <= following; ++k) {
            if ((data[i + k] & 0xC0) != 0x80)
                return false;
        }
        i += following + 1;
    }
    return true;
}

// Japanese in UTF-8 often reads as code page 932 too, as nonsense; text that is whole UTF-8 is taken for
// what it is.
bool isUtf8Text(QByteArrayView bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return true;
    return !isAscii(bytes) && isWellFormedUtf8(bytes);
}

// Splits one line into its fields; the count is the number of fields there were, also past seven.
qsizetype splitFields(QByteArrayView line, OVInventoryFile::RawLine &fields)
{
    qsizetype count = 0;
    qsizetype from = 0;
    for (;;) {
        const qsizetype comma = line.indexOf(',', from);
        const qsizetype end = comma < 0 ? line.size() : comma;
        if (count < qsizetype(fields.size()))
            fields[count] = line.sliced(from, end - from);
        ++count;
        if (comma < 0)
            return count;
        from = comma + 1;
    }
}

QString decoded(QByteArrayView field)
{
    return cp932::decode(field).value_or(QString()); // the whole file was found valid before
}

} // namespace

QByteArray OVInventoryFile::readBytes(const QString &path, std::optional<QString> &problem)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        problem = QStringLiteral("読み込めません（%1）").arg(file.errorString());
        return QByteArray();
    }
    return file.readAll();
}

OVInventoryFile OVInventoryFile::read(const QString &path)
{
    std::optional<QString> problem;
    const QByteArray bytes = readBytes(path, problem);
    if (problem) {
        OVInventoryFile unreadable;
        unreadable.m_problem = problem;
        return unreadable;
    }
    return parse(bytes);
}

std::optional<QString> OVInventoryFile::scan(QByteArrayView bytes,
                                             const std::function<void(const RawLine &)> &visit)
{
    if (bytes.isEmpty())
        return QStringLiteral("空のファイルです");
    if (isUtf8Text(bytes))
        return QStringLiteral("UTF-8で書かれています（コードページ932ではありません）");
    if (!cp932::isValid(bytes))
        return QStringLiteral("コードページ932（Shift_JIS）として読めません");
    static const QByteArray header = recordnames::kHeader.toLatin1();
    QByteArrayView key;
    qsizetype number = 0;
    for (qsizetype from = 0; from < bytes.size();) {
        const qsizetype end = bytes.indexOf("\r\n", from);
        const QByteArrayView line = bytes.sliced(from, (end < 0 ? bytes.size() : end) - from);
        from = end < 0 ? bytes.size() : end + 2;
        if (++number == 1) {
            if (line != QByteArrayView(header))
                return QStringLiteral("インベントリのCSVファイルの見出し行がありません");
            continue;
        }
        RawLine fields;
        if (const qsizetype count = splitFields(line, fields); count != recordnames::kColumns)
            return QStringLiteral("%1行目の列の数が%2です（7列のはずです）").arg(number).arg(count);
        if (number == 2)
            key = fields[0];
        else if (fields[0] != key)
            return QStringLiteral("%1行目の管理番号が2行目と違います").arg(number);
        visit(fields);
    }
    if (key.isEmpty())
        return QStringLiteral("管理番号がありません");
    return std::nullopt;
}

OVInventoryFile OVInventoryFile::parse(QByteArrayView bytes)
{
    OVInventoryFile file;
    file.m_problem = scan(bytes, [&file](const RawLine &raw) {
        Line line;
        std::transform(raw.begin(), raw.end(), line.begin(), decoded);
        file.m_lines.push_back(std::move(line));
    });
    if (file.m_problem)
        file.m_lines.clear();
    else
        file.m_managementNumber = file.m_lines.front()[0];
    return file;
}

QStringList OVInventoryFile::contentsOf(const QString &group, const QString &subItem) const
{
    QStringList contents;
    for (const Line &line : m_lines) {
        if (line[1] == group && line[3] == subItem)
            contents.append(line[4]);
    }
    return contents;
}

QStringList OVInventoryFile::macAddresses() const
{
    QStringList addresses;
    for (const QString &address : contentsOf(recordnames::kLan, recordnames::kMacAddress)) {
        if (!address.isEmpty() && !addresses.contains(address, Qt::CaseInsensitive))
            addresses.append(address);
    }
    return addresses;
}
