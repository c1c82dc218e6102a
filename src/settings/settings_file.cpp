// The settings file read line by line, each picture's load started on the face pool as soon as its
// name is judged, then the two numbers; and written beside the old file and moved into its place only when every byte is
// written, so a full disk or an interrupted write never leaves a short file behind.
#include "settings/settings_file.h"

#include <cerrno>
#include <cstring>
#include <string>

#include "picture/readers.h"
#include "render/face_levels.h"
#include "settings/derived_settings.h"
#include "settings/face_loads.h"
#include "settings/file_replace.h"
#include "shell/fatal.h"

char FaceFiles[kFaceCount][kFaceNameSize];
PackedDib* FacePictures[kFaceCount];
int SizeSetting = 0;
int SpeedSetting = 0;
int CubeHalfEdge = 0;
int FrameInterval = 0;

const char* SettingsPath = "c:\\windows\\whirlbox.ini";

const PictureReaders kPictureReaders = {LoadBmp, LoadGif, LoadJpeg, LoadJpegLevels};

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

FaceFormat ReadFaceName(TextFile* text, char* name, NameFault* fault) {
  *fault = kNameGood;
  if (!ReadTextLine(text, name, kFaceNameSize)) {
    name[0] = '\0';  // fgets leaves it indeterminate; the message does not show it
    *fault = kNameUnread;
    return kFaceNoFormat;
  }
  char* lineFeed = std::strchr(name, '\n');
  if (lineFeed != nullptr) *lineFeed = '\0';
  FaceFormat format = FaceFormatOf(name);
  if (std::strlen(name) < 4) {
    *fault = kNameShort;
  } else if (std::strrchr(name, '.') == nullptr) {
    *fault = kNameNoDot;
  } else if (format == kFaceNoFormat) {
    *fault = kNameOtherEnding;
  }
  return *fault == kNameGood ? format : kFaceNoFormat;
}

void AbortBadName(NameFault fault, int line, const char* name) {
  switch (fault) {
    case kNameUnread: Abort(kFatalReadLine, line);
    case kNameShort: Abort(kFatalShortName, line);
    case kNameNoDot: Abort(kFatalNoDot, line, name);
    case kNameOtherEnding:
    case kNameGood: break;
  }
  Abort(kFatalBadExtension, line, name);
}

PackedDib* ReadFacePicture(const PictureReaders& readers, FaceFormat format, const char* name) {
  if (format == kFaceBmp) return readers.bmp(name);
  if (format == kFaceGif) return readers.gif(name);
  return readers.jpeg(name);
}

bool LoadFacePicture(const PictureReaders& readers, FaceFormat format, const char* name, PackedDib** picture,
                     PictureLevels* levels) {
  *levels = PictureLevels{};
  if (format == kFaceJpeg && readers.jpegLevels != nullptr) return readers.jpegLevels(name, picture, levels);
  *picture = ReadFacePicture(readers, format, name);
  if (*picture == nullptr) return false;
  MakeLoadedLevels(picture, levels);
  return true;
}

// Takes the pictures of faces 0 .. count - 1 in order into FacePictures, their levels into
// FaceLevels (a picture larger than any face is already freed: null). At the first that failed
// the pool is stopped (pictures it loaded after that one are freed) and the process ends with 571:
// a face that cannot be loaded is reported before anything wrong on a later line.
static void TakeFaces(FaceLoads* loads, int count) {
  for (int i = 0; i < count; ++i) {
    FreePictureLevels(&FaceLevels[i]);
    if (!WaitFaceLoad(loads, i, &FacePictures[i], &FaceLevels[i])) {
      StopFaceLoads(loads);
      Abort(kFatalLoadImage, FaceFiles[i]);
    }
  }
}

// The pictures load on the pool while the file is read: each starts as soon as its name line is
// judged. Fatal errors stay those of reading the file one line and one picture at a time; only this
// thread calls Abort.
void LoadSettingsFrom(const char* path, const PictureReaders& readers) {
  TextFile text;
  if (!OpenTextFile(&text, path)) Abort(kFatalNoSettings);
  FaceLoads loads;
  StartFaceLoads(&loads, &readers);
  for (int i = 0; i < kFaceCount; ++i) {
    NameFault fault;
    FaceFormat format = ReadFaceName(&text, FaceFiles[i], &fault);
    if (fault != kNameGood) {
      TakeFaces(&loads, i);
      StopFaceLoads(&loads);
      AbortBadName(fault, i + 1, FaceFiles[i]);
    }
    QueueFaceLoad(&loads, i, format, FaceFiles[i]);
  }
  // "%i %i": a value that cannot be read keeps its 50, and after a failed first the second is not read.
  SizeSetting = kDefaultSetting;
  SpeedSetting = kDefaultSetting;
  if (ScanInt(&text, &SizeSetting)) ScanInt(&text, &SpeedSetting);
  CloseTextFile(&text);
  TakeFaces(&loads, kFaceCount);
  StopFaceLoads(&loads);
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

// Writes the settings to path, creating or emptying it; the close is checked as well.
static FileStep WriteSettingsFile(const char* path) {
  std::FILE* file = std::fopen(path, "w");
  if (file == nullptr) {
    // The Windows runtime reports a sharing violation as EACCES too.
    return errno == EACCES || errno == EPERM ? kFileRefused : kFileFailed;
  }
  bool whole = WriteSettingsText(file);
  if (std::fclose(file) != 0) whole = false;
  return whole ? kFileDone : kFileFailed;
}

void SaveSettingsTo(const char* path) {
  std::string written = std::string(path) + ".new";
  FileStep step = WriteSettingsFile(written.c_str());
  if (step == kFileDone) {
    step = ReplaceWithFile(path, written.c_str());
    if (step != kFileDone) std::remove(written.c_str());
  } else if (step == kFileFailed) {
    std::remove(written.c_str());
  }
  if (step == kFileDone) return;
  // A folder that lets a standard user rewrite the file but not create one beside it, or a file held
  // open by a program that shares writing but not replacing: the old file is overwritten in place.
  if (step == kFileRefused && WriteSettingsFile(path) == kFileDone) return;
  Abort(kFatalWriteSettings);
}

void SaveSettings() { SaveSettingsTo(SettingsPath); }
