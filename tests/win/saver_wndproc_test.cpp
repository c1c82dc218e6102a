// SaverWndProc driven with real messages on a real "SCREENSAVER" window under Wine: what ends the
// saver (the quit message), what it answers, and which timers it stops.
#include <gtest/gtest.h>
#include <windows.h>

#include "saver_window_helpers.h"
#include "shell/fatal.h"
#include "shell/saver_rules.h"
#include "shell/saver_handles_win.h"

namespace {

struct Case {
  const char* name;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};

class SaverWndProcTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window = SharedSaverWindow();
    ASSERT_NE(window, nullptr);
    // Start-up's state, whatever an earlier test left: no box shown, full-screen role, grace period.
    SaverWindow = window;
    AbortShowing = 0;
    PreviewMode = SetupMode = 0;
    IgnoreMouse = 1;
    MouseMinX = MouseMinY = -1;
    MouseMaxX = MouseMaxY = 0;
    // Start from no pending quit: creation and activation may have left messages behind.
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    TakeQuit(nullptr);
  }
  void ExpectQuit(const Case& c) {
    LRESULT result = SendMessageA(window, c.message, c.wParam, c.lParam);
    EXPECT_EQ(result, 0) << c.name;
    WPARAM code = 99;
    EXPECT_EQ(TakeQuit(&code), 1) << c.name << " must post the quit message";
    EXPECT_EQ(code, 0u) << c.name << ": quit code";
  }
  void ExpectNoQuit(const Case& c, LRESULT want) {
    EXPECT_EQ(SendMessageA(window, c.message, c.wParam, c.lParam), want) << c.name;
    EXPECT_EQ(TakeQuit(nullptr), 0) << c.name << " must not end the saver";
  }
  HWND window = nullptr;
};

TEST_F(SaverWndProcTest, KeysAndLeftOrRightClicksEndTheSaver) {
  const Case cases[] = {
      {"space key", WM_KEYDOWN, VK_SPACE, 0x00390001},
      {"shift key", WM_KEYDOWN, VK_SHIFT, 0x002A0001},
      {"Alt+F (WM_SYSKEYDOWN)", WM_SYSKEYDOWN, 'F', 0x20210001},
      {"Alt alone (WM_SYSKEYDOWN)", WM_SYSKEYDOWN, VK_MENU, 0x20380001},
      {"left click", WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10)},
      {"right click", WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(10, 10)},
  };
  for (const Case& c : cases) ExpectQuit(c);
}

TEST_F(SaverWndProcTest, MiddleClickAndReleasesDoNotEndTheSaver) {
  const Case cases[] = {
      {"middle click", WM_MBUTTONDOWN, MK_MBUTTON, MAKELPARAM(10, 10)},
      {"middle release", WM_MBUTTONUP, 0, MAKELPARAM(10, 10)},
      {"key release", WM_KEYUP, VK_SPACE, static_cast<LPARAM>(0xC0390001u)},
      {"left release", WM_LBUTTONUP, 0, MAKELPARAM(10, 10)},
  };
  for (const Case& c : cases) {
    LRESULT want = DefWindowProcA(window, c.message, c.wParam, c.lParam);
    ExpectNoQuit(c, want);
  }
}

TEST_F(SaverWndProcTest, DeactivationEndsTheSaverActivationDoesNot) {
  ExpectQuit({"WM_ACTIVATE WA_INACTIVE", WM_ACTIVATE, 0, 0});
  ExpectQuit({"WM_ACTIVATEAPP 0", WM_ACTIVATEAPP, 0, 0});
  ExpectNoQuit({"WM_ACTIVATE WA_ACTIVE", WM_ACTIVATE, WA_ACTIVE, 0}, 0);
  ExpectNoQuit({"WM_ACTIVATE WA_CLICKACTIVE", WM_ACTIVATE, WA_CLICKACTIVE, 0}, 0);
  ExpectNoQuit({"WM_ACTIVATEAPP 1", WM_ACTIVATEAPP, 1, 0}, 0);
}

TEST_F(SaverWndProcTest, SystemCommandsAreSwallowed) {
  ExpectNoQuit({"SC_SCREENSAVE", WM_SYSCOMMAND, SC_SCREENSAVE, 0}, 0);
  ExpectNoQuit({"SC_CLOSE", WM_SYSCOMMAND, SC_CLOSE, 0}, 0);
  ExpectNoQuit({"SC_MINIMIZE", WM_SYSCOMMAND, SC_MINIMIZE, 0}, 1);
  ExpectNoQuit({"SC_MOVE", WM_SYSCOMMAND, SC_MOVE, 0}, 1);
  ExpectNoQuit({"SC_KEYMENU", WM_SYSCOMMAND, SC_KEYMENU, 0}, 1);
  ExpectNoQuit({"SC_SCREENSAVE | 1 (not exactly)", WM_SYSCOMMAND, SC_SCREENSAVE | 1, 0}, 1);
  // None of them was carried out: the window is still there, neither closed nor minimised.
  EXPECT_TRUE(IsWindow(window));
  EXPECT_FALSE(IsIconic(window));
  EXPECT_TRUE(IsWindowVisible(window));
}

TEST_F(SaverWndProcTest, CursorIsHiddenOnlyInTheFullScreenRole) {
  HCURSOR arrow = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  ASSERT_NE(arrow, nullptr);
  LPARAM hit = MAKELPARAM(HTCLIENT, WM_MOUSEMOVE);
  struct Role {
    const char* name;
    int preview;
    int setup;
    bool hidden;
  };
  const Role roles[] = {{"full screen", 0, 0, true}, {"preview", 1, 0, false}, {"setup", 0, 1, false}};
  for (const Role& role : roles) {
    PreviewMode = role.preview;
    SetupMode = role.setup;
    SetCursor(arrow);
    EXPECT_EQ(SendMessageA(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window), hit), 1) << role.name;
    EXPECT_EQ(GetCursor(), role.hidden ? nullptr : arrow) << role.name;
  }
  EXPECT_EQ(TakeQuit(nullptr), 0);
}

TEST_F(SaverWndProcTest, PaintValidatesWithoutDrawing) {
  const COLORREF sentinel = RGB(12, 34, 56);
  PaintWindow(window, sentinel);
  InvalidateRect(window, nullptr, FALSE);
  EXPECT_EQ(SendMessageA(window, WM_PAINT, 0, 0), 0);
  EXPECT_FALSE(GetUpdateRect(window, nullptr, FALSE)) << "WM_PAINT must validate the window";
  HDC dc = GetDC(window);
  std::vector<uint32_t> pixels = ReadPixels(dc, kViewWidth, kViewHeight);
  ReleaseDC(window, dc);
  size_t changed = 0;
  for (uint32_t p : pixels) changed += p != 0x0C2238u;
  EXPECT_EQ(changed, 0u) << "pixels drawn by WM_PAINT";
}

static bool GraceOver() { return GraceTimer == 0; }

TEST_F(SaverWndProcTest, MouseTravelCountsOnlyAfterTheGraceTimer) {
  IgnoreMouse = 1;
  GraceTimer = SetTimer(window, 2, 300, nullptr);
  ASSERT_EQ(GraceTimer, 2u);
  ExpectNoQuit({"move to 0,0 in the grace period", WM_MOUSEMOVE, 0, MAKELPARAM(0, 0)}, 0);
  ExpectNoQuit({"move to 300,199 in the grace period", WM_MOUSEMOVE, 0, MAKELPARAM(300, 199)}, 0);
  ExpectNoQuit({"move to 0,0 in the grace period", WM_MOUSEMOVE, 0, MAKELPARAM(0, 0)}, 0);
  ExpectNoQuit({"another timer id", WM_TIMER, 3, 0}, 0);
  EXPECT_EQ(IgnoreMouse, 1) << "only timer 2 ends the grace period";

  // The real timer, dispatched from the queue, ends the grace period and stops itself.
  ASSERT_TRUE(PumpUntil(GraceOver, 5000)) << "the grace timer never fired";
  EXPECT_EQ(IgnoreMouse, 0);
  EXPECT_FALSE(KillTimer(window, 2)) << "the grace timer must have been killed";
  EXPECT_EQ(TakeQuit(nullptr), 0);

  ExpectNoQuit({"first move only records", WM_MOUSEMOVE, 0, MAKELPARAM(150, 100)}, 0);
  ExpectNoQuit({"100 pixels right", WM_MOUSEMOVE, 0, MAKELPARAM(250, 100)}, 0);
  ExpectNoQuit({"back left", WM_MOUSEMOVE, 0, MAKELPARAM(160, 100)}, 0);
  ExpectQuit({"101 pixels right of the first position", WM_MOUSEMOVE, 0, MAKELPARAM(251, 100)});
}

TEST_F(SaverWndProcTest, MovesLeftOfTheWindowCountAsLargeCoordinates) {
  IgnoreMouse = 0;
  ExpectNoQuit({"first move at 5,5", WM_MOUSEMOVE, 0, MAKELPARAM(5, 5)}, 0);
  ExpectQuit({"one pixel left of the window (x = 65535)", WM_MOUSEMOVE, 0, MAKELPARAM(-1, 5)});
}

TEST_F(SaverWndProcTest, NothingEndsTheSaverWhileAbortsBoxIsShown) {
  // The box deactivates the window; its user moves the mouse and clicks. The quit would end the box.
  IgnoreMouse = 0;
  AbortShowing = 1;
  const Case cases[] = {
      {"WM_ACTIVATE WA_INACTIVE", WM_ACTIVATE, 0, 0},
      {"WM_ACTIVATEAPP 0", WM_ACTIVATEAPP, 0, 0},
      {"space key", WM_KEYDOWN, VK_SPACE, 0x00390001},
      {"Alt+F (WM_SYSKEYDOWN)", WM_SYSKEYDOWN, 'F', 0x20210001},
      {"left click", WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10)},
      {"right click", WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(10, 10)},
      {"first move", WM_MOUSEMOVE, 0, MAKELPARAM(10, 10)},
      {"move of 200 pixels", WM_MOUSEMOVE, 0, MAKELPARAM(210, 10)},
      {"WM_CLOSE", WM_CLOSE, 0, 0},
  };
  for (const Case& c : cases) ExpectNoQuit(c, 0);
  EXPECT_TRUE(IsWindow(window)) << "WM_CLOSE destroyed the box's owner";
}

// WM_DESTROY and WM_CLOSE on a second, hidden window, so the shared one lives on for the frame tests.
TEST_F(SaverWndProcTest, DestroyKillsBothTimersAndEndsTheSaver) {
  HWND shared = window;
  HWND other = CreateSaverWindow(64, 64, false);
  ASSERT_NE(other, nullptr);
  SaverWindow = window = other;  // the messages below go to the hidden window
  FrameTimer = SetTimer(other, 1, 1000000, nullptr);
  GraceTimer = SetTimer(other, 2, 1000000, nullptr);
  ASSERT_EQ(FrameTimer, 1u);
  ASSERT_EQ(GraceTimer, 2u);
  ExpectQuit({"WM_DESTROY", WM_DESTROY, 0, 0});
  EXPECT_FALSE(KillTimer(other, 1)) << "frame timer still running";
  EXPECT_FALSE(KillTimer(other, 2)) << "grace timer still running";
  EXPECT_EQ(FrameTimer, 0u);
  EXPECT_EQ(GraceTimer, 0u);

  // WM_CLOSE destroys the window, which stops its timers and ends the saver the same way.
  FrameTimer = SetTimer(other, 1, 1000000, nullptr);
  ExpectQuit({"WM_CLOSE", WM_CLOSE, 0, 0});
  EXPECT_FALSE(IsWindow(other)) << "WM_CLOSE must destroy the window";
  EXPECT_EQ(FrameTimer, 0u);
  SaverWindow = window = shared;
  EXPECT_TRUE(IsWindow(shared));
}

}  // namespace
