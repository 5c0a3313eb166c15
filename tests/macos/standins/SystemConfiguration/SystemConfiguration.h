// Stand-in for the SystemConfiguration members Ovalith's Objective-C++ files call (see ../README.md).
#pragma once

#include <CoreFoundation/CoreFoundation.h>

typedef const struct __SCDynamicStore *SCDynamicStoreRef;

// https://developer.apple.com/documentation/systemconfiguration/scdynamicstorecopycomputername(_:_:)
extern "C" CFStringRef SCDynamicStoreCopyComputerName(SCDynamicStoreRef store,
                                                      CFStringEncoding *nameEncoding);
