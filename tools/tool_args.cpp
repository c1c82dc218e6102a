// Number options of whirlbox-tool: the settings file's decimal scanner run on the argument, which
// must be used up, then the range checked. No Windows headers.
#include "tool_args.h"

#include <cstdio>
#include <cstring>

#include "render/surface.h"
#include "settings/text_file.h"

bool ParseBoundedInt(const char* text, int low, int high, int* value) {
  if (text == nullptr || *text == '\0') return false;
  TextFile in = TextOfString(text);
  int parsed = 0;
  if (!ScanDecimalInt(&in, &parsed) || TextPeek(&in) != EOF || parsed < low || parsed > high) return false;
  *value = parsed;
  return true;
}

// The text before separator, copied into left; null when there is no separator or the text before
// it is too long to be a number.
static const char* SplitAt(const char* text, char separator, char (&left)[16]) {
  const char* at = std::strchr(text, separator);
  if (at == nullptr || at - text > 15) return nullptr;
  std::memcpy(left, text, static_cast<size_t>(at - text));
  left[at - text] = '\0';
  return at + 1;
}

bool ParseViewSize(const char* text, int* width, int* height) {
  if (text == nullptr) return false;
  char left[16];
  const char* right = SplitAt(text, 'x', left);
  return right != nullptr && ParseBoundedInt(left, 1, kMaxSurfaceSide, width) &&
         ParseBoundedInt(right, 1, kMaxSurfaceSide, height);
}

bool ParseFrames(const char* text, int* first, int* last) {
  if (text == nullptr) return false;
  if (std::strchr(text, '-') == nullptr) {
    if (!ParseBoundedInt(text, 1, kMaxFrames, first)) return false;
    *last = *first;
    return true;
  }
  char left[16];
  const char* right = SplitAt(text, '-', left);
  return right != nullptr && ParseBoundedInt(left, 1, kMaxFrames, first) &&
         ParseBoundedInt(right, *first, kMaxFrames, last);
}
