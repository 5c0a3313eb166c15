#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <optional>
#include <vector>

// A file in the collector's format read back: code page 932, CR LF, the header line, then one fact per
// line in seven columns, each line after the header led by the management number. The one reader of that
// format, beside its writer.
class OVInventoryFile
{
public:
    using Line = std::array<QString, 7>; // Key, Group, Item, SubItem, Contents, Unit, Renewalday

    // Reads and checks the file; a file that is not in the format has a problem and no lines.
    static OVInventoryFile read(const QString &path);
    static OVInventoryFile parse(const QByteArray &bytes);

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
