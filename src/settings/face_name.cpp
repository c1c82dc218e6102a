// One picture name line of the settings file: read, cut at the line end, checked in the order the
// fatal codes follow. Portable: no Windows headers, no picture readers.
#include "settings/face_name.h"

#include <cstring>

#include "settings/settings_state.h"

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

FaceFormat ReadFaceName(TextFile* text, char* name, const FatalCall** fault) {
  *fault = nullptr;
  if (!ReadTextLine(text, name, kFaceNameSize)) {
    name[0] = '\0';  // fgets leaves it indeterminate; the message does not show it
    *fault = &kFatalReadLine;
    return kFaceNoFormat;
  }
  char* lineFeed = std::strchr(name, '\n');
  if (lineFeed != nullptr) *lineFeed = '\0';
  FaceFormat format = FaceFormatOf(name);
  if (std::strlen(name) < 4) {
    *fault = &kFatalShortName;
  } else if (std::strrchr(name, '.') == nullptr) {
    *fault = &kFatalNoDot;
  } else if (format == kFaceNoFormat) {
    *fault = &kFatalBadExtension;
  }
  return *fault == nullptr ? format : kFaceNoFormat;
}
