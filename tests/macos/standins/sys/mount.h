// Stand-in for the member of macOS's <sys/mount.h> Ovalith's Objective-C++ files use (see ../README.md):
// glibc's header of the same name lacks it.
#pragma once

// <sys/mount.h> of the macOS SDK (xnu bsd/sys/mount.h): "file system is not appropriate path to user data"
#define MNT_DONTBROWSE 0x00100000
