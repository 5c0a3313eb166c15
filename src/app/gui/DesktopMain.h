#pragma once

struct OVBuildProfile;

// The desktop program of one build: the OS gate, the debug argument, the form.
int runDesktopProgram(int argc, char *argv[], const OVBuildProfile &profile);
