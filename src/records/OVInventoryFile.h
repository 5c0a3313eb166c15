#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <optional>
#include <vector>

// A file in the collector's format read back: code page 932, CR LF, the header line, then one fact per
// line in seven columns, each line after the header led by the management number. The one reader of that
// format, beside its writer.
class OVInventoryFile
{
public:
    using Line = std::array<QString, 7>; // Key, Group, Item, SubItem, Contents, Unit, Renewalday
    // A line's fields still in code page 932: no field holds a comma, CR or LF, and none of those bytes is
    // ever the second byte of a Japanese character, so lines and fields are found in the bytes themselves.
    using RawLine = std::array<QByteArrayView, 7>;

    // Reads and checks the file; a file that is not in the format has a problem and no lines.
    static OVInventoryFile read(const QString &path);
    static OVInventoryFile parse(QByteArrayView bytes);
    // The file's bytes; empty with the problem set when it cannot be read.
    static QByteArray readBytes(const QString &path, std::optional<QString> &problem);
    // The one reading of the format: checks it and hands every line after the header to `visit`, in
    // order, without decoding anything. Returns why the file is not one of ours; lines handed over before
    // a fault further down then count for nothing.
    static std::optional<QString> scan(QByteArrayView bytes,
                                       const std::function<void(const RawLine &)> &visit);

    // Why the file is not one of ours, in the user's words; absent when it is.
    const std::optional<QString> &problem() const { return m_problem; }
    const QString &managementNumber() const { return m_managementNumber; }
    // Every line after the header.
    const std::vector<Line> &lines() const { return m_lines; }
    // The contents of every line with this group and sub-item, in file order.
    QStringList contentsOf(const QString &group, const QString &subItem) const;
    // The MAC addresses of the machine that wrote it, as its network lines name them.
    QStringList macAddresses() const;

private:
    std::optional<QString> m_problem;
    QString m_managementNumber;
    std::vector<Line> m_lines;
};
