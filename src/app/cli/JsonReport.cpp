#include "JsonReport.h"

#include "app/ResultText.h"
#include "inventory/DataTypes.h"

#include <QJsonArray>

namespace {

QJsonArray missingOf(const OVAppDelegate &delegate)
{
    QJsonArray missing;
    for (const MissingDataType &type : delegate.missingDataTypes())
        missing.append(QJsonObject{{QStringLiteral("dataType"), type.dataType},
                                   {QStringLiteral("name"), datatypes::displayNameOf(type.dataType)},
                                   {QStringLiteral("reason"), type.reason}});
    return missing;
}

QJsonValue deliveryReasonOf(const OVAppDelegate &delegate)
{
    for (const QString &problem : delegate.problems()) {
        if (problem.startsWith(kNotDelivered))
            return problem.mid(kNotDelivered.size());
    }
    return QJsonValue::Null;
}

// With the offset from UTC, so that runs from Macs in different zones compare.
QString isoTime(const QDateTime &time)
{
    return time.toOffsetFromUtc(time.offsetFromUtc()).toString(Qt::ISODate);
}

} // namespace

QJsonObject makeJsonReport(const JsonRun &run, const OVAppDelegate *delegate,
                           const std::optional<OVResultReport> &report)
{
    QJsonObject object{{QStringLiteral("result"), run.result},
                       {QStringLiteral("exitCode"), run.exitCode},
                       {QStringLiteral("started"), isoTime(run.started)},
                       {QStringLiteral("ended"), isoTime(run.ended)},
                       {QStringLiteral("elapsedSeconds"), double(run.started.msecsTo(run.ended)) / 1000.0},
                       {QStringLiteral("file"), QJsonValue::Null},
                       {QStringLiteral("missing"), QJsonArray()},
                       {QStringLiteral("deliveryReason"), QJsonValue::Null},
                       {QStringLiteral("errors"), QJsonArray::fromStringList(run.errors)}};
    if (!delegate)
        return object;
    if (report && report->saved)
        object[QStringLiteral("file")] = delegate->savePath();
    object[QStringLiteral("missing")] = missingOf(*delegate);
    object[QStringLiteral("deliveryReason")] = deliveryReasonOf(*delegate);
    QStringList problems = run.errors;
    for (const QString &problem : delegate->problems()) {
        if (!problem.startsWith(kNotDelivered))
            problems << problem;
    }
    object[QStringLiteral("errors")] = QJsonArray::fromStringList(problems);
    return object;
}
