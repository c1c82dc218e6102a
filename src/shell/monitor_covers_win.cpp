// The monitor covers: found through user32, placed by the portable rule, made and destroyed here, and
// their window procedure, which ends the saver by the saver window's rules. Nothing here draws.
#include "shell/monitor_covers_win.h"

#include <windowsx.h>

#include "shell/fatal.h"
#include "shell/saver_handles_win.h"
#include "shell/saver_wndproc_win.h"

HWND MonitorCovers[kMaxMonitors] = {};
int MonitorCoverCount = 0;

static const char kCoverClass[] = "WhirlBoxCover";

struct MonitorList {
  Rect rects[kMaxMonitors];
  int count;
  int primary;  // index of the monitor marked primary; -1 when none is
};

static BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
  MonitorList* list = reinterpret_cast<MonitorList*>(data);
  if (list->count >= kMaxMonitors) return FALSE;
  MONITORINFO info = {};
  info.cbSize = sizeof(info);
  if (!GetMonitorInfoA(monitor, &info)) return TRUE;  // a monitor we cannot ask about stays uncovered
  const RECT& r = info.rcMonitor;
  if (info.dwFlags & MONITORINFOF_PRIMARY) list->primary = list->count;
  list->rects[list->count++] = Rect{r.left, r.top, r.right, r.bottom};
  return TRUE;
}

// Registers the cover class, or finds it registered by an earlier cover. False when it cannot be had.
static bool RegisterCoverClass() {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = CoverWndProc;
  windowClass.hInstance = AppInstance;
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  windowClass.lpszClassName = kCoverClass;
  return RegisterClassA(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

HWND CreateCoverWindow(const Rect& rect) {
  if (MonitorCoverCount >= kMaxMonitors || !RegisterCoverClass()) return nullptr;
  // Created hidden, then shown without activation: a visible popup would take activation at creation.
  HWND cover = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kCoverClass, nullptr, WS_POPUP,
                               rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr,
                               AppInstance, nullptr);
  if (cover == nullptr) return nullptr;
  ShowWindow(cover, SW_SHOWNOACTIVATE);
  MonitorCovers[MonitorCoverCount++] = cover;
  return cover;
}

void CreateMonitorCovers() {
  MonitorList list = {};
  list.primary = -1;
  EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&list));
  Rect covers[kMaxMonitors];
  int count = PlaceCovers(list.rects, list.count, list.primary, covers);
  for (int i = 0; i < count; ++i) CreateCoverWindow(covers[i]);
}

void DestroyMonitorCovers() {
  for (int i = 0; i < MonitorCoverCount; ++i) DestroyWindow(MonitorCovers[i]);
  MonitorCoverCount = 0;
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
    case WM_MOUSEMOVE:
      if (PointerTravelEnds(window, lParam)) EndSaver();
      return 0;
    case WM_SETCURSOR:
      SetCursor(nullptr);  // covers exist only in the full-screen role, which shows no cursor
      return 1;
    default:
      if (EndSaverOnInput(message)) return 0;
      return DefWindowProcA(window, message, wParam, lParam);
  }
}
