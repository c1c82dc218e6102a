// Calls Abort the way the saver does, so a test can watch the message box and the exit code.
//   abort_probe <code>            Abort(code, "expected to find whirlbox.ini ...") with no saver window
//   abort_probe <code> window     the same with a saver window and both timers running
//   abort_probe overflow          a message of 1024 characters (FatalAppExitA instead of the box)
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "shell/fatal.h"
#include "shell/saver_handles_win.h"

static LRESULT CALLBACK ProbeWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(window, message, wParam, lParam);
}

static void MakeSaverWindow() {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = ProbeWndProc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "ABORTPROBE";
  RegisterClassA(&windowClass);
  SaverWindow = CreateWindowExA(0, "ABORTPROBE", "abort probe", WS_POPUP | WS_VISIBLE, 0, 0, 64, 64, nullptr,
                                nullptr, windowClass.hInstance, nullptr);
  FrameTimer = SetTimer(SaverWindow, 1, 50, nullptr);
  GraceTimer = SetTimer(SaverWindow, 2, 2500, nullptr);
}

int main(int argc, char** argv) {
  if (argc >= 2 && std::strcmp(argv[1], "overflow") == 0) {
    std::string message(1024, 'x');
    Abort(1, "%s", message.c_str());
  }
  int code = argc >= 2 ? std::atoi(argv[1]) : 551;
  if (argc >= 3 && std::strcmp(argv[2], "window") == 0) MakeSaverWindow();
  Abort(code, kFatalNoSettings.format);
}
