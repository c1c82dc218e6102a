// The portable side of the monitor covers: which monitors get a cover, and the screen-wide travel box
// that must measure monitors at negative coordinates by their real distance.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "shell/saver_rules.h"

static bool operator==(const Rect& a, const Rect& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

static std::string Show(const std::vector<Rect>& rects) {
  std::string text;
  for (const Rect& r : rects) {
    text += "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" + std::to_string(r.right) + "," +
            std::to_string(r.bottom) + ") ";
  }
  return text.empty() ? "none" : text;
}

TEST(PlaceCovers, EveryMonitorButThePrimaryAndWhatTheSaverAlreadyHides) {
  const Rect primary{0, 0, 1920, 1080};
  struct Case {
    const char* layout;
    std::vector<Rect> monitors;
    int primary;
    std::vector<Rect> want;
  };
  const Case cases[] = {
      {"one monitor", {primary}, 0, {}},
      {"one monitor not marked primary", {{0, 0, 800, 600}}, -1, {}},
      {"side by side, right", {primary, {1920, 0, 3200, 1024}}, 0, {{1920, 0, 3200, 1024}}},
      {"side by side, primary listed second", {{1920, 0, 3200, 1024}, primary}, 1, {{1920, 0, 3200, 1024}}},
      {"left of the primary, negative x", {primary, {-1280, -200, 0, 824}}, 0, {{-1280, -200, 0, 824}}},
      {"above the primary, negative y", {primary, {0, -1080, 1920, 0}}, 0, {{0, -1080, 1920, 0}}},
      {"three in a row", {{-1024, 0, 0, 768}, primary, {1920, 0, 2944, 768}}, 1,
       {{-1024, 0, 0, 768}, {1920, 0, 2944, 768}}},
      // Two heads at the origin, the second larger (as Xvfb's Xinerama lays them out).
      {"overlapping, the second reaching beyond", {{0, 0, 800, 600}, {0, 0, 1024, 768}}, 0, {{0, 0, 1024, 768}}},
      {"overlapping partly", {primary, {1000, 500, 2920, 1580}}, 0, {{1000, 500, 2920, 1580}}},
      {"mirroring the primary", {primary, primary}, 0, {}},
      {"a smaller mirror inside the primary", {primary, {0, 0, 1280, 720}}, 0, {}},
      {"two mirroring each other", {primary, {1920, 0, 3840, 1080}, {1920, 0, 3840, 1080}}, 0,
       {{1920, 0, 3840, 1080}}},
      {"one inside another secondary", {primary, {1920, 100, 2944, 868}, {1920, 0, 3840, 1080}}, 0,
       {{1920, 0, 3840, 1080}}},
      {"an empty rectangle", {primary, {1920, 0, 1920, 1080}, {0, 1080, 800, 1000}}, 0, {}},
      {"no primary marked: every monitor", {{0, 0, 800, 600}, {800, 0, 1600, 600}}, -1,
       {{0, 0, 800, 600}, {800, 0, 1600, 600}}},
      {"primary index out of range", {{0, 0, 800, 600}, {800, 0, 1600, 600}}, 7,
       {{0, 0, 800, 600}, {800, 0, 1600, 600}}},
  };
  for (const Case& c : cases) {
    std::vector<Rect> got(c.monitors.size(), Rect{-9, -9, -9, -9});
    int count = PlaceCovers(c.monitors.data(), static_cast<int>(c.monitors.size()), c.primary, got.data());
    ASSERT_LE(count, static_cast<int>(c.monitors.size())) << c.layout;
    got.resize(static_cast<size_t>(count));
    EXPECT_EQ(got, c.want) << c.layout << ": got " << Show(got) << ", want " << Show(c.want);
  }
}

// The travel boxes as they stand after the grace period, before any movement.
static void AfterGrace() {
  IgnoreMouse = 0;
  ScreenTravelSeen = 0;
  ScreenMinX = ScreenMinY = ScreenMaxX = ScreenMaxY = 0;
}

TEST(ScreenTravel, MeasuresSignedScreenPositionsByTheSaversLimit) {
  struct Point {
    int32_t x, y;
  };
  struct Case {
    const char* path;
    std::vector<Point> moves;  // every move but the last must not end the saver
    int last;                  // what the last move gives
  };
  const Case cases[] = {
      {"first position only records, far from the origin", {{-3000, -2000}}, 0},
      {"100 pixels across the primary's left edge", {{50, 10}, {-50, 10}}, 0},
      {"101 pixels across the primary's left edge", {{50, 10}, {-51, 10}}, 1},
      {"101 pixels inside a monitor at negative x", {{-500, 300}, {-450, 300}, {-399, 300}}, 1},
      {"101 pixels upwards above the primary", {{10, -20}, {10, 81}}, 1},
      {"a position near -1 is not mistaken for an empty box", {{-1, -1}, {-1, 100}}, 1},
      {"small steps add up across the edge", {{30, 5}, {10, 5}, {-10, 5}, {-30, 5}, {-50, 5}, {-71, 5}}, 1},
      {"the far ends of the coordinate range", {{INT32_MIN, 0}, {INT32_MAX, 0}}, 1},
  };
  for (const Case& c : cases) {
    AfterGrace();
    for (size_t i = 0; i + 1 < c.moves.size(); ++i) {
      ASSERT_EQ(ScreenTravelEnds(c.moves[i].x, c.moves[i].y), 0) << c.path << ", move " << i;
    }
    EXPECT_EQ(ScreenTravelEnds(c.moves.back().x, c.moves.back().y), c.last) << c.path;
  }

  AfterGrace();
  IgnoreMouse = 1;
  EXPECT_EQ(ScreenTravelEnds(-2000, 0), 0);
  EXPECT_EQ(ScreenTravelEnds(2000, 0), 0);
  EXPECT_EQ(ScreenTravelSeen, 0) << "nothing may be recorded during the grace period";
  IgnoreMouse = 1;  // as the mouse-travel tests expect at their start
}
