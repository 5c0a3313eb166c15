#include "Platform.h"

#import <Foundation/Foundation.h>
#import <SystemConfiguration/SystemConfiguration.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace platform {

QString applicationDirectory()
{
    @autoreleasepool {
        NSString *bundle = [[NSBundle mainBundle] bundlePath];
        if ([bundle hasSuffix:@".app"])
            return QString::fromNSString([bundle stringByDeletingLastPathComponent]);
    }
    // A command-line tool has no bundle: the folder of the executable.
    return QCoreApplication::instance() ? QCoreApplication::applicationDirPath()
                                        : QFileInfo(QDir::currentPath()).absoluteFilePath();
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

QString defaultProfilerCommand()
{
    return QStringLiteral("system_profiler");
}

void systemLog(const QString &line)
{
    NSLog(@"%@", line.toNSString());
}

} // namespace platform
