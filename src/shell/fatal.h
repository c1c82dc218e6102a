// The one way the saver reacts to a failure it cannot work around: show the message with its code
// and end the process. Portable declarations; fatal_win.cpp and fatal_native.cpp each define Abort.
#pragma once
#include <cstdarg>
#include <cstdio>
#include <type_traits>

#include "shell/fatal_codes.h"

// Formats the printf-style message, shows it with the caption "Fatal Error Code <code>", stops the
// timers and ends the process with exit code 0 (Windows). The native build prints "fatal <code>" and
// the message to standard output and exits with 1. Never returns. Call sites pass a record below.
[[noreturn]] void Abort(int code, const char* format, ...) __attribute__((format(printf, 2, 3)));

// Set while Abort's message box is shown. The frame timer ignores its ticks then, so a failing frame
// cannot stack further boxes from inside the box's own message loop, and the saver window ends
// nothing, so the box stays until the user answers it.
extern int AbortShowing;

// One fatal error: its code and its message, whose conversions take Args in order.
template <typename... Args>
struct FatalRecord {
  int code;
  const char* format;
};

// Abort with the record's code and message: code and message cannot be paired wrongly, and the
// arguments must have the record's types.
template <typename... Args>
[[noreturn]] void Abort(const FatalRecord<Args...>& error, std::common_type_t<Args>... args) {
  if constexpr (sizeof...(Args) == 0) {
    Abort(error.code, "%s", error.format);  // a message without arguments is shown as it is
  } else {
    Abort(error.code, error.format, args...);
  }
}

// The conversion each argument type takes in a message.
constexpr char ConversionFor(int*) { return 'i'; }
constexpr char ConversionFor(unsigned*) { return 'u'; }
constexpr char ConversionFor(const char**) { return 's'; }

// True when the conversions of format are exactly those of Args, in order ("%%" is no conversion).
template <typename... Args>
constexpr bool FormatTakes(const char* format) {
  const char wanted[] = {ConversionFor(static_cast<Args*>(nullptr))..., '\0'};
  int next = 0;
  for (const char* c = format; *c != '\0'; ++c) {
    if (*c != '%') continue;
    ++c;
    if (*c == '%') continue;
    if (*c == '\0' || wanted[next] == '\0' || *c != wanted[next]) return false;
    ++next;
  }
  return wanted[next] == '\0';
}

#define WHIRLBOX_ARGUMENT_TYPES(...) __VA_ARGS__
#define WHIRLBOX_FATAL_RECORD(name, code, types, message)                       \
  inline constexpr FatalRecord<WHIRLBOX_ARGUMENT_TYPES types> name{code, message}; \
  static_assert(FormatTakes<WHIRLBOX_ARGUMENT_TYPES types>(message), #name ": message and argument types differ");
WHIRLBOX_FATAL_ERRORS(WHIRLBOX_FATAL_RECORD)
#undef WHIRLBOX_FATAL_RECORD

// Every fatal error of the list, for the test that no two share a code.
struct FatalCall {
  int code;
  const char* format;
};
#define WHIRLBOX_FATAL_CALL(name, code, types, message) FatalCall{code, message},
inline constexpr FatalCall kAllFatalCalls[] = {WHIRLBOX_FATAL_ERRORS(WHIRLBOX_FATAL_CALL)};
#undef WHIRLBOX_FATAL_CALL

// Bounded formatting of the message text and the caption, shared by both Aborts.
constexpr int kFatalTextSize = 1024;   // at most 1023 characters and the terminator
constexpr int kFatalCaptionSize = 32;  // at most 31 characters and the terminator
inline constexpr char kFatalTextOverflow[] = "Abort(): text buffer overflow";
inline constexpr char kFatalCaptionOverflow[] = "Abort(): capton buffer overflow";  // the word users see

// Formats the message into text. Returns false when formatting fails or the whole message would take
// kFatalTextSize characters or more; nothing is ever written beyond the buffer.
inline bool FormatFatalText(char (&text)[kFatalTextSize], const char* format, va_list args) {
  // vsnprintf reports the length the whole message would have had; a negative value is a failure.
  int length = std::vsnprintf(text, sizeof text, format, args);
  return length >= 0 && length < kFatalTextSize;
}

// Formats "Fatal Error Code <code>" into caption; false when it would not fit.
inline bool FormatFatalCaption(char (&caption)[kFatalCaptionSize], int code) {
  int length = std::snprintf(caption, sizeof caption, "Fatal Error Code %i", code);
  return length >= 0 && length < kFatalCaptionSize;
}
