// The Windows runtime's text-mode reading done by hand over a binary stream, and the "%i" conversion
// of the C standard done by hand, so every build reads a settings file alike (the runtimes differ in
// corners such as "0x" without a digit). Portable: stdio only, no locale.
#include "settings/text_file.h"

#include <sys/stat.h>

#include <climits>
#include <cstdint>

namespace {
constexpr int kCtrlZ = 0x1a;
}

bool OpenTextFile(TextFile* text, const char* path) {
  *text = TextFile{nullptr, nullptr, -1, -1, false, false};
  // Windows cannot open a folder as a file; POSIX systems can, and would fail only when reading.
  // (stat rather than std::filesystem, whose Windows runtime would bring wide-character calls.)
  struct stat status;
  if (stat(path, &status) == 0 && S_ISDIR(status.st_mode)) return false;
  text->file = std::fopen(path, "rb");
  return text->file != nullptr;
}

TextFile TextOfString(const char* string) { return TextFile{nullptr, string, -1, -1, false, false}; }

void CloseTextFile(TextFile* text) {
  if (text->file != nullptr) std::fclose(text->file);
  text->file = nullptr;
}

static int RawGet(TextFile* text) {
  if (text->string != nullptr) return *text->string == '\0' ? EOF : static_cast<unsigned char>(*text->string++);
  if (text->aheadByte >= 0) {
    int c = text->aheadByte;
    text->aheadByte = -1;
    return c;
  }
  int c = std::fgetc(text->file);
  if (c == EOF && std::ferror(text->file)) text->failed = true;
  return c;
}

// Text mode: Ctrl-Z is the end of the file, and a CR is dropped only when a line feed follows it.
static int TranslatedGet(TextFile* text) {
  if (text->ended) return EOF;
  if (text->string != nullptr) return RawGet(text);
  int c = RawGet(text);
  if (c == EOF || c == kCtrlZ) {
    text->ended = true;
    return EOF;
  }
  if (c != '\r') return c;
  int next = RawGet(text);
  if (next == '\n') return '\n';
  if (next != EOF) text->aheadByte = next;
  return '\r';
}

int TextGet(TextFile* text) {
  if (text->peeked >= 0) {
    int c = text->peeked;
    text->peeked = -1;
    return c;
  }
  return TranslatedGet(text);
}

int TextPeek(TextFile* text) {
  if (text->peeked < 0) {
    int c = TranslatedGet(text);
    if (c == EOF) return EOF;
    text->peeked = c;
  }
  return text->peeked;
}

bool ReadTextLine(TextFile* text, char* line, int count) {
  int length = 0;
  while (length < count - 1) {
    int c = TextGet(text);
    if (c == EOF) break;
    line[length++] = static_cast<char>(c);
    if (c == '\n') break;
  }
  line[length] = '\0';
  return length > 0 && !text->failed;
}

// Magnitudes are held in 64 bits and stop growing here, far beyond any int.
static constexpr uint64_t kMagnitudeCap = uint64_t{1} << 40;

static bool IsSpace(int c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

// The digit's value in base, or -1 when c is no digit of that base.
static int DigitValue(int c, int base) {
  int digit = -1;
  if (c >= '0' && c <= '9') digit = c - '0';
  if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
  if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
  return digit < base ? digit : -1;
}

// Takes digits of base while they come; returns how many.
static int TakeDigits(TextFile* text, int base, uint64_t* magnitude) {
  int taken = 0;
  for (int digit = DigitValue(TextPeek(text), base); digit >= 0; digit = DigitValue(TextPeek(text), base)) {
    TextGet(text);
    if (*magnitude < kMagnitudeCap) *magnitude = *magnitude * static_cast<uint64_t>(base) + static_cast<uint64_t>(digit);
    ++taken;
  }
  return taken;
}

// anyBase: "%i", with its octal and hexadecimal prefixes; otherwise decimal only.
static bool ScanNumber(TextFile* text, bool anyBase, int* value) {
  while (IsSpace(TextPeek(text))) TextGet(text);
  bool negative = false;
  if (TextPeek(text) == '+' || TextPeek(text) == '-') negative = TextGet(text) == '-';
  uint64_t magnitude = 0;
  if (anyBase && TextPeek(text) == '0') {
    TextGet(text);
    if (TextPeek(text) == 'x' || TextPeek(text) == 'X') {
      TextGet(text);
      // "0x" is only the start of a hexadecimal number: without a digit it is a matching failure.
      if (TakeDigits(text, 16, &magnitude) == 0) return false;
    } else {
      TakeDigits(text, 8, &magnitude);  // "0" alone is an octal constant; "08" stops before the 8
    }
  } else if (TakeDigits(text, 10, &magnitude) == 0) {
    return false;
  }
  if (negative) {
    *value = magnitude > uint64_t{1} + INT_MAX ? INT_MIN : static_cast<int>(-static_cast<int64_t>(magnitude));
  } else {
    *value = magnitude > uint64_t{INT_MAX} ? INT_MAX : static_cast<int>(magnitude);
  }
  return true;
}

bool ScanInt(TextFile* text, int* value) { return ScanNumber(text, true, value); }

bool ScanDecimalInt(TextFile* text, int* value) { return ScanNumber(text, false, value); }
