// FillSurfaceRect: clip, then fill row by row (memset when the three channels agree, as for black).
// No platform headers.
#include "render/raster_fill.h"

#include <cstring>

#include "render/surface_rows.h"

void FillSurfaceRect(const Surface& surface, Rect rect, DibColor colour) {
  if (!SurfaceUsable(surface)) return;
  int left = rect.left < 0 ? 0 : rect.left;
  int top = rect.top < 0 ? 0 : rect.top;
  int right = rect.right > surface.width ? surface.width : rect.right;
  int bottom = rect.bottom > surface.height ? surface.height : rect.bottom;
  if (right <= left || bottom <= top) return;
  size_t bytes = static_cast<size_t>(right - left) * 3;
  bool grey = colour.blue == colour.green && colour.green == colour.red;
  for (int y = top; y < bottom; ++y) {
    uint8_t* out = SurfaceRow(surface, y) + static_cast<size_t>(left) * 3;
    if (grey) {
      std::memset(out, colour.blue, bytes);
      continue;
    }
    for (size_t i = 0; i < bytes; i += 3) {
      out[i] = colour.blue;
      out[i + 1] = colour.green;
      out[i + 2] = colour.red;
    }
  }
}
