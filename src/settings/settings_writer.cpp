// SaveSettingsTo: the settings file written beside the old one and moved into its place only when
// every byte is written, so a full disk or an interrupted write never leaves a short file behind.
// Portable: no Windows headers (the platform steps are in file_replace_*.cpp).
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
