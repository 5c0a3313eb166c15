// Stand-in for the AppKit members Ovalith's Objective-C++ files call (see ../README.md).
#pragma once

#include <Foundation/Foundation.h>

// https://developer.apple.com/documentation/appkit/nsworkspace
@interface NSWorkspace : NSObject
// https://developer.apple.com/documentation/appkit/nsworkspace/shared
@property(class, readonly, strong) NSWorkspace *sharedWorkspace;
// https://developer.apple.com/documentation/appkit/nsworkspace/selectfile(_:infileviewerrootedatpath:)
- (BOOL)selectFile:(NSString *)fullPath inFileViewerRootedAtPath:(NSString *)rootFullPath;
@end
