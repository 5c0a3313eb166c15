// Stand-in for the Foundation members Ovalith's Objective-C++ files call (see ../README.md).
#pragma once

#include <CoreFoundation/CoreFoundation.h>

// https://developer.apple.com/documentation/objectivec/bool: signed char on x86_64, bool on arm64.
typedef signed char BOOL;

// https://developer.apple.com/documentation/objectivec/nsobject-swift.class
@interface NSObject
@end

// https://developer.apple.com/documentation/foundation/nsstring
@interface NSString : NSObject
// https://developer.apple.com/documentation/foundation/nsstring/hassuffix(_:)
- (BOOL)hasSuffix:(NSString *)str;
// https://developer.apple.com/documentation/foundation/nsstring/deletinglastpathcomponent
@property(readonly, copy) NSString *stringByDeletingLastPathComponent;
@end

// https://developer.apple.com/documentation/foundation/bundle
@interface NSBundle : NSObject
// https://developer.apple.com/documentation/foundation/bundle/main
@property(class, readonly, strong) NSBundle *mainBundle;
// https://developer.apple.com/documentation/foundation/bundle/bundlepath
@property(readonly, copy) NSString *bundlePath;
// https://developer.apple.com/documentation/foundation/bundle/executablepath
@property(readonly, copy) NSString *executablePath;
@end
