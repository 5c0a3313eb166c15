#pragma once

#include "SystemRoot.h"

#include "PlistWriter.h"

#include <vector>

// A network interface with its addresses, from /sys/class/net and the kernel's address and route tables.
struct Interface
{
    QString name;
    QString serviceName;
    QString mac;
    int index = 0;
    PValue::List ipv4;
    PValue::List masks;
    QString router4;
    PValue::List ipv6;
    QString router6;
};

// The interfaces but the loopback, and virtual ones without an address.
std::vector<Interface> interfacesOf(const SystemRoot &root);
