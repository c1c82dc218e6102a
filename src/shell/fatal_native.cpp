// Abort for the native build (whirlbox-tool, tests): the same message text, printed instead of shown.
// No Windows headers.
#include <cstdarg>
#include <cstdio>
#include <cstdlib>

#include "shell/fatal.h"

int AbortShowing = 0;

void Abort(int code, const char* format, ...) {
  char text[kFatalTextSize];
  va_list args;
  va_start(args, format);
  bool fits = FormatFatalText(text, format, args);
  va_end(args);
  AbortShowing = 1;
  if (!fits) {
    std::printf("fatal\n%s\n", kFatalTextOverflow);
  } else {
    std::printf("fatal %i\n%s\n", code, text);
  }
  std::fflush(stdout);
  std::exit(1);
}
