// CoverWndProc: one short case per message. The covers end the saver as its own window does; the travel
// decision is the portable screen-wide rule. Must not draw: the class's black brush paints the cover.
#include "shell/cover_wndproc_win.h"

#include <windowsx.h>

#include "shell/fatal.h"
#include "shell/monitor_covers_win.h"
#include "shell/screen_travel.h"

// While Abort's box is shown, a quit message would end the box's own loop before it is read; Abort ends
// the process itself.
static void EndSaver() {
  if (!AbortShowing) PostQuitMessage(0);
}

int PointerTravelEnds(HWND window, LPARAM lParam) {
  if (MonitorCoverCount == 0) return 0;
  // Signed client coordinates made screen ones, so every window measures in the same frame.
  POINT point = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  ClientToScreen(window, &point);
  return ScreenTravelEnds(point.x, point.y);
}

LRESULT CALLBACK CoverWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;  // a click must not take activation from the saver's window
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
      EndSaver();
      return 0;
    case WM_MOUSEMOVE:
      if (PointerTravelEnds(window, lParam)) EndSaver();
      return 0;
    case WM_SETCURSOR:
      SetCursor(nullptr);  // covers exist only in the full-screen role, which shows no cursor
      return 1;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}
