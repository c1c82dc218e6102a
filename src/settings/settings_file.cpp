// The settings file read line by line, each picture loaded as soon as its name is judged, then the
// two numbers; and written beside the old file and moved into its place only when every byte is
// written, so a full disk or an interrupted write never leaves a short file behind.
#include "settings/settings_file.h"

#include <cstring>
#include <string>

#include "picture/readers.h"
#include "settings/derived_settings.h"
#include "settings/file_replace.h"
#include "shell/fatal.h"

char FaceFiles[kFaceCount][kFaceNameSize];
PackedDib* FacePictures[kFaceCount];
int SizeSetting = 0;
int SpeedSetting = 0;
int CubeHalfEdge = 0;
int FrameInterval = 0;

const char* SettingsPath = "c:\\windows\\whirlbox.ini";

const PictureReaders kPictureReaders = {LoadBmp, LoadGif, LoadJpeg};

void LoadSettings() { LoadSettingsFrom(SettingsPath, kPictureReaders); }

static char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

static bool SameIgnoringCase(const char* text, const char* lower) {
  for (; *text != '\0' && *lower != '\0'; ++text, ++lower) {
    if (AsciiLower(*text) != *lower) return false;
  }
  return *text == *lower;
}

FaceFormat FaceFormatOf(const char* name) {
  const char* dot = std::strrchr(name, '.');
  if (dot == nullptr) return kFaceNoFormat;
  if (SameIgnoringCase(dot, ".bmp")) return kFaceBmp;
  if (SameIgnoringCase(dot, ".gif")) return kFaceGif;
  if (SameIgnoringCase(dot, ".jpg")) return kFaceJpeg;
  return kFaceNoFormat;
}

FaceFormat ReadFaceName(TextFile* text, int line, char* name) {
  if (!ReadTextLine(text, name, kFaceNameSize)) Abort(kFatalReadLine, line);
  char* lineFeed = std::strchr(name, '\n');
  if (lineFeed != nullptr) *lineFeed = '\0';
  if (std::strlen(name) < 4) Abort(kFatalShortName, line);
  if (std::strrchr(name, '.') == nullptr) Abort(kFatalNoDot, line, name);
  FaceFormat format = FaceFormatOf(name);
  if (format == kFaceNoFormat) Abort(kFatalBadExtension, line, name);
  return format;
}

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

// Text mode, so each line ends in CR LF on Windows. False when any write fails.
static bool WriteSettingsText(std::FILE* file) {
  for (int i = 0; i < kFaceCount; ++i) {
    if (std::fprintf(file, "%s\n", FaceFiles[i]) < 0) return false;
  }
  if (std::fprintf(file, "%i %i\n", SizeSetting, SpeedSetting) < 0) return false;
  return CommitFile(file);
}

void SaveSettingsTo(const char* path) {
  std::string written = std::string(path) + ".new";
  std::FILE* file = std::fopen(written.c_str(), "w");
  if (file == nullptr) Abort(kFatalWriteSettings);
  bool whole = WriteSettingsText(file);
  if (std::fclose(file) != 0) whole = false;
  if (!whole || !ReplaceWithFile(path, written.c_str())) {
    std::remove(written.c_str());
    Abort(kFatalWriteSettings);
  }
}

void SaveSettings() { SaveSettingsTo(SettingsPath); }
