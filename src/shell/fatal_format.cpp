// Bounded formatting of the fatal error text and caption. No Windows headers.
#include "shell/fatal_format.h"

#include <cstdio>

const char kFatalTextOverflow[] = "Abort(): text buffer overflow";
const char kFatalCaptionOverflow[] = "Abort(): capton buffer overflow";

bool FormatFatalText(char (&text)[kFatalTextSize], const char* format, va_list args) {
  // vsnprintf reports the length the whole message would have had; a negative value is a failure.
  int length = std::vsnprintf(text, sizeof text, format, args);
  return length >= 0 && length < kFatalTextSize;
}

bool FormatFatalCaption(char (&caption)[kFatalCaptionSize], int code) {
  int length = std::snprintf(caption, sizeof caption, "Fatal Error Code %i", code);
  return length >= 0 && length < kFatalCaptionSize;
}
