// Row addressing of the bottom-up 24-bit surfaces for the raster operations. No platform headers.
#pragma once
#include <cstddef>
#include <cstdint>

#include "render/surface.h"

// The first byte of row y counted from the top (0 <= y < height): rows are stored bottom row first.
inline uint8_t* SurfaceRow(const Surface& surface, int y) {
  return surface.bits + static_cast<ptrdiff_t>(surface.height - 1 - y) * surface.stride;
}

// True when the surface can be drawn on: pixel memory, positive size and rows of at least 3 * width.
inline bool SurfaceUsable(const Surface& surface) {
  return surface.bits != nullptr && surface.width > 0 && surface.height > 0 &&
         static_cast<int64_t>(surface.stride) >= 3 * static_cast<int64_t>(surface.width);
}
