// Stand-in for the few CoreFoundation declarations Ovalith's Objective-C++ files use (see ../README.md).
#pragma once

typedef const void *CFTypeRef;
typedef const struct __CFString *CFStringRef;
typedef unsigned int CFStringEncoding;

// https://developer.apple.com/documentation/corefoundation/cfrelease(_:)
extern "C" void CFRelease(CFTypeRef cf);
