// The mouse-travel rule across every monitor while covers are up: the same 100-pixel limit as the
// saver window's own rule, measured in signed screen coordinates so that a monitor left of or above
// the primary counts by its real distance. Pure and portable: no Windows headers, no quit here.
#pragma once
#include <cstdint>

extern int ScreenTravelSeen;  // 0 until the first position after the grace period is recorded
extern int32_t ScreenMinX;    // the box of screen positions seen since the grace period ended
extern int32_t ScreenMinY;
extern int32_t ScreenMaxX;
extern int32_t ScreenMaxY;

// Applies one pointer position in screen coordinates (negative on a monitor left of or above the
// primary) to the screen-wide box. Ignored during the grace period (IgnoreMouse); the first position
// after it only records. Returns 1 when the box spans more than kMouseTravelLimit on either axis.
int ScreenTravelEnds(int32_t x, int32_t y);
