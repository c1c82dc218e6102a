// The saver's entry: shared resources, settings and pictures, then the role the command line
// chooses, its window with back buffers and timers, and the message loop. Windows only.
#include <windows.h>

#include <cstdlib>

#include "render/back_buffers_win.h"
#include "render/draw_cube.h"
#include "render/face_levels.h"
#include "settings/settings_file.h"
#include "settings/setup_dialog_win.h"
#include "shell/fatal.h"
#include "shell/monitor_covers_win.h"
#include "shell/saver_handles_win.h"
#include "shell/saver_rules.h"
#include "shell/saver_wndproc_win.h"

static const char kSaverClass[] = "SCREENSAVER";

// GetMessageA's -1 (failure) is not told apart from a message: the loop goes on.
static WPARAM RunMessageLoop() {
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) != 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return message.wParam;
}

static int RunSetup() {
  SetupMode = 1;
  HWND dialog = CreateDialogParamA(AppInstance, "DL0G", nullptr, SetupDlgProc, 0);
  if (dialog == nullptr) Abort(kFatalSetupDialog, static_cast<int>(GetLastError()));
  RunMessageLoop();
  return 0;
}

static HWND PreviewHost(int argc, char** argv) {
  PreviewHandle read = ReadPreviewHandle(argc, argv);
  if (!read.found) AbortWithoutPreviewHandle(read.source, argv);
  HWND host = reinterpret_cast<HWND>(static_cast<UINT_PTR>(read.handle));
  if (!IsWindow(host)) Abort(kFatalPreviewBad, read.handle);
  return host;
}

static void RegisterSaverClass() {
  WNDCLASSA windowClass = {};
  windowClass.style = 0;
  windowClass.lpfnWndProc = SaverWndProc;
  windowClass.hInstance = AppInstance;
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  windowClass.lpszClassName = kSaverClass;
  if (RegisterClassA(&windowClass) == 0) {
    Abort(kFatalRegisterClass, static_cast<int>(GetLastError()));
  }
}

static void CreatePreviewWindow(HWND host) {
  RECT client;
  // The host may have gone since it was checked; then there is no size to create the child with.
  if (!GetClientRect(host, &client)) {
    Abort(kFatalPreviewWindow, static_cast<int>(GetLastError()));
  }
  SaverWindow = CreateWindowExA(0, kSaverClass, nullptr, WS_CHILD | WS_VISIBLE, 0, 0, client.right - client.left,
                                client.bottom - client.top, host, nullptr, AppInstance, nullptr);
  if (SaverWindow == nullptr) {
    Abort(kFatalPreviewWindow, static_cast<int>(GetLastError()));
  }
  BringWindowToTop(SaverWindow);
  ViewWidth = client.right;
  ViewHeight = client.bottom;
  CubeHalfEdge = PreviewHalfEdge(ViewHeight);
  FrameInterval = kPreviewInterval;
}

static void CreateFullScreenWindow() {
  SaverWindow = CreateWindowExA(WS_EX_TOPMOST, kSaverClass, nullptr, WS_POPUP | WS_VISIBLE, 0, 0, ViewWidth,
                                ViewHeight, nullptr, nullptr, AppInstance, nullptr);
  if (SaverWindow == nullptr) {
    DestroyMonitorCovers();  // a cover over the primary would hide the message box
    Abort(kFatalSaverWindow, static_cast<int>(GetLastError()));
  }
}

static int RunSaver(int argc, char** argv, bool preview) {
  HWND host = nullptr;
  if (preview) {
    PreviewMode = 1;
    host = PreviewHost(argc, argv);
  }
  RegisterSaverClass();
  if (preview) {
    CreatePreviewWindow(host);
  } else {
    CreateMonitorCovers();  // first, so that the saver's window is created above every cover
    CreateFullScreenWindow();
  }
  KeepShownLevels(CubeHalfEdge);  // the role has fixed the half edge: the full pictures go
  DirtyRect = Rect{0, 0, ViewWidth, ViewHeight};
  CreateBackBuffers();
  FrameTimer = SetTimer(SaverWindow, kFrameTimerId, static_cast<UINT>(FrameInterval), nullptr);
  if (FrameTimer == 0) Abort(kFatalFrameTimer, static_cast<int>(GetLastError()));
  GraceTimer = SetTimer(SaverWindow, kGraceTimerId, kGracePeriod, nullptr);
  if (GraceTimer == 0) Abort(kFatalGraceTimer, static_cast<int>(GetLastError()));
  if (!PreviewMode && !SetupMode) ShowCursor(FALSE);
  int code = static_cast<int>(RunMessageLoop());
  DestroyMonitorCovers();
  return code;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  AppInstance = instance;
  DialogBrush = CreateSolidBrush(GetSysColor(COLOR_BTNFACE));
  if (DialogBrush == nullptr) Abort(kFatalDialogBrush, static_cast<int>(GetLastError()));
  ViewWidth = GetSystemMetrics(SM_CXSCREEN);
  ViewHeight = GetSystemMetrics(SM_CYSCREEN);
  LoadSettings();  // in every role, before any window exists

  int argc = __argc;
  char** argv = __argv;
  switch (ChooseRole(argc, argv)) {
    case kRoleSetup: return RunSetup();
    case kRolePreview: return RunSaver(argc, argv, true);
    case kRoleSaver: break;
  }
  return RunSaver(argc, argv, false);
}
