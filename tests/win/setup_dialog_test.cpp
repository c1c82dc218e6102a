// The setup dialog created from the real template: its controls, what WM_INITDIALOG does, and which
// actions rewrite the settings file (OK after a change) and which leave it alone.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "common/test_files.h"
#include "settings/settings_file.h"
#include "settings/setup_dialog_win.h"
#include "shell/saver_handles_win.h"
#include "win/dialog_template_check.h"

namespace {

// Names that differ from the file's, so that any rewrite shows in its bytes.
const char kOldFile[] = "old1.bmp\nold2.gif\nold3.jpg\nold4.bmp\nold5.gif\nold6.jpg\n37 64\n";
std::string settingsPath;

std::string Text(const Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }

FILETIME WriteTime(const std::string& path) {
  FILETIME written = {};
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  GetFileTime(file, nullptr, nullptr, &written);
  CloseHandle(file);
  return written;
}

// Dates the file back to 2001, so that a rewrite, however quick, changes its time.
void AgeFile(const std::string& path) {
  SYSTEMTIME old = {2001, 1, 1, 1, 12, 0, 0, 0};
  FILETIME time;
  SystemTimeToFileTime(&old, &time);
  HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  SetFileTime(file, nullptr, nullptr, &time);
  CloseHandle(file);
}

// Handles every waiting message (paint messages stay queued until handled); true when a quit
// message with code 0 was among them.
bool TakeQuit() {
  MSG message;
  bool quit = false;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      quit = quit || message.wParam == 0;
      continue;
    }
    DispatchMessageA(&message);
  }
  return quit;
}

std::string ItemText(HWND dialog, int id) {
  char text[300] = {};
  GetDlgItemTextA(dialog, id, text, sizeof text);
  return text;
}

class SetupDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    settingsPath = TempPath("whirlbox.ini");
    WriteBytes(settingsPath, Bytes(kOldFile, kOldFile + std::strlen(kOldFile)));
    AgeFile(settingsPath);
    before = WriteTime(settingsPath);
    SettingsPath = settingsPath.c_str();
    for (int i = 0; i < kFaceCount; ++i) std::snprintf(FaceFiles[i], kFaceNameSize, "C:\\pictures\\face%d.bmp", i + 1);
    SizeSetting = 37;
    SpeedSetting = 64;
    SettingsChanged = 0;
    CurrentFace = 0;
    AppInstance = GetModuleHandleA(nullptr);
    if (DialogBrush == nullptr) DialogBrush = CreateSolidBrush(GetSysColor(COLOR_BTNFACE));
    dialog = CreateDialogParamA(AppInstance, "DL0G", nullptr, SetupDlgProc, 0);
    ASSERT_NE(dialog, nullptr) << "error " << GetLastError();
    TakeQuit();
  }
  void TearDown() override {
    DestroyWindow(dialog);
    TakeQuit();
  }
  void Command(WPARAM wParam) { SendMessageA(dialog, WM_COMMAND, wParam, 0); }
  void Scroll(int id, int code, int thumb = 0) {
    SendMessageA(dialog, WM_HSCROLL, MAKEWPARAM(code, thumb), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
  }
  int Position(int id) { return static_cast<int>(SendDlgItemMessageA(dialog, id, SBM_GETPOS, 0, 0)); }
  void ExpectFileUntouched() {
    EXPECT_EQ(Text(ReadBytes(settingsPath)), kOldFile);
    FILETIME after = WriteTime(settingsPath);
    EXPECT_EQ(CompareFileTime(&before, &after), 0) << "the file was rewritten";
  }

  HWND dialog = nullptr;
  FILETIME before = {};
};

TEST_F(SetupDialog, ControlsHaveTheirIdsClassesTextsAndStyles) {
  char text[64];
  GetWindowTextA(dialog, text, sizeof text);
  EXPECT_STREQ(text, "WhirlBox Setup");
  DWORD dialogStyle = static_cast<DWORD>(GetWindowLongA(dialog, GWL_STYLE));
  EXPECT_EQ(dialogStyle & (WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN | WS_CAPTION | WS_SYSMENU), 
            static_cast<DWORD>(WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN | WS_CAPTION | WS_SYSMENU));
  HWND child = GetWindow(dialog, GW_CHILD);  // children come in template order
  for (const ExpectedControl& want : kExpectedControls) {
    SCOPED_TRACE("control " + std::to_string(want.id));
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(GetDlgCtrlID(child), want.id);
    GetClassNameA(child, text, sizeof text);
    EXPECT_STRCASEEQ(text, want.className);
    if (want.id != IDC_FACE_NAME) {
      GetWindowTextA(child, text, sizeof text);
      EXPECT_STREQ(text, want.text);
    }
    DWORD style = static_cast<DWORD>(GetWindowLongA(child, GWL_STYLE));
    LONG extended = GetWindowLongA(child, GWL_EXSTYLE) & ~WS_EX_NOPARENTNOTIFY;
    DWORD wantStyle = want.style | WS_CHILD | WS_VISIBLE;
    if (want.id == IDC_FACE_NAME) {
      // The dialog manager draws an edit box's border as a sunken client edge.
      EXPECT_TRUE((style & WS_BORDER) != 0 || extended == WS_EX_CLIENTEDGE) << "border";
      wantStyle &= ~WS_BORDER;
      extended &= ~WS_EX_CLIENTEDGE;
    }
    EXPECT_EQ(style & wantStyle, wantStyle) << std::hex << "style " << style;
    EXPECT_EQ(style & 0x0f, wantStyle & 0x0f) << "kind of control";
    EXPECT_EQ((style & WS_TABSTOP) != 0, (want.style & WS_TABSTOP) != 0);
    EXPECT_EQ((style & WS_GROUP) != 0, (want.style & WS_GROUP) != 0);
    EXPECT_EQ(extended, 0) << "extended style";
    child = GetWindow(child, GW_HWNDNEXT);
  }
  EXPECT_EQ(child, nullptr) << "more than 17 controls";
}

TEST_F(SetupDialog, InitDialogChecksFaceOneSetsTheBarsAndShowsTheName) {
  EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_FACE1), BST_CHECKED);
  for (int id = IDC_FACE2; id <= IDC_FACE6; ++id) EXPECT_EQ(IsDlgButtonChecked(dialog, id), BST_UNCHECKED);
  for (int id : {IDC_SIZE_SCROLL, IDC_SPEED_SCROLL}) {
    int low = -1, high = -1;
    SendDlgItemMessageA(dialog, id, SBM_GETRANGE, reinterpret_cast<WPARAM>(&low), reinterpret_cast<LPARAM>(&high));
    EXPECT_EQ(low, 0);
    EXPECT_EQ(high, 100);
  }
  EXPECT_EQ(Position(IDC_SIZE_SCROLL), 37);
  EXPECT_EQ(Position(IDC_SPEED_SCROLL), 64);
  EXPECT_EQ(ItemText(dialog, IDC_FACE_NAME), "C:\\pictures\\face1.bmp");
  EXPECT_EQ(CurrentFace, 0);
  EXPECT_EQ(SettingsChanged, 0);
  RECT rect;
  GetWindowRect(dialog, &rect);
  EXPECT_EQ(rect.left, (GetSystemMetrics(SM_CXSCREEN) - (rect.right - rect.left)) / 2);
  EXPECT_EQ(rect.top, (GetSystemMetrics(SM_CYSCREEN) - (rect.bottom - rect.top)) / 2);
}

TEST_F(SetupDialog, CenterWindowKeepsTheSizeAndAllowsNegativePositions) {
  HWND big = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 3001, 2001, nullptr, nullptr, nullptr, nullptr);
  CenterWindow(big);
  RECT rect;
  GetWindowRect(big, &rect);
  EXPECT_EQ(rect.right - rect.left, 3001);
  EXPECT_EQ(rect.bottom - rect.top, 2001);
  EXPECT_EQ(rect.left, (GetSystemMetrics(SM_CXSCREEN) - 3001) / 2);
  EXPECT_EQ(rect.top, (GetSystemMetrics(SM_CYSCREEN) - 2001) / 2);
  DestroyWindow(big);
}

TEST_F(SetupDialog, RadioButtonsShowTheirFaceButAreNoChange) {
  SendDlgItemMessageA(dialog, IDC_FACE3, BM_CLICK, 0, 0);
  EXPECT_EQ(CurrentFace, 2);
  EXPECT_EQ(ItemText(dialog, IDC_FACE_NAME), "C:\\pictures\\face3.bmp");
  EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_FACE3), BST_CHECKED);
  EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_FACE1), BST_UNCHECKED);
  Command(IDC_FACE6);
  EXPECT_EQ(ItemText(dialog, IDC_FACE_NAME), "C:\\pictures\\face6.bmp");
  Command(IDOK);
  EXPECT_TRUE(TakeQuit());
  ExpectFileUntouched();
}

TEST_F(SetupDialog, OtherNotificationsThanClicksDoNothing) {
  Command(MAKEWPARAM(IDC_FACE4, BN_SETFOCUS));
  EXPECT_EQ(CurrentFace, 0);
  Command(MAKEWPARAM(IDC_FACE_NAME, EN_CHANGE));
  Command(MAKEWPARAM(IDOK, 1));
  Command(MAKEWPARAM(IDCANCEL, 1));
  EXPECT_FALSE(TakeQuit());
}

TEST_F(SetupDialog, ScrollingThenOkRewritesTheFile) {
  Scroll(IDC_SIZE_SCROLL, SB_LINERIGHT);
  EXPECT_EQ(Position(IDC_SIZE_SCROLL), 42);
  EXPECT_EQ(SizeSetting, 42);
  Scroll(IDC_SPEED_SCROLL, SB_THUMBTRACK, 98);
  EXPECT_EQ(Position(IDC_SPEED_SCROLL), 100);
  Scroll(IDC_SPEED_SCROLL, SB_THUMBPOSITION, 3);  // the release moves nothing more
  EXPECT_EQ(Position(IDC_SPEED_SCROLL), 100);
  Scroll(IDC_SIZE_SCROLL, SB_PAGELEFT);
  EXPECT_EQ(Position(IDC_SIZE_SCROLL), 32);
  Command(IDOK);
  EXPECT_TRUE(TakeQuit());
  EXPECT_EQ(Text(ReadBytes(settingsPath)),
            "C:\\pictures\\face1.bmp\r\nC:\\pictures\\face2.bmp\r\nC:\\pictures\\face3.bmp\r\n"
            "C:\\pictures\\face4.bmp\r\nC:\\pictures\\face5.bmp\r\nC:\\pictures\\face6.bmp\r\n32 100\r\n");
  EXPECT_EQ(GetFileAttributesA((settingsPath + ".new").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(SetupDialog, ArrowAtItsLimitStillCountsAsAChange) {
  Scroll(IDC_SPEED_SCROLL, SB_THUMBTRACK, 100);
  SettingsChanged = 0;
  Scroll(IDC_SPEED_SCROLL, SB_LINERIGHT);
  EXPECT_EQ(Position(IDC_SPEED_SCROLL), 100);
  EXPECT_EQ(SettingsChanged, 1);
  Command(IDOK);
  EXPECT_TRUE(TakeQuit());
  std::string written = Text(ReadBytes(settingsPath));
  EXPECT_NE(written.find("\r\n37 100\r\n"), std::string::npos) << written;
}

TEST_F(SetupDialog, OkWithoutChangeLeavesTheFileUntouched) {
  Command(IDOK);
  EXPECT_TRUE(TakeQuit());
  ExpectFileUntouched();
}

TEST_F(SetupDialog, CancelAndCloseSaveNothing) {
  Scroll(IDC_SIZE_SCROLL, SB_LINELEFT);
  Command(IDCANCEL);
  EXPECT_TRUE(TakeQuit());
  ExpectFileUntouched();
  EXPECT_EQ(SendMessageA(dialog, WM_CLOSE, 0, 0), 0);
  EXPECT_EQ(SetupDlgProc(dialog, WM_CLOSE, 0, 0), TRUE);
  EXPECT_TRUE(TakeQuit());
  ExpectFileUntouched();
}

TEST_F(SetupDialog, ColourMessagesGiveTheirBrushesAndColours) {
  HDC dc = CreateCompatibleDC(nullptr);
  HWND edit = GetDlgItem(dialog, IDC_FACE_NAME);
  INT_PTR brush = SetupDlgProc(dialog, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(edit));
  EXPECT_EQ(brush, reinterpret_cast<INT_PTR>(GetStockObject(WHITE_BRUSH)));
  EXPECT_EQ(GetTextColor(dc), RGB(0, 0, 0));
  EXPECT_EQ(GetBkColor(dc), RGB(255, 255, 255));
  for (UINT message : {WM_CTLCOLORBTN, WM_CTLCOLORSTATIC}) {
    SetTextColor(dc, RGB(1, 2, 3));
    SetBkColor(dc, RGB(4, 5, 6));
    brush = SetupDlgProc(dialog, message, reinterpret_cast<WPARAM>(dc), 0);
    EXPECT_EQ(brush, reinterpret_cast<INT_PTR>(DialogBrush));
    EXPECT_EQ(GetTextColor(dc), GetSysColor(COLOR_BTNTEXT));
    EXPECT_EQ(GetBkColor(dc), GetSysColor(COLOR_BTNFACE));
  }
  EXPECT_EQ(SetupDlgProc(dialog, WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(dc), 0),
            reinterpret_cast<INT_PTR>(DialogBrush));
  EXPECT_EQ(SetupDlgProc(dialog, WM_CTLCOLORSCROLLBAR, reinterpret_cast<WPARAM>(dc), 0), FALSE);
  DeleteDC(dc);
}

}  // namespace
