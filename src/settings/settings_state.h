// The settings that the settings file gives and the animation parameters derived from them.
// Portable; filled by LoadSettings, read by the renderer, the setup dialog and start-up.
#pragma once
#include "picture/packed_dib.h"

constexpr int kFaceCount = 6;
constexpr int kFaceNameSize = 260;  // at most 259 characters and the terminator

extern char FaceFiles[kFaceCount][kFaceNameSize];  // picture path of each face; entry n-1 is line n
extern PackedDib* FacePictures[kFaceCount];         // loaded pictures, owned until process exit
extern int SizeSetting;                              // 0 (small) to 100 (large)
extern int SpeedSetting;                             // 0 (slow) to 100 (fast)
extern int CubeHalfEdge;                             // pixels, derived from SizeSetting
extern int FrameInterval;                            // milliseconds, derived from SpeedSetting
