#include "DesktopMain.h"
#include "util/OVBuildProfile.h"

int main(int argc, char *argv[])
{
    return runDesktopProgram(argc, argv, OVBuildProfile::sixtyFourBit());
}
