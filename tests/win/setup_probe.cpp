// Runs the real setup dialog so that a script can work it with the mouse and keyboard.
//   setup_probe run <settings file>     the dialog and a plain message loop, as the setup role runs
//                                        it; prints where Browse, OK and Cancel are, and at the end
//                                        the name the edit box shows
//   setup_probe scroll <settings file>  a WM_HSCROLL from a control that is no scroll bar (Abort 462)
//   setup_probe save <settings file>    a scroll step, then OK: saves the file (Abort 336 when that fails)
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "resources/dialog_ids.h"
#include "settings/settings_file.h"
#include "settings/setup_dialog_win.h"
#include "shell/saver_handles_win.h"

static void PrintCentre(HWND dialog, const char* label, int id) {
  RECT rect;
  GetWindowRect(GetDlgItem(dialog, id), &rect);
  std::printf("%s %ld %ld\n", label, (rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
}

int main(int argc, char** argv) {
  if (argc != 3) return 2;
  SettingsPath = argv[2];
  for (int i = 0; i < kFaceCount; ++i) std::snprintf(FaceFiles[i], kFaceNameSize, "C:\\old\\face%d.bmp", i + 1);
  SizeSetting = 40;
  SpeedSetting = 60;
  AppInstance = GetModuleHandleA(nullptr);
  DialogBrush = CreateSolidBrush(GetSysColor(COLOR_BTNFACE));
  HWND dialog = CreateDialogParamA(AppInstance, "DL0G", nullptr, SetupDlgProc, 0);
  if (dialog == nullptr) return 3;
  if (std::strcmp(argv[1], "scroll") == 0) {
    SendMessageA(dialog, WM_HSCROLL, SB_LINERIGHT, reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_FACE_NAME)));
    return 4;  // not reached: Abort ends the process
  }
  if (std::strcmp(argv[1], "save") == 0) {
    SendMessageA(dialog, WM_HSCROLL, SB_LINERIGHT, reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_SIZE_SCROLL)));
    SendMessageA(dialog, WM_COMMAND, IDOK, 0);
    return 0;
  }
  PrintCentre(dialog, "browse", IDC_BROWSE);
  PrintCentre(dialog, "ok", IDOK);
  PrintCentre(dialog, "face3", IDC_FACE3);
  PrintCentre(dialog, "face5", IDC_FACE5);
  std::printf("ready\n");
  std::fflush(stdout);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  char name[MAX_PATH] = {};
  GetDlgItemTextA(dialog, IDC_FACE_NAME, name, sizeof name);
  std::printf("name %s\nchanged %d\n", name, SettingsChanged);
  return 0;
}
