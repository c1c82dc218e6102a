// A stand-in for the screen-saver settings page: a window with a 152 x 112 client area that starts
// "whirlbox.scr /p <its handle>" and reports how the preview ended.
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

static HWND CreateHost() {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = HostWndProc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
  windowClass.lpszClassName = "PREVIEWHOST";
  RegisterClassA(&windowClass);
  RECT frame = {0, 0, 152, 112};
  DWORD style = WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN;  // the host never paints over the preview
  AdjustWindowRect(&frame, style, FALSE);
  return CreateWindowExA(0, "PREVIEWHOST", "WhirlBox preview host", style, 100, 100, frame.right - frame.left,
                         frame.bottom - frame.top, nullptr, nullptr, windowClass.hInstance, nullptr);
}

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: preview_host <saver> [seconds]\n");
    return 2;
  }
  DWORD limit = argc >= 3 ? static_cast<DWORD>(std::atoi(argv[2])) * 1000u : 60000u;
  HWND host = CreateHost();
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
  DWORD childFound = 0;
  for (;;) {
    // A new child becomes visible only at the end of its creation: report it once it is, or once it
    // has stayed hidden for 3 s.
    HWND child = GetWindow(host, GW_CHILD);
    if (child != nullptr && childFound == 0) childFound = GetTickCount() | 1;
    if (child != nullptr && !childReported && (IsWindowVisible(child) || GetTickCount() - childFound > 3000)) {
      childReported = true;
      RECT rect;
      GetWindowRect(child, &rect);
      POINT origin = {rect.left, rect.top};
      ScreenToClient(host, &origin);
      std::printf("child %ldx%ld at %ld,%ld visible %d\n", rect.right - rect.left, rect.bottom - rect.top, origin.x,
                  origin.y, IsWindowVisible(child) ? 1 : 0);
      std::fflush(stdout);
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
