#pragma once

#include <QByteArray>
#include <QString>

#include <utility>
#include <variant>
#include <vector>

// A property-list value as system_profiler writes them: text, integer, boolean, list, dictionary.
struct PValue
{
    using List = std::vector<PValue>;
    using Dict = std::vector<std::pair<QString, PValue>>; // written sorted by key, as macOS writes them

    std::variant<QString, qint64, bool, List, Dict> value;

    PValue(QString text = QString()) : value(std::move(text)) {}
    PValue(const char *text) : value(QString::fromUtf8(text)) {}
    PValue(qint64 number) : value(number) {}
    PValue(int number) : value(qint64(number)) {}
    PValue(bool flag) : value(flag) {}
    PValue(List list) : value(std::move(list)) {}
    PValue(Dict dict) : value(std::move(dict)) {}
};

// Adds the key only when the text is not empty: an unknown fact is left out, not written empty.
void putText(PValue::Dict &dict, const QString &key, const QString &text);

// The XML property list: a root array of one dictionary per data type.
QByteArray toXmlPlist(const PValue::List &root);
