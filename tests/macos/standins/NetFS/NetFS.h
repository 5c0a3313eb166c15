// Stand-in for the NetFS members Ovalith's Objective-C++ files use (see ../README.md). In the SDK the keys
// are CFSTR() constants; here they are objects of the same type.
#pragma once

#include <CoreFoundation/CoreFoundation.h>

extern "C" {

// https://developer.apple.com/documentation/netfs/1435390-netfsmounturlsync (NetFS.h of the macOS SDK)
int NetFSMountURLSync(CFURLRef url, CFURLRef mountpath, CFStringRef user, CFStringRef passwd,
                      CFMutableDictionaryRef open_options, CFMutableDictionaryRef mount_options,
                      CFArrayRef *mountpoints);

// NetFS.h: #define kNetFSMountAtMountDirKey CFSTR("MountAtMountDir"), and likewise for the others.
extern const CFStringRef kNetFSMountAtMountDirKey;
extern const CFStringRef kNetFSForceNewSessionKey;
extern const CFStringRef kNetFSMountFlagsKey;
// NetFS.h: #define kNAUIOptionKey CFSTR("UIOption"), #define kNAUIOptionNoUI CFSTR("NoUI")
extern const CFStringRef kNAUIOptionKey;
extern const CFStringRef kNAUIOptionNoUI;
}

// <sys/errno.h> of the macOS SDK: "#define EAUTH 80 /* Authentication error */"; glibc's <errno.h>, which
// this check reads instead, lacks it.
#ifndef EAUTH
#define EAUTH 80
#endif
