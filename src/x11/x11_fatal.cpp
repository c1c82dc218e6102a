// Abort for the X11 hack: the message with its code on standard error and drawn in the middle of
// the window, which then stays until the hack is killed (a hack that exits shows as crashed).
// Replaces fatal_native.cpp in this program; Xlib only.
#include <X11/Xlib.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "shell/fatal.h"
#include "x11/x11_loop.h"
#include "x11/x11_window.h"

int AbortShowing = 0;

namespace {

// The caption, then the message's lines, white on black, each line centred.
void DrawMessage(const char* caption, const char* text) {
  XWindowAttributes window;
  if (!XGetWindowAttributes(HackDisplay, HackWindow, &window)) return;
  static XFontStruct* font = XLoadQueryFont(HackDisplay, "fixed");
  int screen = DefaultScreen(HackDisplay);
  XSetForeground(HackDisplay, HackGc, BlackPixel(HackDisplay, screen));
  XFillRectangle(HackDisplay, HackWindow, HackGc, 0, 0, static_cast<unsigned>(window.width),
                 static_cast<unsigned>(window.height));
  XSetForeground(HackDisplay, HackGc, WhitePixel(HackDisplay, screen));
  if (font != nullptr) XSetFont(HackDisplay, HackGc, font->fid);
  int ascent = font != nullptr ? font->ascent : 10, lineHeight = font != nullptr ? font->ascent + font->descent : 13;
  int lines = 2;  // the caption and a blank line
  for (const char* c = text; *c != '\0'; ++c) lines += *c == '\n';
  int y = (window.height - (lines + 1) * lineHeight) / 2 + ascent;
  const char* line = caption;
  for (bool inText = false;; y += lineHeight) {
    const char* end = inText ? std::strchr(line, '\n') : nullptr;
    int length = static_cast<int>(end != nullptr ? end - line : std::strlen(line));
    int width = font != nullptr ? XTextWidth(font, line, length) : 6 * length;
    XDrawString(HackDisplay, HackWindow, HackGc, (window.width - width) / 2, y, line, length);
    if (!inText) {
      inText = true;
      line = text;
      y += lineHeight;  // the blank line under the caption
    } else if (end != nullptr) {
      line = end + 1;
    } else {
      break;
    }
  }
  XFlush(HackDisplay);
}

}  // namespace

void Abort(int code, const char* format, ...) {
  char text[kFatalTextSize];
  char caption[kFatalCaptionSize];
  va_list args;
  va_start(args, format);
  bool fits = FormatFatalText(text, format, args);
  va_end(args);
  if (!fits) std::snprintf(text, sizeof text, "%s", kFatalTextOverflow);
  if (!FormatFatalCaption(caption, code)) std::snprintf(caption, sizeof caption, "Fatal Error");
  AbortShowing = 1;
  std::fprintf(stderr, "whirlbox: %s\n%s\n", caption, text);
  if (HackDisplay != nullptr) DrawMessage(caption, text);
  for (;;) {
    while (HackDisplay != nullptr && XPending(HackDisplay) > 0) {
      XEvent event;
      XNextEvent(HackDisplay, &event);
      if (EndsHack(event)) EndHack();
      if ((event.type == Expose && event.xexpose.count == 0) || event.type == ConfigureNotify) {
        DrawMessage(caption, text);
      }
    }
    if (HackWindowGone || !WaitForX(-1)) EndHack();
  }
}
