// Strict number parsing for whirlbox-tool's options: whole decimal text only, range checked.
#include "tool_args.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

bool ParseBoundedInt(const char* text, int low, int high, int* value) {
  if (text == nullptr || *text == '\0') return false;
  char* end = nullptr;
  errno = 0;
  long parsed = std::strtol(text, &end, 10);
  if (errno != 0 || *end != '\0' || parsed < low || parsed > high) return false;
  *value = static_cast<int>(parsed);
  return true;
}

bool ParseViewSize(const char* text, int* width, int* height) {
  if (text == nullptr) return false;
  const char* cross = std::strchr(text, 'x');
  if (cross == nullptr || cross - text > 15) return false;
  char left[16];
  std::memcpy(left, text, static_cast<size_t>(cross - text));
  left[cross - text] = '\0';
  return ParseBoundedInt(left, 1, 32768, width) && ParseBoundedInt(cross + 1, 1, 32768, height);
}
