// The mouse-travel rule over the process-wide travel box. Portable: no Windows headers.
#include "shell/mouse_travel.h"

int IgnoreMouse = 1;
int32_t MouseMinX = -1;
int32_t MouseMinY = -1;
int32_t MouseMaxX = 0;
int32_t MouseMaxY = 0;

int MouseTravelEnds(uint32_t position) {
  if (IgnoreMouse) return 0;
  // Unsigned on purpose: a position left of or above the window's origin counts as a large value.
  int32_t x = static_cast<int32_t>(position & 0xFFFFu);
  int32_t y = static_cast<int32_t>(position >> 16);
  if (MouseMinX < 0) {
    MouseMinX = MouseMaxX = x;
    MouseMinY = MouseMaxY = y;
    return 0;
  }
  // The box only ever grows: small steps in one direction add up.
  if (x <= MouseMinX) MouseMinX = x;
  if (x >= MouseMaxX) MouseMaxX = x;
  if (y <= MouseMinY) MouseMinY = y;
  if (y >= MouseMaxY) MouseMaxY = y;
  return (MouseMaxX - MouseMinX > kMouseTravelLimit || MouseMaxY - MouseMinY > kMouseTravelLimit) ? 1 : 0;
}
