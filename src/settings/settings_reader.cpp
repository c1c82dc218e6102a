// LoadSettingsFrom: the settings file read line by line, each picture's load started on the face
// pool as soon as its name is judged, then the two numbers. Portable: no Windows headers; the
// readers come as arguments. Only this thread calls Abort.
#include "settings/derived_settings.h"
#include "settings/face_loads.h"
#include "settings/face_name.h"
#include "settings/scan_int.h"
#include "settings/settings_file.h"
#include "settings/settings_state.h"
#include "shell/fatal.h"

const char* SettingsPath = "c:\\windows\\whirlbox.ini";

// Takes the pictures of faces 0 .. count - 1 in order into FacePictures. At the first that failed
// the pool is stopped (pictures it loaded after that one are freed) and the process ends with 571:
// a face that cannot be loaded is reported before anything wrong on a later line.
static void TakeFaces(FaceLoads* loads, int count) {
  for (int i = 0; i < count; ++i) {
    FacePictures[i] = WaitFaceLoad(loads, i);
    if (FacePictures[i] == nullptr) {
      StopFaceLoads(loads);
      Abort(kFatalLoadImage.code, kFatalLoadImage.format, FaceFiles[i]);
    }
  }
}

// The pictures load on the pool while the file is read: each starts as soon as its name line is
// judged. Fatal errors stay those of reading the file one line and one picture at a time.
void LoadSettingsFrom(const char* path, const PictureReaders& readers) {
  TextFile text;
  if (!OpenTextFile(&text, path)) Abort(kFatalNoSettings.code, "%s", kFatalNoSettings.format);
  FaceLoads loads;
  StartFaceLoads(&loads, &readers);
  for (int i = 0; i < kFaceCount; ++i) {
    const FatalCall* fault = nullptr;
    FaceFormat format = ReadFaceName(&text, FaceFiles[i], &fault);
    if (fault != nullptr) {
      TakeFaces(&loads, i);
      StopFaceLoads(&loads);
      Abort(fault->code, fault->format, i + 1, FaceFiles[i]);
    }
    QueueFaceLoad(&loads, i, format, FaceFiles[i]);
  }
  // "%i %i": a value that cannot be read keeps its 50, and after a failed first the second is not read.
  SizeSetting = 50;
  SpeedSetting = 50;
  if (ScanInt(&text, &SizeSetting)) ScanInt(&text, &SpeedSetting);
  CloseTextFile(&text);
  TakeFaces(&loads, kFaceCount);
  StopFaceLoads(&loads);
  SizeSetting = ClampSetting(SizeSetting);
  SpeedSetting = ClampSetting(SpeedSetting);
  CubeHalfEdge = HalfEdgeForSize(SizeSetting);
  FrameInterval = IntervalForSpeed(SpeedSetting);
}
