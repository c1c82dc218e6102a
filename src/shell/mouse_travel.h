// The rule that ends the saver on mouse travel: after the grace period, once the pointer has covered
// more than 100 pixels horizontally or vertically. Pure and portable: no Windows headers, no quit here.
#pragma once
#include <cstdint>

extern int IgnoreMouse;  // 1 during the grace period: every movement is ignored
extern int32_t MouseMinX;  // smallest pointer x since the grace period ended; < 0: nothing recorded yet
extern int32_t MouseMinY;
extern int32_t MouseMaxX;  // largest pointer x since the grace period ended
extern int32_t MouseMaxY;

// Largest span, in pixels on either axis, that the pointer may cover without ending the saver.
constexpr int32_t kMouseTravelLimit = 100;

// Applies one WM_MOUSEMOVE position (the low 32 bits of its lParam: x in the low 16 bits, y in the
// high 16, both unsigned) to the travel box. Returns 1 when the saver must end, 0 otherwise.
int MouseTravelEnds(uint32_t position);
