#include "OVMessagePresenter.h"

#import <AppKit/AppKit.h>

// The Finder opens with the file selected; an empty root path means the default root.
void revealInFileBrowser(const QString &path)
{
    @autoreleasepool {
        [[NSWorkspace sharedWorkspace] selectFile:path.toNSString() inFileViewerRootedAtPath:@""];
    }
}
