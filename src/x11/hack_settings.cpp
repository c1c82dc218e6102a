// The X11 hack's pictures and settings, through the saver's own settings reader and picture readers.
// Portable: no X headers; every failure goes to Abort.
#include "x11/hack_settings.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "render/face_levels.h"
#include "settings/derived_settings.h"
#include "shell/fatal.h"

#ifndef WHIRLBOX_SAMPLES_DIR
#define WHIRLBOX_SAMPLES_DIR "/usr/share/whirlbox/samples"
#endif
const char* HackSamplesDir = WHIRLBOX_SAMPLES_DIR;

namespace {

const char* const kSampleNames[kFaceCount] = {"face1.bmp", "face2.gif", "face3.jpg",
                                              "face4.jpg", "face5.bmp", "face6.gif"};

// Replaces face k by the picture at path, read as the settings reader reads a face; a name with
// another ending or a picture that cannot be loaded ends with the reader's fatal errors.
void LoadFace(int k, const char* path) {
  FaceFormat format = FaceFormatOf(path);
  if (format == kFaceNoFormat) Abort(kFatalBadExtension, k + 1, path);
  PackedDib* picture = nullptr;
  PictureLevels levels;
  if (!LoadFacePicture(kPictureReaders, format, path, &picture, &levels)) Abort(kFatalLoadImage, path);
  std::free(FacePictures[k]);
  FreePictureLevels(&FaceLevels[k]);  // the levels of the picture it replaces, when the file named one
  FacePictures[k] = picture;
  FaceLevels[k] = levels;
  // FaceFiles holds what fits; the picture itself was read from the whole path.
  std::snprintf(FaceFiles[k], kFaceNameSize, "%s", path);
}

// The installed samples, except the faces the command line replaces anyway.
void LoadSamples(const HackOptions& options) {
  for (int k = 0; k < kFaceCount; ++k) {
    if (options.faces[k] != nullptr) continue;
    char path[4096];
    int length = std::snprintf(path, sizeof path, "%s/%s", HackSamplesDir, kSampleNames[k]);
    if (length < 0 || static_cast<size_t>(length) >= sizeof path) Abort(kFatalLoadImage, kSampleNames[k]);
    LoadFace(k, path);
  }
  SizeSetting = kDefaultSetting;
  SpeedSetting = kDefaultSetting;
}

}  // namespace

void LoadHackSettings(const HackOptions& options) {
  char defaultPath[4096];
  if (options.settings != nullptr) {
    LoadSettingsFrom(options.settings, kPictureReaders);
  } else if (DefaultSettingsPath(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"), defaultPath,
                                 sizeof defaultPath) &&
             access(defaultPath, F_OK) == 0) {
    LoadSettingsFrom(defaultPath, kPictureReaders);
  } else {
    LoadSamples(options);
  }
  for (int k = 0; k < kFaceCount; ++k) {
    if (options.faces[k] != nullptr) LoadFace(k, options.faces[k]);
  }
  if (options.size >= 0) SizeSetting = options.size;
  if (options.speed >= 0) SpeedSetting = options.speed;
  CubeHalfEdge = HalfEdgeForSize(SizeSetting);
  FrameInterval = IntervalForSpeed(SpeedSetting);
}
