// SaveSettingsTo: the settings file written beside the old one and moved into its place only when
// every byte is written, so a full disk or an interrupted write never leaves a short file behind.
// Where the system refuses the new file or the move, the file is rewritten in place instead.
// Portable: no Windows headers (the platform steps are in file_replace_*.cpp).
#include <cerrno>
#include <cstdio>
#include <string>

#include "settings/file_replace.h"
#include "settings/settings_file.h"
#include "settings/settings_state.h"
#include "shell/fatal.h"

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
  Abort(kFatalWriteSettings.code, "%s", kFatalWriteSettings.format);
}

void SaveSettings() { SaveSettingsTo(SettingsPath); }
