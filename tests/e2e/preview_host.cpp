// A stand-in for the screen-saver settings page: a 152 x 112 preview pane, the child of a frame window
// of the same size, that starts "whirlbox.scr /p <the pane's handle>" and reports how the preview ended.
//   preview_host <saver> [seconds]   prints "host <hwnd>", then "child <w>x<h> at <x>,<y> visible <0|1>"
//                                    once the preview's window is there, and at the end "exit <code>";
//                                    exits 0 when the saver ended within the time, 1 otherwise
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

static LRESULT CALLBACK HostWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(window, message, wParam, lParam);
}

// Wine 8.0's X11 driver finds the X window a child window draws on by walking from the child up to,
// not including, its top-level window (another process's window through this property); when none
// has one, the drawing gets no X window at all, so a child of another process's top-level window
// draws nothing. The pane lends itself the frame's X window, whose origin and size it shares, and
// the preview's drawing lands where a user would see it. Windows has no such property: the pane
// then gets none.
static const char kDriverWindowProperty[] = "__wine_x11_whole_window";

// The frame and the pane have no background brush: the host never paints over the preview.
static HWND CreateHost() {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = HostWndProc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "PREVIEWHOST";
  RegisterClassA(&windowClass);
  RECT area = {0, 0, 152, 112};
  DWORD style = WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN;
  AdjustWindowRect(&area, style, FALSE);
  HWND frame = CreateWindowExA(0, "PREVIEWHOST", "WhirlBox preview host", style, 100, 100, area.right - area.left,
                               area.bottom - area.top, nullptr, nullptr, windowClass.hInstance, nullptr);
  HWND pane = CreateWindowExA(0, "PREVIEWHOST", nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 152, 112,
                              frame, nullptr, windowClass.hInstance, nullptr);
  HANDLE drawable = GetPropA(frame, kDriverWindowProperty);
  if (pane != nullptr && drawable != nullptr) SetPropA(pane, kDriverWindowProperty, drawable);
  return pane;
}

static void ReportChild(HWND host, HWND child) {
  RECT rect;
  GetWindowRect(child, &rect);
  POINT origin = {rect.left, rect.top};
  ScreenToClient(host, &origin);
  std::printf("child %ldx%ld at %ld,%ld visible %d\n", rect.right - rect.left, rect.bottom - rect.top, origin.x,
              origin.y, IsWindowVisible(child) ? 1 : 0);
  std::fflush(stdout);
}

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: preview_host <saver> [seconds]\n");
    return 2;
  }
  DWORD limit = argc >= 3 ? static_cast<DWORD>(std::atoi(argv[2])) * 1000u : 60000u;
  HWND host = CreateHost();
  if (host == nullptr) {
    std::printf("cannot create the host window: error %lu\n", GetLastError());
    return 1;
  }
  unsigned handle = static_cast<unsigned>(reinterpret_cast<UINT_PTR>(host));
  std::string command = std::string("\"") + argv[1] + "\" /p " + std::to_string(handle);
  std::printf("host %u\n", handle);
  std::fflush(stdout);

  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    std::printf("cannot start %s: error %lu\n", argv[1], GetLastError());
    return 1;
  }
  // Keep the host's own messages flowing while the child draws into it.
  DWORD start = GetTickCount();
  bool childReported = false;
  bool childSeen = false;
  DWORD childFound = 0;
  for (;;) {
    // A new child becomes visible only at the end of its creation: report it once it is, or once it
    // has stayed hidden for 3 s.
    HWND child = GetWindow(host, GW_CHILD);
    // A flag marks the first sighting: a tick rounded up to be non-zero (tick | 1) could lie 1 ms
    // ahead, and the unsigned difference would read as 49 days.
    if (child != nullptr && !childSeen) {
      childSeen = true;
      childFound = GetTickCount();
    }
    if (child != nullptr && !childReported && (IsWindowVisible(child) || GetTickCount() - childFound > 3000)) {
      childReported = true;
      ReportChild(host, child);
    }
    DWORD waited = MsgWaitForMultipleObjects(1, &process.hProcess, FALSE, 100, QS_ALLINPUT);
    if (waited == WAIT_OBJECT_0) break;
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    if (GetTickCount() - start > limit) {
      std::printf("timeout\n");
      TerminateProcess(process.hProcess, 1);
      return 1;
    }
  }
  DWORD code = 1;
  GetExitCodeProcess(process.hProcess, &code);
  std::printf("exit %lu\n", code);
  return 0;
}
