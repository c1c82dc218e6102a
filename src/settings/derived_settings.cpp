// Size and speed to half edge and frame period: cubic polynomials evaluated in one fixed order of
// double operations, so every build gives the same whole numbers. The scroll bars' steps: arrows by
// 5, pages by 10, drags to the nearest multiple of 5.
#include "settings/derived_settings.h"

#include "render/round_to_int.h"

int ClampSetting(int setting) {
  if (setting > 100) return 100;
  if (setting < 0) return 0;
  return setting;
}

int HalfEdgeForSize(int size) {
  double s = size;
  return RoundToInt(((0.000192 * s + 0.0249143) * s + 0.0685714) * s + 32.3429);
}

int IntervalForSpeed(int speed) {
  // Runs on 100 minus the speed, so a faster setting gives a shorter period.
  double t = 100 - speed;
  return RoundToInt(((0.0004 * t + 0.00285714) * t + 0.464286) * t + 26.0714);
}

int NextScrollPosition(int code, unsigned thumb, int position) {
  switch (code) {
    case kScrollLineLeft:
      return position - 5 < 0 ? 0 : position - 5;
    case kScrollLineRight:
      return position + 5 > 100 ? 100 : position + 5;
    case kScrollPageLeft:
      return position - 10 < 0 ? 0 : position - 10;
    case kScrollPageRight:
      return position + 10 > 100 ? 100 : position + 10;
    case kScrollThumbTrack:
      return ClampSetting(RoundToInt((thumb & 0xffffu) / 5.0) * 5);
    default:
      return kScrollNoMove;
  }
}
