// SaverWndProc: one short case per message, each calling its own handler, and the frame step: the
// portable DrawCube draws into the back buffer's pixel memory, GDI copies the changed area to the
// window. The decisions that need no Windows (mouse travel) live in shell/saver_rules.cpp.
#include "shell/saver_wndproc_win.h"

#include <cstdint>

#include "render/back_buffers_win.h"
#include "render/draw_cube.h"
#include "shell/monitor_covers_win.h"
#include "shell/fatal.h"
#include "shell/saver_handles_win.h"
#include "shell/saver_rules.h"

// The frame step of WM_TIMER 1. Does nothing while Abort's box is shown: a frame that failed once
// would fail again and stack a second box on the first from inside the box's own message loop.
static void RunFrameStep() {
  if (AbortShowing) return;
  // The last BitBlt may still be queued in GDI; it reads the memory DrawCube is about to write.
  GdiFlush();
  Rect copy = DrawCube();
  HDC window = GetDC(SaverWindow);
  if (window == nullptr) Abort(kFatalFrameDc, static_cast<int>(GetLastError()));
  // Not clipped here: the area may reach past the view, and GDI clips to the window.
  BitBlt(window, copy.left, copy.top, copy.right - copy.left, copy.bottom - copy.top, BackDc, copy.left, copy.top,
         SRCCOPY);
  ReleaseDC(SaverWindow, window);
}

// Stops both timers. The handles are cleared too, so that nothing (Abort included) kills them again.
static void OnDestroy() {
  if (FrameTimer != 0) KillTimer(SaverWindow, FrameTimer);
  if (GraceTimer != 0) KillTimer(SaverWindow, GraceTimer);
  FrameTimer = 0;
  GraceTimer = 0;
  PostQuitMessage(0);
}

void EndSaver() {
  if (!AbortShowing) PostQuitMessage(0);
}

bool EndSaverOnInput(UINT message) {
  switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
      EndSaver();
      return true;
    default:
      return false;
  }
}

// WM_ACTIVATE and WM_ACTIVATEAPP: losing activation (a whole wParam of 0) ends the saver.
static void OnActivate(WPARAM wParam) {
  if (wParam == 0) EndSaver();
}

// The window's own rule first; while monitor covers are up, travel across monitors counts too.
static void OnMouseMove(HWND window, LPARAM lParam) {
  if (MouseTravelEnds(static_cast<uint32_t>(lParam)) || PointerTravelEnds(window, lParam)) EndSaver();
}

// Frames are drawn by the timer; painting only validates the window.
static void OnPaint(HWND window) {
  PAINTSTRUCT paint;
  if (BeginPaint(window, &paint) == nullptr) {
    Abort(kFatalBeginPaint, static_cast<int>(GetLastError()));
  }
  EndPaint(window, &paint);
}

// No cursor over the full-screen saver; the preview keeps whatever cursor is shown.
static LRESULT OnSetCursor() {
  if (!PreviewMode && !SetupMode) SetCursor(nullptr);
  return 1;
}

// No system command is carried out while the saver runs, so a second start of the saver is swallowed.
static LRESULT OnSysCommand(WPARAM wParam) {
  return (wParam == SC_SCREENSAVE || wParam == SC_CLOSE) ? 0 : 1;
}

static void EndGracePeriod() {
  IgnoreMouse = 0;
  KillTimer(SaverWindow, GraceTimer);
  GraceTimer = 0;
}

static void OnTimer(WPARAM id) {
  if (id == kFrameTimerId) RunFrameStep();
  if (id == kGraceTimerId) EndGracePeriod();
}

LRESULT CALLBACK SaverWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      return 0;
    case WM_CLOSE:
      if (!AbortShowing) DestroyWindow(window);  // destroying the owner would take Abort's box with it
      return 0;
    case WM_DESTROY:
      OnDestroy();
      return 0;
    case WM_ACTIVATE:
    case WM_ACTIVATEAPP:
      OnActivate(wParam);
      return 0;
    case WM_MOUSEMOVE:
      OnMouseMove(window, lParam);
      return 0;
    case WM_PAINT:
      OnPaint(window);
      return 0;
    case WM_SETCURSOR:
      return OnSetCursor();
    case WM_SYSCOMMAND:
      return OnSysCommand(wParam);
    case WM_TIMER:
      OnTimer(wParam);
      return 0;
    default:
      if (EndSaverOnInput(message)) return 0;
      return DefWindowProcA(window, message, wParam, lParam);
  }
}
