// The two-pass oracle: a plain nearest-neighbour stretch, and a transfer that walks each span with
// the exact quotient-and-remainder steps of parallelogram_walk.h (no fixed-point shortcut).
#include "two_pass.h"

#include <algorithm>

#include "render/painter.h"
#include "render/parallelogram_walk.h"

bool StretchPicture(const Surface& target, int w, int hh, const PackedDib* picture) {
  if (w < 0 || hh < 0 || !StretchablePicture(picture)) return false;
  if (w == 0 || hh == 0 || !SurfaceUsable(target)) return true;
  const int bits = picture->biBitCount;
  const int64_t stride = DibRowStride64(picture->biWidth, bits);
  uint32_t palette[256];
  if (bits <= 8) LoadPalette(picture, palette);
  for (int y = 0; y < std::min(hh, target.height); ++y) {
    int sourceRow = StretchSourceIndex(y, picture->biHeight, hh);
    const uint8_t* row = DibBits(picture) + (picture->biHeight - 1 - sourceRow) * stride;  // rows are bottom-up
    uint8_t* out = SurfaceRow(target, y);
    for (int x = 0; x < std::min(w, target.width); ++x, out += 3) {
      int column = StretchSourceIndex(x, picture->biWidth, w);
      uint32_t pixel;
      if (bits >= 24) {
        const uint8_t* p = row + column * (bits / 8);
        pixel = p[0] | (p[1] << 8) | (uint32_t{p[2]} << 16);
      } else if (bits == 8) {
        pixel = palette[row[column]];
      } else {
        pixel = PackedIndexColour(row, column, bits, palette);
      }
      out[0] = static_cast<uint8_t>(pixel);
      out[1] = static_cast<uint8_t>(pixel >> 8);
      out[2] = static_cast<uint8_t>(pixel >> 16);
    }
  }
  return true;
}

bool TransferParallelogram(const Surface& target, const ScreenPoint corners[3], const Surface& source, int w,
                           int hh) {
  ParallelogramWalk walk;
  int start = StartParallelogram(corners, w, hh, target.height, &walk);
  if (start != 0) return start > 0;
  if (!SurfaceUsable(target) || !SurfaceUsable(source)) return true;
  for (int64_t y = walk.firstRow; y <= walk.lastRow; ++y) {
    int64_t first, last;
    SourceWalk u, v;
    if (!RowSpan(walk, y, target.width, &first, &last, &u, &v)) continue;
    uint8_t* out = SurfaceRow(target, static_cast<int>(y)) + 3 * first;
    for (int64_t x = first; x <= last; ++x, out += 3) {
      if (u.index < source.width && v.index < source.height) {
        const uint8_t* in = SurfaceRow(source, static_cast<int>(v.index)) + 3 * u.index;
        std::copy(in, in + 3, out);
      }
      StepWalk(&u, walk.d);
      StepWalk(&v, walk.d);
    }
  }
  return true;
}
