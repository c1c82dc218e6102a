// The screen-saver command line: role prefixes and the preview host handle. No Windows headers.
#include "shell/command_line.h"

#include <cctype>
#include <cstring>

static bool StartsWithIgnoringCase(const char* text, const char* prefix) {
  for (; *prefix != '\0'; ++text, ++prefix) {
    if (std::toupper(static_cast<unsigned char>(*text)) != *prefix) return false;
  }
  return true;
}

SaverRole ChooseRole(int argc, const char* const* argv) {
  if (argc < 2) return kRoleSaver;
  const char* first = argv[1];
  // The order matters only for readability: each prefix decides by its first letters.
  if (StartsWithIgnoringCase(first, "-C") || StartsWithIgnoringCase(first, "/C") || StartsWithIgnoringCase(first, "C")) {
    return kRoleSetup;
  }
  if (StartsWithIgnoringCase(first, "-P") || StartsWithIgnoringCase(first, "/P") || StartsWithIgnoringCase(first, "P")) {
    return kRolePreview;
  }
  return kRoleSaver;
}

bool ReadUnsigned(const char* text, unsigned* value) {
  while (std::isspace(static_cast<unsigned char>(*text))) ++text;
  bool negative = false;
  if (*text == '+' || *text == '-') negative = *text++ == '-';
  if (!std::isdigit(static_cast<unsigned char>(*text))) return false;
  // Unsigned arithmetic wraps modulo 2^32 where "%u" would overflow.
  unsigned number = 0;
  for (; std::isdigit(static_cast<unsigned char>(*text)); ++text) {
    number = number * 10u + static_cast<unsigned>(*text - '0');
  }
  *value = negative ? 0u - number : number;
  return true;
}

PreviewHandle ReadPreviewHandle(int argc, const char* const* argv) {
  PreviewHandle result = {false, 0, nullptr};
  const char* first = argv[1];
  const char* text = nullptr;
  if (argc >= 3) {
    result.fail = &kFatalPreviewArg2;
    text = argv[2];
  } else if (const char* colon = std::strchr(first, ':')) {
    result.fail = &kFatalPreviewColon;
    text = colon + 1;
  } else if (const char* space = std::strchr(first, ' ')) {
    result.fail = &kFatalPreviewSpace;
    text = space + 1;
  } else {
    result.fail = &kFatalPreviewP;
    const char* upper = std::strchr(first, 'P');
    if (upper != nullptr) text = upper + 1;
  }
  if (text != nullptr) result.found = ReadUnsigned(text, &result.handle);
  return result;
}
