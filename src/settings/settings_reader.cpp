// LoadSettingsFrom: the settings file read line by line, each picture loaded as soon as its name
// is judged, then the two numbers. Portable: no Windows headers; the readers come as arguments.
#include "settings/derived_settings.h"
#include "settings/face_name.h"
#include "settings/scan_int.h"
#include "settings/settings_file.h"
#include "settings/settings_state.h"
#include "shell/fatal.h"

const char* SettingsPath = "c:\\windows\\whirlbox.ini";

PackedDib* ReadFacePicture(const PictureReaders& readers, FaceFormat format, const char* name) {
  if (format == kFaceBmp) return readers.bmp(name);
  if (format == kFaceGif) return readers.gif(name);
  return readers.jpeg(name);
}

void LoadSettingsFrom(const char* path, const PictureReaders& readers) {
  TextFile text;
  if (!OpenTextFile(&text, path)) Abort(kFatalNoSettings);
  for (int i = 0; i < kFaceCount; ++i) {
    FaceFormat format = ReadFaceName(&text, i + 1, FaceFiles[i]);
    FacePictures[i] = ReadFacePicture(readers, format, FaceFiles[i]);
    if (FacePictures[i] == nullptr) Abort(kFatalLoadImage, FaceFiles[i]);
  }
  // "%i %i": a value that cannot be read keeps its 50, and after a failed first the second is not read.
  SizeSetting = kDefaultSetting;
  SpeedSetting = kDefaultSetting;
  if (ScanInt(&text, &SizeSetting)) ScanInt(&text, &SpeedSetting);
  CloseTextFile(&text);
  SizeSetting = ClampSetting(SizeSetting);
  SpeedSetting = ClampSetting(SpeedSetting);
  CubeHalfEdge = HalfEdgeForSize(SizeSetting);
  FrameInterval = IntervalForSpeed(SpeedSetting);
}
