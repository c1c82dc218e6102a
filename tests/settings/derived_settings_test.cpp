// Size and speed to half edge and frame period, the clamping, and the scroll bars' steps.
#include <gtest/gtest.h>

#include <climits>

#include "settings/derived_settings.h"

TEST(DerivedSettings, HalfEdgesAndPeriodsOfTheTable) {
  const int settings[] = {0, 10, 25, 50, 75, 90, 100};
  const int halfEdges[] = {32, 36, 53, 122, 259, 380, 480};
  const int intervals[] = {501, 383, 246, 106, 46, 31, 26};
  for (int i = 0; i < 7; ++i) {
    EXPECT_EQ(HalfEdgeForSize(settings[i]), halfEdges[i]) << "size " << settings[i];
    EXPECT_EQ(IntervalForSpeed(settings[i]), intervals[i]) << "speed " << settings[i];
  }
}

TEST(DerivedSettings, LargerSizeNeverShrinksAndFasterNeverSlows) {
  for (int s = 1; s <= 100; ++s) {
    EXPECT_GE(HalfEdgeForSize(s), HalfEdgeForSize(s - 1)) << "size " << s;
    EXPECT_LE(IntervalForSpeed(s), IntervalForSpeed(s - 1)) << "speed " << s;
  }
}

TEST(DerivedSettings, ClampKeepsZeroToHundred) {
  EXPECT_EQ(ClampSetting(-1), 0);
  EXPECT_EQ(ClampSetting(0), 0);
  EXPECT_EQ(ClampSetting(100), 100);
  EXPECT_EQ(ClampSetting(101), 100);
  EXPECT_EQ(ClampSetting(INT_MIN), 0);
}

TEST(ScrollSteps, DragLandsOnTheNearestMultipleOfFive) {
  const unsigned thumbs[] = {0, 2, 3, 7, 8, 97, 98, 100, 101, 300, 65535};
  const int want[] = {0, 0, 5, 5, 10, 95, 100, 100, 100, 100, 100};
  for (int i = 0; i < 11; ++i) {
    EXPECT_EQ(NextScrollPosition(kScrollThumbTrack, thumbs[i], 50), want[i]) << "thumb " << thumbs[i];
  }
}

TEST(ScrollSteps, ArrowsAndPagesStopAtTheLimits) {
  EXPECT_EQ(NextScrollPosition(kScrollLineRight, 0, 97), 100);
  EXPECT_EQ(NextScrollPosition(kScrollLineRight, 0, 100), 100);
  EXPECT_EQ(NextScrollPosition(kScrollLineLeft, 0, 3), 0);
  EXPECT_EQ(NextScrollPosition(kScrollLineLeft, 0, 50), 45);
  EXPECT_EQ(NextScrollPosition(kScrollPageLeft, 0, 4), 0);
  EXPECT_EQ(NextScrollPosition(kScrollPageLeft, 0, 50), 40);
  EXPECT_EQ(NextScrollPosition(kScrollPageRight, 0, 95), 100);
  EXPECT_EQ(NextScrollPosition(kScrollPageRight, 0, 7), 17);
}

TEST(ScrollSteps, ArrowsKeepTheRemainderFromTheFile) {
  int position = 7;
  position = NextScrollPosition(kScrollLineRight, 0, position);
  EXPECT_EQ(position, 12);
  position = NextScrollPosition(kScrollLineRight, 0, position);
  EXPECT_EQ(position, 17);
}

TEST(ScrollSteps, ReleaseHomeEndAndEndScrollDoNotMove) {
  for (int code : {4, 6, 7, 8, 9, -1}) {
    EXPECT_EQ(NextScrollPosition(code, 40, 50), kScrollNoMove) << "code " << code;
  }
}
