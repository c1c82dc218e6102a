// Reading of one "%i" number from a text file, exactly as the C standard defines the conversion.
// Portable: no Windows headers, no locale.
#include "settings/scan_int.h"

#include <climits>
#include <cstdint>

namespace {
// Magnitudes are held in 64 bits and stop growing here, far beyond any int.
constexpr uint64_t kMagnitudeCap = uint64_t{1} << 40;
}

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
