// Definitions of the settings globals; all zero until LoadSettings runs.
#include "settings/settings_state.h"

char FaceFiles[kFaceCount][kFaceNameSize];
PackedDib* FacePictures[kFaceCount];
int SizeSetting = 0;
int SpeedSetting = 0;
int CubeHalfEdge = 0;
int FrameInterval = 0;
