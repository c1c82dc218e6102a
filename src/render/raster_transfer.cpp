// TransferParallelogram: the exact spans of parallelogram_walk.h, painted from a 24-bit surface.
// DrawCube draws faces with TransferPicture, which equals a stretch followed by this transfer; this
// one stays simple. No platform headers.
#include "render/raster_transfer.h"

#include <cstring>

#include "render/surface_rows.h"

namespace {

// Paints count pixels whose samples all lie in source, with fixed-point walks (exact, see FixedBits).
void TransferSpanFixed(uint8_t* out, const uint8_t* top, int64_t count, FixedWalk u, FixedWalk v, int bits,
                       int64_t stride) {
  for (int64_t i = 0; i < count; ++i, out += 3) {
    std::memcpy(out, top + 3 * (u.position >> bits) - (v.position >> bits) * stride, 3);
    u.position += u.step;
    v.position += v.step;
  }
}

// Every other span, with the exact quotient-and-remainder walk: pixels whose sample lies outside
// source stay unchanged.
void TransferSpanChecked(uint8_t* out, const Surface& source, int64_t count, SourceWalk u, SourceWalk v, int64_t d) {
  const uint8_t* top = SurfaceRow(source, 0);
  for (int64_t i = 0; i < count; ++i, out += 3) {
    if (u.index < source.width && v.index < source.height) {
      std::memcpy(out, top + 3 * u.index - v.index * source.stride, 3);
    }
    StepWalk(&u, d);
    StepWalk(&v, d);
  }
}

}  // namespace

bool TransferParallelogram(const Surface& target, const ScreenPoint corners[3], const Surface& source, int w,
                           int hh) {
  ParallelogramWalk walk;
  int start = StartParallelogram(corners, w, hh, target.height, &walk);
  if (start != 0) return start > 0;
  if (!SurfaceUsable(target) || !SurfaceUsable(source)) return true;
  bool checked = w > source.width || hh > source.height;
  int fixedBits = checked ? -1 : FixedBits(walk.d, target.width);
  for (int64_t y = walk.firstRow; y <= walk.lastRow; ++y) {
    int64_t first, last;
    SourceWalk u, v;
    if (!RowSpan(walk, y, target.width, &first, &last, &u, &v)) continue;
    uint8_t* out = SurfaceRow(target, static_cast<int>(y)) + 3 * first;
    if (fixedBits >= 0) {
      TransferSpanFixed(out, SurfaceRow(source, 0), last - first + 1, MakeFixed(u, walk.d, fixedBits),
                        MakeFixed(v, walk.d, fixedBits), fixedBits, source.stride);
    } else {
      TransferSpanChecked(out, source, last - first + 1, u, v, walk.d);
    }
  }
  return true;
}
