// Abort for Windows: message box owned by the saver window, then the timers, then ExitProcess(0).
#include <windows.h>

#include <cstdarg>

#include "shell/fatal.h"
#include "shell/saver_handles_win.h"

int AbortShowing = 0;

void Abort(int code, const char* format, ...) {
  char text[kFatalTextSize];
  char caption[kFatalCaptionSize];
  va_list args;
  va_start(args, format);
  bool fits = FormatFatalText(text, format, args);
  va_end(args);
  if (!fits) FatalAppExitA(0, kFatalTextOverflow);
  if (!FormatFatalCaption(caption, code)) FatalAppExitA(0, kFatalCaptionOverflow);

  AbortShowing = 1;
  MessageBoxA(SaverWindow, text, caption, MB_OK | MB_ICONHAND);
  if (SaverWindow != nullptr) {
    if (FrameTimer != 0) KillTimer(SaverWindow, FrameTimer);
    if (GraceTimer != 0) KillTimer(SaverWindow, GraceTimer);
  }
  ExitProcess(0);
}
