#include "Platform.h"

#import <Foundation/Foundation.h>
#import <SystemConfiguration/SystemConfiguration.h>

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

bool hasDisplay()
{
    return true; // the window server is there whenever a user is logged in
}

QString defaultProfilerCommand()
{
    return QStringLiteral("system_profiler");
}

} // namespace platform
