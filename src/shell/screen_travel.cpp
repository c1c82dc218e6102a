// The screen-wide mouse-travel box. Portable: no Windows headers.
#include "shell/screen_travel.h"

#include "shell/saver_rules.h"

int ScreenTravelSeen = 0;
int32_t ScreenMinX = 0;
int32_t ScreenMinY = 0;
int32_t ScreenMaxX = 0;
int32_t ScreenMaxY = 0;

int ScreenTravelEnds(int32_t x, int32_t y) {
  if (IgnoreMouse) return 0;
  // A flag, not a negative minimum, marks the empty box: screen coordinates may be negative.
  if (!ScreenTravelSeen) {
    ScreenTravelSeen = 1;
    ScreenMinX = ScreenMaxX = x;
    ScreenMinY = ScreenMaxY = y;
    return 0;
  }
  if (x < ScreenMinX) ScreenMinX = x;
  if (x > ScreenMaxX) ScreenMaxX = x;
  if (y < ScreenMinY) ScreenMinY = y;
  if (y > ScreenMaxY) ScreenMaxY = y;
  // 64-bit spans: two positions near the ends of the 32-bit range must not overflow.
  int64_t width = static_cast<int64_t>(ScreenMaxX) - ScreenMinX;
  int64_t height = static_cast<int64_t>(ScreenMaxY) - ScreenMinY;
  return (width > kMouseTravelLimit || height > kMouseTravelLimit) ? 1 : 0;
}
