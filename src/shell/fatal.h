// The one way the saver reacts to a failure it cannot work around: show the message with its code
// and end the process. Portable declaration; the Windows and native builds each define Abort.
#pragma once
#include "shell/fatal_codes.h"

// Formats the printf-style message, shows it with the caption "Fatal Error Code <code>", stops the
// timers and ends the process with exit code 0 (Windows). The native build prints "fatal <code>" and
// the message to standard output and exits with 1. Never returns.
[[noreturn]] void Abort(int code, const char* format, ...) __attribute__((format(printf, 2, 3)));

// Set while Abort's message box is shown. The frame timer ignores its ticks then, so a failing frame
// cannot stack further boxes from inside the box's own message loop, and the saver window ends
// nothing, so the box stays until the user answers it.
extern int AbortShowing;
