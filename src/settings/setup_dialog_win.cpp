// The setup dialog's procedure: one small function per message. It edits FaceFiles, SizeSetting
// and SpeedSetting and saves them on OK; it never loads pictures.
#include "settings/setup_dialog_win.h"

#include <commdlg.h>

#include <cstring>

#include "resources/dialog_ids.h"
#include "settings/derived_settings.h"
#include "settings/settings_file.h"
#include "shell/fatal.h"
#include "shell/saver_handles_win.h"

static_assert(kScrollLineLeft == SB_LINELEFT && kScrollLineRight == SB_LINERIGHT, "scroll codes");
static_assert(kScrollPageLeft == SB_PAGELEFT && kScrollPageRight == SB_PAGERIGHT, "scroll codes");
static_assert(kScrollThumbTrack == SB_THUMBTRACK, "scroll codes");
static_assert(MAX_PATH == kFaceNameSize, "a chosen path fits a face name");
// The release build is 32-bit, where the whole request record is 88 bytes.
static_assert(sizeof(void*) != 4 || sizeof(OPENFILENAMEA) == 88, "OPENFILENAMEA of 88 bytes");

int CurrentFace = 0;
int SettingsChanged = 0;
OPENFILENAMEA BrowseRequest;
char BrowsePath[MAX_PATH];

void CenterWindow(HWND window) {
  RECT rect;
  GetWindowRect(window, &rect);
  int width = rect.right - rect.left;
  int height = rect.bottom - rect.top;
  int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
  int y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  MoveWindow(window, x, y, width, height, TRUE);
}

static void OnInitDialog(HWND dialog) {
  BringWindowToTop(dialog);
  CenterWindow(dialog);
  SendDlgItemMessageA(dialog, IDC_FACE1, BM_SETCHECK, BST_CHECKED, 0);
  SendDlgItemMessageA(dialog, IDC_SIZE_SCROLL, SBM_SETRANGE, 0, 100);
  SendDlgItemMessageA(dialog, IDC_SPEED_SCROLL, SBM_SETRANGE, 0, 100);
  SendDlgItemMessageA(dialog, IDC_SIZE_SCROLL, SBM_SETPOS, SizeSetting, TRUE);
  SendDlgItemMessageA(dialog, IDC_SPEED_SCROLL, SBM_SETPOS, SpeedSetting, TRUE);
  SetDlgItemTextA(dialog, IDC_FACE_NAME, FaceFiles[0]);
}

// Asks for a picture file; a chosen one replaces the current face's name. A cancelled or failed
// file dialog changes nothing.
static void Browse(HWND dialog) {
  BrowseRequest.lStructSize = sizeof(OPENFILENAMEA);
  BrowseRequest.hwndOwner = SaverWindow;  // null in the setup role: the setup dialog stays usable
  BrowseRequest.hInstance = AppInstance;
  BrowseRequest.lpstrFilter = "image files (*.bmp,*.gif,*.jpg)\0*.bmp;*.gif;*.jpg\0";
  BrowseRequest.nFilterIndex = 1;
  BrowseRequest.lpstrFile = BrowsePath;
  BrowseRequest.nMaxFile = MAX_PATH;
  BrowseRequest.lpstrTitle = "Select Image File";
  BrowseRequest.Flags = OFN_PATHMUSTEXIST;
  if (GetOpenFileNameA(&BrowseRequest) == 0) return;
  std::memcpy(FaceFiles[CurrentFace], BrowsePath, sizeof BrowsePath);
  SetDlgItemTextA(dialog, IDC_FACE_NAME, FaceFiles[CurrentFace]);
  SettingsChanged = 1;
}

static int ScrollPosition(HWND dialog, int id) {
  return static_cast<int>(SendDlgItemMessageA(dialog, id, SBM_GETPOS, 0, 0));
}

static void OnOk(HWND dialog) {
  if (SettingsChanged) {
    SizeSetting = ScrollPosition(dialog, IDC_SIZE_SCROLL);
    SpeedSetting = ScrollPosition(dialog, IDC_SPEED_SCROLL);
    SaveSettings();
  }
  PostQuitMessage(0);
}

// Only click notifications match: the whole wParam is compared with the ids.
static void OnCommand(HWND dialog, WPARAM wParam) {
  if (wParam == IDC_BROWSE) {
    Browse(dialog);
  } else if (wParam >= IDC_FACE1 && wParam <= IDC_FACE6) {
    CurrentFace = static_cast<int>(wParam) - IDC_FACE1;
    SetDlgItemTextA(dialog, IDC_FACE_NAME, FaceFiles[CurrentFace]);
  } else if (wParam == IDOK) {
    OnOk(dialog);
  } else if (wParam == IDCANCEL) {
    PostQuitMessage(0);
  }
}

static void OnHScroll(HWND dialog, WPARAM wParam, LPARAM lParam) {
  HWND bar = reinterpret_cast<HWND>(lParam);
  int* setting = nullptr;
  if (bar == GetDlgItem(dialog, IDC_SIZE_SCROLL)) {
    setting = &SizeSetting;
  } else if (bar == GetDlgItem(dialog, IDC_SPEED_SCROLL)) {
    setting = &SpeedSetting;
  } else {
    Abort(kFatalUnknownScroll);
  }
  SettingsChanged = 1;  // whatever the code: a click at a limit still counts as a change
  int position = static_cast<int>(SendMessageA(bar, SBM_GETPOS, 0, 0));
  int next = NextScrollPosition(LOWORD(wParam), HIWORD(wParam), position);
  if (next == kScrollNoMove) return;
  *setting = next;
  SendMessageA(bar, SBM_SETPOS, next, TRUE);
}

static INT_PTR OnControlColour(WPARAM wParam, bool edit) {
  HDC dc = reinterpret_cast<HDC>(wParam);
  if (edit) {
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkColor(dc, RGB(255, 255, 255));
    return reinterpret_cast<INT_PTR>(GetStockObject(WHITE_BRUSH));
  }
  SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
  return reinterpret_cast<INT_PTR>(DialogBrush);
}

INT_PTR CALLBACK SetupDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      OnInitDialog(dialog);
      return FALSE;  // no default focus
    case WM_COMMAND:
      OnCommand(dialog, wParam);
      return TRUE;
    case WM_HSCROLL:
      OnHScroll(dialog, wParam, lParam);
      return FALSE;
    case WM_CTLCOLOREDIT:
      return OnControlColour(wParam, true);
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
      return OnControlColour(wParam, false);
    case WM_CTLCOLORDLG:
      return reinterpret_cast<INT_PTR>(DialogBrush);
    case WM_CLOSE:
      PostQuitMessage(0);
      return TRUE;
    default:
      return FALSE;
  }
}
