// The monitor covers under Wine: a cover made at negative screen coordinates, what ends the saver on
// it, that it never takes activation, and mouse travel measured across a cover and the saver window.
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "saver_window_helpers.h"
#include "shell/monitor_covers_win.h"
#include "shell/fatal.h"
#include "shell/saver_rules.h"

namespace {

// A monitor left of the primary: screen x from -300 to -100.
constexpr Rect kLeftMonitor{-300, 0, -100, 200};

class CoverWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saver = SharedSaverWindow();
    ASSERT_NE(saver, nullptr);
    cover = CreateCoverWindow(kLeftMonitor);
    ASSERT_NE(cover, nullptr);
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    TakeQuit(nullptr);
  }
  void TearDown() override {
    DestroyMonitorCovers();
    ResetTravel(1);  // the load values, which the saver window's tests start from
  }
  static void ResetTravel(int ignore) {
    IgnoreMouse = ignore;
    ScreenTravelSeen = 0;
    MouseMinX = MouseMinY = -1;
    MouseMaxX = MouseMaxY = 0;
  }
  // Sends a message and returns 1 when it posted the quit message with code 0, 0 when none.
  int Quits(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    SendMessageA(window, message, wParam, lParam);
    WPARAM code = 99;
    int quit = TakeQuit(&code);
    if (quit) {
      EXPECT_EQ(code, 0u) << "quit code";
    }
    return quit;
  }
  HWND saver = nullptr;
  HWND cover = nullptr;
};

TEST_F(CoverWindowTest, IsAShownTopmostBorderlessPopupOfTheRectangleThatTakesNoActivation) {
  EXPECT_EQ(MonitorCoverCount, 1);
  RECT r;
  GetWindowRect(cover, &r);
  EXPECT_EQ(r.left, kLeftMonitor.left);
  EXPECT_EQ(r.top, kLeftMonitor.top);
  EXPECT_EQ(r.right, kLeftMonitor.right);
  EXPECT_EQ(r.bottom, kLeftMonitor.bottom);
  EXPECT_TRUE(IsWindowVisible(cover));
  LONG style = GetWindowLongA(cover, GWL_STYLE);
  EXPECT_EQ(style & (WS_POPUP | WS_BORDER | WS_CAPTION | WS_THICKFRAME), WS_POPUP);
  EXPECT_TRUE(GetWindowLongA(cover, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_NE(GetActiveWindow(), cover) << "showing the cover must not activate it";
  SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW)));
  EXPECT_EQ(SendMessageA(cover, WM_SETCURSOR, reinterpret_cast<WPARAM>(cover), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)), 1);
  EXPECT_EQ(GetCursor(), nullptr) << "no cursor over a cover";

  DestroyMonitorCovers();
  EXPECT_FALSE(IsWindow(cover));
  EXPECT_EQ(MonitorCoverCount, 0);
}

TEST_F(CoverWindowTest, KeysAndLeftOrRightClicksEndTheSaverExceptUnderAbortsBox) {
  EXPECT_EQ(Quits(cover, WM_KEYDOWN, VK_SPACE, 0x00390001), 1) << "space";
  EXPECT_EQ(Quits(cover, WM_SYSKEYDOWN, 'F', 0x20210001), 1) << "Alt+F";
  EXPECT_EQ(Quits(cover, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10)), 1) << "left click";
  EXPECT_EQ(Quits(cover, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(10, 10)), 1) << "right click";
  EXPECT_EQ(Quits(cover, WM_MBUTTONDOWN, MK_MBUTTON, MAKELPARAM(10, 10)), 0) << "middle click";
  EXPECT_EQ(Quits(cover, WM_KEYUP, VK_SPACE, static_cast<LPARAM>(0xC0390001u)), 0) << "key release";
  AbortShowing = 1;  // Abort's box is up: its loop must not be ended under it
  EXPECT_EQ(Quits(cover, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10)), 0) << "left click under Abort's box";
  AbortShowing = 0;
  EXPECT_TRUE(IsWindow(cover));
}

TEST_F(CoverWindowTest, TravelIsMeasuredAcrossTheCoverAndTheSaverInScreenPixels) {
  struct Move {
    const char* what;
    bool onCover;
    int x, y;  // client coordinates of the window moved over
    int quits;
  };
  // The cover's client x 295 is screen x -5: ten pixels from the saver's x 5, not 65531 away.
  const std::vector<Move> crossing = {
      {"grace over: first move, on the saver", false, 5, 10, 0},
      {"over the edge onto the cover, 10 pixels", true, 295, 10, 0},
      {"on the cover, 100 pixels from the saver's move", true, 205, 10, 0},
      {"on the cover, 101 pixels", true, 204, 10, 1},
  };
  // Back from the cover onto the saver: only the screen-wide box sees this travel.
  const std::vector<Move> returning = {
      {"grace over: first move, on the cover", true, 290, 10, 0},
      {"onto the saver, 95 pixels", false, 85, 10, 0},
      {"on the saver, 101 pixels from the cover's move", false, 91, 10, 1},
  };
  for (const std::vector<Move>* path : {&crossing, &returning}) {
    ResetTravel(0);
    for (const Move& m : *path) {
      EXPECT_EQ(Quits(m.onCover ? cover : saver, WM_MOUSEMOVE, 0, MAKELPARAM(m.x, m.y)), m.quits) << m.what;
    }
  }
}

static bool Never() { return false; }

// A real middle click, through the input queue, on a cover where the screen shows it: the cover must
// not become the active window, which would deactivate the saver's window and so end the saver.
TEST_F(CoverWindowTest, ARealClickLeavesTheSaversWindowActive) {
  HWND shown = CreateCoverWindow(Rect{kViewWidth + 50, 0, kViewWidth + 250, 150});
  ASSERT_NE(shown, nullptr);
  SetForegroundWindow(saver);
  PumpUntil(Never, 200);
  ASSERT_EQ(GetActiveWindow(), saver);
  TakeQuit(nullptr);
  SetCursorPos(kViewWidth + 150, 75);
  INPUT clicks[2] = {};
  clicks[0].type = clicks[1].type = INPUT_MOUSE;
  clicks[0].mi.dwFlags = MOUSEEVENTF_MIDDLEDOWN;
  clicks[1].mi.dwFlags = MOUSEEVENTF_MIDDLEUP;
  ASSERT_EQ(SendInput(2, clicks, sizeof(INPUT)), 2u);
  PumpUntil(Never, 500);
  EXPECT_EQ(GetActiveWindow(), saver) << "active: " << GetActiveWindow() << ", cover " << shown;
  EXPECT_EQ(TakeQuit(nullptr), 0) << "the saver's window lost activation";
}

}  // namespace
