#include "OVInventoryFile.h"

#include "RecordNames.h"
#include "util/Cp932.h"

#include <QFile>
#include <QStringDecoder>

namespace {

bool isAscii(const QByteArray &bytes)
{
    for (const char byte : bytes) {
        if (static_cast<unsigned char>(byte) >= 0x80)
            return false;
    }
    return true;
}

// Japanese in UTF-8 often reads as code page 932 too, as nonsense; text that is whole UTF-8 is taken for
// what it is.
bool isUtf8Text(const QByteArray &bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return true;
    if (isAscii(bytes))
        return false;
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(bytes); // the decoding happens only when its result is taken
    return !decoder.hasError();
}

} // namespace

OVInventoryFile OVInventoryFile::read(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        OVInventoryFile unreadable;
        unreadable.m_problem = QStringLiteral("読み込めません（%1）").arg(file.errorString());
        return unreadable;
    }
    return parse(file.readAll());
}

OVInventoryFile OVInventoryFile::parse(const QByteArray &bytes)
{
    OVInventoryFile file;
    const auto fail = [&file](const QString &problem) {
        file.m_problem = problem;
        file.m_lines.clear();
        file.m_managementNumber.clear();
        return file;
    };
    if (bytes.isEmpty())
        return fail(QStringLiteral("空のファイルです"));
    if (isUtf8Text(bytes))
        return fail(QStringLiteral("UTF-8で書かれています（コードページ932ではありません）"));
    const auto text = cp932::decode(bytes);
    if (!text)
        return fail(QStringLiteral("コードページ932（Shift_JIS）として読めません"));
    QStringList lines = text->split(QStringLiteral("\r\n"));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    if (lines.value(0) != recordnames::kHeader)
        return fail(QStringLiteral("インベントリのCSVファイルの見出し行がありません"));
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QStringList fields = lines.at(i).split(QLatin1Char(','));
        if (fields.size() != recordnames::kColumns)
            return fail(
                QStringLiteral("%1行目の列の数が%2です（7列のはずです）").arg(i + 1).arg(fields.size()));
        if (i == 1)
            file.m_managementNumber = fields.at(0);
        else if (fields.at(0) != file.m_managementNumber)
            return fail(QStringLiteral("%1行目の管理番号が2行目と違います").arg(i + 1));
        Line line;
        std::copy(fields.begin(), fields.end(), line.begin());
        file.m_lines.push_back(std::move(line));
    }
    if (file.m_managementNumber.isEmpty())
        return fail(QStringLiteral("管理番号がありません"));
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
