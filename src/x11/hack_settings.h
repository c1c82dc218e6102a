// The X11 hack's pictures and settings: the settings file (given, or the user's default), else the
// installed samples, then the command line's overrides. Portable: no X headers.
#pragma once
#include "x11/hack_options.h"

// The folder of the six installed sample pictures (face1.bmp ... face6.gif).
extern const char* HackSamplesDir;

// Fills FacePictures, SizeSetting, SpeedSetting, CubeHalfEdge and FrameInterval as start-up does:
// options->settings, else the default file if it exists, else the samples at size and speed 50; then
// each --faceN, --size and --speed replaces what the file gave. Problems end the process through
// Abort with the settings reader's fatal errors (551 ... 571).
void LoadHackSettings(const HackOptions& options);
