// Bounded formatting of the fatal error text and caption; portable, so it is tested natively.
#pragma once
#include <cstdarg>

constexpr int kFatalTextSize = 1024;    // at most 1023 characters and the terminator
constexpr int kFatalCaptionSize = 32;   // at most 31 characters and the terminator

extern const char kFatalTextOverflow[];     // "Abort(): text buffer overflow"
extern const char kFatalCaptionOverflow[];  // "Abort(): capton buffer overflow" (the word is as users see it)

// Formats the message into text. Returns false when formatting fails or the whole message would take
// kFatalTextSize characters or more; nothing is ever written beyond the buffer.
bool FormatFatalText(char (&text)[kFatalTextSize], const char* format, va_list args);

// Formats "Fatal Error Code <code>" into caption; false when it would not fit.
bool FormatFatalCaption(char (&caption)[kFatalCaptionSize], int code);
