// Stand-in for the few CoreFoundation declarations Ovalith's Objective-C++ files use (see ../README.md).
#pragma once

typedef const void *CFTypeRef;
typedef const struct __CFString *CFStringRef;
typedef unsigned int CFStringEncoding;
typedef unsigned char Boolean;
typedef long CFIndex;
typedef const struct __CFAllocator *CFAllocatorRef;
typedef const struct __CFURL *CFURLRef;
typedef const struct __CFArray *CFArrayRef;
typedef struct __CFDictionary *CFMutableDictionaryRef;
typedef const struct __CFBoolean *CFBooleanRef;
typedef const struct __CFNumber *CFNumberRef;
typedef struct CFDictionaryKeyCallBacks CFDictionaryKeyCallBacks;
typedef struct CFDictionaryValueCallBacks CFDictionaryValueCallBacks;

extern "C" {

// https://developer.apple.com/documentation/corefoundation/cfrelease(_:)
void CFRelease(CFTypeRef cf);
// https://developer.apple.com/documentation/corefoundation/kcfallocatordefault
extern const CFAllocatorRef kCFAllocatorDefault;
// https://developer.apple.com/documentation/corefoundation/cfurlcreatewithstring(_:_:_:)
CFURLRef CFURLCreateWithString(CFAllocatorRef allocator, CFStringRef URLString, CFURLRef baseURL);
// https://developer.apple.com/documentation/corefoundation/cfurlpathstyle
typedef CFIndex CFURLPathStyle;
enum { kCFURLPOSIXPathStyle = 0 };
// https://developer.apple.com/documentation/corefoundation/cfurlcreatewithfilesystempath(_:_:_:_:)
CFURLRef CFURLCreateWithFileSystemPath(CFAllocatorRef allocator, CFStringRef filePath,
                                       CFURLPathStyle pathStyle, Boolean isDirectory);
// https://developer.apple.com/documentation/corefoundation/cfdictionarycreatemutable(_:_:_:_:)
CFMutableDictionaryRef CFDictionaryCreateMutable(CFAllocatorRef allocator, CFIndex capacity,
                                                 const CFDictionaryKeyCallBacks *keyCallBacks,
                                                 const CFDictionaryValueCallBacks *valueCallBacks);
// https://developer.apple.com/documentation/corefoundation/kcftypedictionarykeycallbacks
extern const CFDictionaryKeyCallBacks kCFTypeDictionaryKeyCallBacks;
// https://developer.apple.com/documentation/corefoundation/kcftypedictionaryvaluecallbacks
extern const CFDictionaryValueCallBacks kCFTypeDictionaryValueCallBacks;
// https://developer.apple.com/documentation/corefoundation/cfdictionarysetvalue(_:_:_:)
void CFDictionarySetValue(CFMutableDictionaryRef theDict, const void *key, const void *value);
// https://developer.apple.com/documentation/corefoundation/kcfbooleantrue
extern const CFBooleanRef kCFBooleanTrue;
// https://developer.apple.com/documentation/corefoundation/cfnumbertype
typedef CFIndex CFNumberType;
enum { kCFNumberIntType = 9 };
// https://developer.apple.com/documentation/corefoundation/cfnumbercreate(_:_:_:)
CFNumberRef CFNumberCreate(CFAllocatorRef allocator, CFNumberType theType, const void *valuePtr);
}
