#include "ApplicationsPlist.h"

#include <QFile>

#include <array>

namespace {

constexpr std::array kNames{"Safari",        "Mail",           "プレビュー",   "テキストエディット",
                            "Xcode",         "Microsoft Word", "一太郎",       "Adobe Photoshop 2024",
                            "Google Chrome", "ファイル共有",   "Keynote",      "ATOK ユーティリティ",
                            "Zoom & Teams",  "VLC <media>",    "システム設定", "FileMaker Pro 19"};
constexpr std::array kFolders{"/Applications", "/Applications/Utilities", "/System/Applications",
                              "/Library/Application Support/Vendor", "/Users/yamada/Applications"};
constexpr std::array kOrigins{"apple", "identified_developer", "mac_app_store", "unknown"};

QByteArray escaped(QByteArray text)
{
    return text.replace("&", "&amp;").replace("<", "&lt;").replace(">", "&gt;");
}

QByteArray application(int i)
{
    const QByteArray name = escaped(QByteArray(kNames[i % kNames.size()]) + ' ' + QByteArray::number(i));
    const QByteArray version =
        QByteArray::number(i % 17) + '.' + QByteArray::number(i % 9) + '.' + QByteArray::number(i % 5);
    const QByteArray folder = kFolders[i % kFolders.size()];
    QByteArray entry = "\t\t\t<dict>\n\t\t\t\t<key>_name</key>\n\t\t\t\t<string>" + name + "</string>\n";
    entry += "\t\t\t\t<key>arch_kind</key>\n\t\t\t\t<string>arch_arm_i64</string>\n";
    entry += "\t\t\t\t<key>lastModified</key>\n\t\t\t\t<date>2024-0" + QByteArray::number(1 + i % 9) + "-1" +
             QByteArray::number(i % 10) + "T08:15:3" + QByteArray::number(i % 10) + "Z</date>\n";
    entry += QByteArray("\t\t\t\t<key>obtained_from</key>\n\t\t\t\t<string>") +
             kOrigins[i % kOrigins.size()] + "</string>\n";
    entry += "\t\t\t\t<key>path</key>\n\t\t\t\t<string>" + folder + '/' + name + ".app</string>\n";
    if (i % 3 != 0) {
        entry += "\t\t\t\t<key>signed_by</key>\n\t\t\t\t<array>\n\t\t\t\t\t<string>Developer ID Application: "
                 "Vendor " +
                 QByteArray::number(i % 97) +
                 " (ABCDE12345)</string>\n\t\t\t\t\t<string>Developer ID Certification "
                 "Authority</string>\n\t\t\t\t\t<string>Apple Root CA</string>\n\t\t\t\t</array>\n";
    }
    if (i % 11 != 0) // some applications carry no version, as real ones do
        entry += "\t\t\t\t<key>version</key>\n\t\t\t\t<string>" + version + "</string>\n";
    return entry + "\t\t\t</dict>\n";
}

} // namespace

bool writeApplicationsPlist(const QString &path, int count)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
        "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n<plist version=\"1.0\">\n<array>\n\t<dict>\n"
        "\t\t<key>_dataType</key>\n\t\t<string>SPApplicationsDataType</string>\n\t\t<key>_items</key>\n"
        "\t\t<array>\n");
    for (int i = 0; i < count; ++i)
        file.write(application(i));
    file.write(
        "\t\t</array>\n\t\t<key>_parentDataType</key>\n\t\t<string>SPSoftwareDataType</string>\n\t</dict>\n"
        "</array>\n</plist>\n");
    return file.error() == QFileDevice::NoError;
}
