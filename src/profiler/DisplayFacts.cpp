#include "Facts.h"

#include <QFileInfo>

#include <algorithm>
#include <climits>

namespace {

// A card's connectors in the kernel's order (connector_id where the kernel tells it, else by name).
QStringList connectorsOf(const SystemRoot &root, const QString &card, const QStringList &entries)
{
    QStringList connectors;
    for (const QString &entry : entries) {
        if (entry.startsWith(card + QLatin1Char('-')))
            connectors << entry;
    }
    const auto id = [&](const QString &connector) {
        bool ok = false;
        const int value =
            root.text(QStringLiteral("/sys/class/drm/%1/connector_id").arg(connector)).toInt(&ok);
        return ok ? value : INT_MAX;
    };
    std::stable_sort(connectors.begin(), connectors.end(),
                     [&](const QString &a, const QString &b) { return id(a) < id(b); });
    return connectors;
}

} // namespace

// Graphics cards and their connected screens from the kernel's DRM connectors.
PValue::List displayItems(const SystemRoot &root)
{
    PValue::List adapters;
    const QStringList entries = root.entries(QStringLiteral("/sys/class/drm"));
    for (const QString &card : entries) {
        if (!card.startsWith(QLatin1String("card")) || card.contains(QLatin1Char('-')))
            continue;
        PValue::List displays;
        for (const QString &connector : connectorsOf(root, card, entries)) {
            const QString sys = QStringLiteral("/sys/class/drm/") + connector;
            if (root.text(sys + QStringLiteral("/status")) != QLatin1String("connected"))
                continue;
            PValue::Dict display{{QStringLiteral("_name"), connector.mid(card.size() + 1)},
                                 {QStringLiteral("spdisplays_online"), QStringLiteral("spdisplays_yes")}};
            // The first mode is the screen's preferred one: "1920x1080" is written "1920 x 1080".
            const QString mode = root.lines(sys + QStringLiteral("/modes")).value(0).trimmed();
            putText(display, QStringLiteral("spdisplays_resolution"),
                    QString(mode).replace(QLatin1Char('x'), QStringLiteral(" x ")));
            displays.push_back(PValue(display));
        }
        const QString driver =
            QFileInfo(QFileInfo(root.path(QStringLiteral("/sys/class/drm/%1/device/driver").arg(card)))
                          .symLinkTarget())
                .fileName();
        const QString adapterName =
            driver.isEmpty() ? card : card + QStringLiteral(" (") + driver + QLatin1Char(')');
        PValue::Dict adapter{{QStringLiteral("_name"), adapterName}};
        putText(adapter, QStringLiteral("sppci_model"), driver);
        if (!displays.empty())
            adapter.emplace_back(QStringLiteral("spdisplays_ndrvs"), displays);
        adapters.push_back(PValue(adapter));
    }
    return adapters;
}
