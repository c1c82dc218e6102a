// The mouse-travel rule: grace period, first position, the 100-pixel limit, the growing box, and
// positions outside the window read as unsigned 16-bit values.
#include <gtest/gtest.h>

#include <cstdint>

#include "shell/saver_rules.h"

// The lParam of WM_MOUSEMOVE: x in the low 16 bits, y in the high 16 bits.
static uint32_t Pos(uint32_t x, uint32_t y) { return ((y & 0xFFFFu) << 16) | (x & 0xFFFFu); }

// The box as it stands after the grace period, before any movement.
static void AfterGrace() {
  IgnoreMouse = 0;
  MouseMinX = -1;
  MouseMinY = -1;
  MouseMaxX = 0;
  MouseMaxY = 0;
}

// Copied before main, so before any test moves them: the globals are constant-initialised, and hold
// their load values by the time any dynamic initialisation runs.
static const int32_t kLoaded[] = {IgnoreMouse, MouseMinX, MouseMinY, MouseMaxX, MouseMaxY};

TEST(MouseTravel, LoadValuesIgnoreTheMouseWithNothingRecorded) {
  EXPECT_EQ(kLoaded[0], 1) << "IgnoreMouse";
  EXPECT_EQ(kLoaded[1], -1) << "MouseMinX";
  EXPECT_EQ(kLoaded[2], -1) << "MouseMinY";
  EXPECT_EQ(kLoaded[3], 0) << "MouseMaxX";
  EXPECT_EQ(kLoaded[4], 0) << "MouseMaxY";
}

TEST(MouseTravel, GracePeriodIgnoresEveryMoveHoweverLarge) {
  AfterGrace();
  IgnoreMouse = 1;
  EXPECT_EQ(MouseTravelEnds(Pos(0, 0)), 0);
  EXPECT_EQ(MouseTravelEnds(Pos(1000, 700)), 0);
  EXPECT_EQ(MouseTravelEnds(Pos(0, 0)), 0);
  EXPECT_EQ(MouseMinX, -1) << "nothing may be recorded during the grace period";
  EXPECT_EQ(MouseMaxX, 0);
}

TEST(MouseTravel, FirstPositionOnlyRecords) {
  AfterGrace();
  EXPECT_EQ(MouseTravelEnds(Pos(500, 300)), 0);
  EXPECT_EQ(MouseMinX, 500);
  EXPECT_EQ(MouseMaxX, 500);
  EXPECT_EQ(MouseMinY, 300);
  EXPECT_EQ(MouseMaxY, 300);
}

TEST(MouseTravel, FirstPositionFarFromTheOriginDoesNotEnd) {
  // Far from the load box (0, 0): the first position must not be measured against it.
  AfterGrace();
  EXPECT_EQ(MouseTravelEnds(Pos(1023, 767)), 0);
}

TEST(MouseTravel, HundredPixelsIsAllowedHundredAndOneEnds) {
  AfterGrace();
  MouseTravelEnds(Pos(200, 200));
  EXPECT_EQ(MouseTravelEnds(Pos(300, 200)), 0) << "x span 100";
  EXPECT_EQ(MouseTravelEnds(Pos(301, 200)), 1) << "x span 101";

  AfterGrace();
  MouseTravelEnds(Pos(200, 200));
  EXPECT_EQ(MouseTravelEnds(Pos(200, 100)), 0) << "y span 100 upwards";
  EXPECT_EQ(MouseTravelEnds(Pos(200, 99)), 1) << "y span 101 upwards";

  AfterGrace();
  MouseTravelEnds(Pos(200, 200));
  EXPECT_EQ(MouseTravelEnds(Pos(99, 200)), 1) << "a single move of 101 to the left";
}

TEST(MouseTravel, DiagonalBelowTheLimitOnBothAxesDoesNotEnd) {
  // The rule measures each axis on its own: a diagonal of 100 by 100 (141 pixels long) is allowed.
  AfterGrace();
  MouseTravelEnds(Pos(200, 200));
  EXPECT_EQ(MouseTravelEnds(Pos(300, 300)), 0);
  EXPECT_EQ(MouseTravelEnds(Pos(300, 301)), 1);
}

TEST(MouseTravel, SmallStepsAddUp) {
  AfterGrace();
  MouseTravelEnds(Pos(400, 400));
  for (int step = 1; step <= 10; ++step) {
    EXPECT_EQ(MouseTravelEnds(Pos(400 + 10 * step, 400)), 0) << "after " << step << " steps of 10";
  }
  EXPECT_EQ(MouseTravelEnds(Pos(501, 400)), 1) << "101 pixels in steps of 10 and 1";
}

TEST(MouseTravel, BoxIsNeverReset) {
  // Back and forth inside 100 pixels for a long time never ends; one step past the far side of the
  // box that was reached long ago does.
  AfterGrace();
  MouseTravelEnds(Pos(300, 300));
  MouseTravelEnds(Pos(240, 300));  // box 240..300
  for (int i = 0; i < 1000; ++i) {
    ASSERT_EQ(MouseTravelEnds(Pos(i % 2 ? 250 : 290, 300)), 0) << "move " << i;
  }
  EXPECT_EQ(MouseMinX, 240);
  EXPECT_EQ(MouseMaxX, 300);
  EXPECT_EQ(MouseTravelEnds(Pos(340, 300)), 0) << "span 100 from the old minimum";
  EXPECT_EQ(MouseTravelEnds(Pos(341, 300)), 1) << "span 101 from the old minimum";
}

TEST(MouseTravel, CoordinatesAreUnsigned16Bit) {
  // One pixel left of the window's origin arrives as x = 0xFFFF, a span of 65535 from x = 0.
  AfterGrace();
  MouseTravelEnds(Pos(0, 10));
  EXPECT_EQ(MouseTravelEnds(Pos(0xFFFF, 10)), 1);
  EXPECT_EQ(MouseMaxX, 65535);

  // Above the origin: y = 0xFFFE.
  AfterGrace();
  MouseTravelEnds(Pos(10, 1));
  EXPECT_EQ(MouseTravelEnds(Pos(10, 0xFFFE)), 1);

  // Two positions both outside the window, close to each other, stay within the limit.
  AfterGrace();
  EXPECT_EQ(MouseTravelEnds(Pos(0xFFF0, 0xFFF0)), 0);
  EXPECT_EQ(MouseTravelEnds(Pos(0xFFFF, 0xFFFF)), 0);
  EXPECT_EQ(MouseMinX, 0xFFF0);
  EXPECT_EQ(MouseMaxY, 0xFFFF);
}
