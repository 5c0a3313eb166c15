#include "Platform.h"

#import <Foundation/Foundation.h>
#import <NetFS/NetFS.h>
#import <SystemConfiguration/SystemConfiguration.h>

#include <cerrno>
#include <sys/mount.h>

namespace platform {

QString applicationDirectory()
{
    @autoreleasepool {
        NSBundle *main = [NSBundle mainBundle];
        NSString *bundle = [main bundlePath];
        if ([bundle hasSuffix:@".app"])
            return QString::fromNSString([bundle stringByDeletingLastPathComponent]);
        // A command-line tool has no bundle: the folder of the executable, also before a QCoreApplication.
        return QString::fromNSString([[main executablePath] stringByDeletingLastPathComponent]);
    }
}

std::optional<QString> computerName()
{
    CFStringRef name = SCDynamicStoreCopyComputerName(nullptr, nullptr);
    if (!name)
        return std::nullopt;
    const QString result = QString::fromCFString(name);
    CFRelease(name);
    return result;
}

std::optional<int> mountShareWithAccount(const QString &url, const QString &mountPoint, const QString &user,
                                         const QString &password)
{
    CFStringRef urlText = url.toCFString();
    CFStringRef pointText = mountPoint.toCFString();
    CFStringRef userText = user.toCFString();
    CFStringRef passwordText = password.toCFString();
    CFURLRef shareUrl = CFURLCreateWithString(kCFAllocatorDefault, urlText, nullptr);
    CFURLRef pointUrl =
        CFURLCreateWithFileSystemPath(kCFAllocatorDefault, pointText, kCFURLPOSIXPathStyle, true);
    CFMutableDictionaryRef open = CFDictionaryCreateMutable(
        kCFAllocatorDefault, 0, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks);
    CFMutableDictionaryRef mount = CFDictionaryCreateMutable(
        kCFAllocatorDefault, 0, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks);
    // Never a dialog (a run may have nobody at the screen); a session of its own, never one the user has
    // open with other rights; on our folder; out of the Finder's sight.
    CFDictionarySetValue(open, kNAUIOptionKey, kNAUIOptionNoUI);
    CFDictionarySetValue(mount, kNetFSForceNewSessionKey, kCFBooleanTrue);
    CFDictionarySetValue(mount, kNetFSMountAtMountDirKey, kCFBooleanTrue);
    const int flags = MNT_DONTBROWSE;
    CFNumberRef flagsNumber = CFNumberCreate(kCFAllocatorDefault, kCFNumberIntType, &flags);
    CFDictionarySetValue(mount, kNetFSMountFlagsKey, flagsNumber);
    CFArrayRef mountPoints = nullptr;
    const int error = shareUrl && pointUrl ? NetFSMountURLSync(shareUrl, pointUrl, userText, passwordText,
                                                               open, mount, &mountPoints)
                                           : EINVAL;
    for (CFTypeRef owned :
         {CFTypeRef(urlText), CFTypeRef(pointText), CFTypeRef(userText), CFTypeRef(passwordText),
          CFTypeRef(shareUrl), CFTypeRef(pointUrl), CFTypeRef(open), CFTypeRef(mount), CFTypeRef(flagsNumber),
          CFTypeRef(mountPoints)}) {
        if (owned)
            CFRelease(owned);
    }
    if (error == 0)
        return std::nullopt;
    return error == EAUTH ? EACCES : error; // a refused logon, in the terms of every other delivery
}

bool hasDisplay()
{
    return true; // the window server is there whenever a user is logged in
}

QString defaultProfilerCommand()
{
    return QStringLiteral("system_profiler");
}

} // namespace platform
