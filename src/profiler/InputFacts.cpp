#include "Facts.h"

#include <QRegularExpression>

#include <algorithm>
#include <map>

namespace {

struct InputDevice
{
    QString name;
    QString bus;
    QString uniq;
    QString handlers;
    QString keys;
};

std::vector<InputDevice> inputDevices(const SystemRoot &root)
{
    std::vector<InputDevice> devices(1);
    for (const QString &line :
         QString::fromUtf8(root.read(QStringLiteral("/proc/bus/input/devices")).value_or(QByteArray()))
             .split(QLatin1Char('\n'))) {
        if (line.trimmed().isEmpty()) {
            if (!devices.back().name.isEmpty())
                devices.emplace_back();
            continue;
        }
        InputDevice &device = devices.back();
        if (line.startsWith(QLatin1String("I:")))
            device.bus = QRegularExpression(QStringLiteral("Bus=(\\w+)")).match(line).captured(1);
        else if (line.startsWith(QLatin1String("N: Name=")))
            device.name = line.mid(8).trimmed().remove(QLatin1Char('"'));
        else if (line.startsWith(QLatin1String("U: Uniq=")))
            device.uniq = line.mid(8).trimmed();
        else if (line.startsWith(QLatin1String("H: Handlers=")))
            device.handlers = line.mid(12);
        else if (line.startsWith(QLatin1String("B: KEY=")))
            device.keys = line.mid(7).trimmed();
    }
    if (devices.back().name.isEmpty())
        devices.pop_back();
    return devices;
}

// A keyboard has the letter keys: Q to P (16-25) and A to L (30-38), as udev decides it.
bool hasLetterKeys(const QString &keyBitmap)
{
    const QStringList words = keyBitmap.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (words.isEmpty())
        return false;
    const quint64 lowest = words.last().toULongLong(nullptr, 16); // the last word holds keys 0-63
    for (int key = 16; key <= 38; ++key) {
        if ((key <= 25 || key >= 30) && !(lowest >> key & 1))
            return false;
    }
    return true;
}

bool isKeyboard(const InputDevice &device)
{
    return device.handlers.contains(QLatin1String("kbd")) && hasLetterKeys(device.keys);
}

QString usbText(const SystemRoot &root, const QString &device, const char *file)
{
    return root.text(QStringLiteral("/sys/bus/usb/devices/%1/%2").arg(device, QLatin1String(file)));
}

// Whether one of the device's interfaces is a HID boot keyboard (class 03, protocol 01).
bool hasKeyboardInterface(const SystemRoot &root, const QString &device, const QStringList &all)
{
    for (const QString &entry : all) {
        if (entry.startsWith(device + QLatin1Char(':')) &&
            usbText(root, entry, "bInterfaceClass") == QLatin1String("03") &&
            usbText(root, entry, "bInterfaceProtocol") == QLatin1String("01"))
            return true;
    }
    return false;
}

// The device a USB device hangs on: "1-1.2" on "1-1", "1-1" on "usb1".
QString parentOf(const QString &device)
{
    const qsizetype dot = device.lastIndexOf(QLatin1Char('.'));
    if (dot > 0)
        return device.left(dot);
    return QStringLiteral("usb") + device.section(QLatin1Char('-'), 0, 0);
}

PValue::Dict usbDevice(const SystemRoot &root, const QString &device, const QStringList &all)
{
    QString name = usbText(root, device, "product");
    if (name.isEmpty())
        name = device;
    // The list finds keyboards by their name; a keyboard that does not say so in its name is marked.
    if (hasKeyboardInterface(root, device, all) &&
        !name.contains(QLatin1String("keyboard"), Qt::CaseInsensitive))
        name += QStringLiteral(" (Keyboard)");
    PValue::Dict dict{{QStringLiteral("_name"), name}};
    putText(dict, QStringLiteral("manufacturer"), usbText(root, device, "manufacturer"));
    putText(dict, QStringLiteral("vendor_id"), QStringLiteral("0x") + usbText(root, device, "idVendor"));
    putText(dict, QStringLiteral("product_id"), QStringLiteral("0x") + usbText(root, device, "idProduct"));
    putText(dict, QStringLiteral("serial_num"), usbText(root, device, "serial"));
    return dict;
}

} // namespace

PValue::List bluetoothItems(const SystemRoot &root)
{
    PValue::List titles;
    for (const InputDevice &device : inputDevices(root)) {
        if (device.bus.toInt(nullptr, 16) != 0x05) // BUS_BLUETOOTH
            continue;
        PValue::Dict properties{{QStringLiteral("device_type"),
                                 isKeyboard(device) ? QStringLiteral("Keyboard") : QStringLiteral("Other")},
                                {QStringLiteral("device_services"), QStringLiteral("HID")}};
        putText(properties, QStringLiteral("device_addr"), device.uniq);
        titles.push_back(PValue(PValue::Dict{{device.name, properties}}));
    }
    PValue::Dict item{{QStringLiteral("_name"), QStringLiteral("bluetooth")}};
    if (!titles.empty())
        item.emplace_back(QStringLiteral("device_title"), titles);
    return {PValue(item)};
}

PValue::List usbItems(const SystemRoot &root)
{
    const QStringList all = root.entries(QStringLiteral("/sys/bus/usb/devices"));
    std::map<QString, QStringList> children;
    for (const QString &device : all) {
        if (!device.contains(QLatin1Char(':')) && !device.startsWith(QLatin1String("usb")))
            children[parentOf(device)] << device;
    }
    // Built from the leaves up, so that no walk of the tree recurses.
    std::map<QString, PValue::Dict> built;
    QStringList order;
    for (const QString &device : all) {
        if (!device.contains(QLatin1Char(':')))
            order << device;
    }
    const auto depth = [](const QString &device) {
        return device.startsWith(QLatin1String("usb")) ? 0 : 1 + device.count(QLatin1Char('.'));
    };
    std::stable_sort(order.begin(), order.end(),
                     [&](const QString &a, const QString &b) { return depth(a) > depth(b); });
    for (const QString &device : order) {
        PValue::Dict dict = usbDevice(root, device, all);
        PValue::List below;
        for (const QString &child : children[device])
            below.push_back(PValue(built[child]));
        if (!below.empty() || device.startsWith(QLatin1String("usb")))
            dict.emplace_back(QStringLiteral("_items"), below);
        built[device] = dict;
    }
    PValue::List buses;
    for (const QString &device : all) {
        if (device.startsWith(QLatin1String("usb")))
            buses.push_back(PValue(built[device]));
    }
    return buses;
}
