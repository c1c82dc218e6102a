// The two 24-bit drawing surfaces the cube is composed on, as plain pixel memory that our own raster
// operations work on. On Windows the memory is that of the DIB sections selected into BackDc and
// FaceDc; natively (tool, tests) it is a heap block. No Windows headers.
#pragma once
#include <cstdint>

// Layout of a bottom-up 24-bit DIB section: height rows of stride bytes, the bottom row first, pixels
// blue, green, red; stride = DibRowStride(width, 24).
struct Surface {
  uint8_t* bits;
  int32_t width;
  int32_t height;
  int32_t stride;
};

extern Surface BackSurface;  // the back buffer, in which each frame is composed
extern Surface FaceSurface;  // the face scratch surface, same size and format
