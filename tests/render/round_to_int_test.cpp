// RoundToInt: halves away from zero, zero and not-a-number to 0, no undefined conversions.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

#include "render/round_to_int.h"

TEST(RoundToInt, HalvesGoAwayFromZero) {
  EXPECT_EQ(RoundToInt(2.5), 3);
  EXPECT_EQ(RoundToInt(-2.5), -3);
  EXPECT_EQ(RoundToInt(79.5), 80);
  EXPECT_EQ(RoundToInt(-79.5), -80);
  EXPECT_EQ(RoundToInt(0.49), 0);
  EXPECT_EQ(RoundToInt(-0.49), 0);
  EXPECT_EQ(RoundToInt(1.4999999999999998), 1);
  EXPECT_EQ(RoundToInt(0.49999999999999994), 1);  // the sum with 0.5 rounds to 1.0 before truncating
  EXPECT_EQ(RoundToInt(-0.49999999999999994), -1);
  EXPECT_EQ(RoundToInt(121.6), 122);
}

TEST(RoundToInt, ZeroAndNotANumberGiveZero) {
  EXPECT_EQ(RoundToInt(0.0), 0);
  EXPECT_EQ(RoundToInt(-0.0), 0);
  EXPECT_EQ(RoundToInt(std::numeric_limits<double>::quiet_NaN()), 0);
}

TEST(RoundToInt, ValuesBeyondTheIntRangeGiveTheLimits) {
  EXPECT_EQ(RoundToInt(1e300), INT_MAX);
  EXPECT_EQ(RoundToInt(-1e300), INT_MIN);
  EXPECT_EQ(RoundToInt(std::numeric_limits<double>::infinity()), INT_MAX);
  EXPECT_EQ(RoundToInt(2147483646.4), 2147483646);
  EXPECT_EQ(RoundToInt(-2147483647.6), -2147483648);
}
