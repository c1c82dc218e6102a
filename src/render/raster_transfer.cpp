// TransferParallelogram: the exact spans of parallelogram_walk.h, painted from a 24-bit surface.
// No platform headers.
#include "render/raster_transfer.h"

#include <cstdint>
#include <cstring>

#include "render/surface_rows.h"

namespace {

// Paints count pixels while the source stays inside (0,0)-(w,hh) of source. Both candidates of each
// remainder are formed from the old one at once, so the carry decision is one short dependency per
// pixel. WideRead loads four bytes per pixel, allowed when every sampled pixel has a byte after it
// inside the surface's rows.
template <bool WideRead>
void TransferSpan(uint8_t* out, const uint8_t* in, int64_t count, SourceWalk u, SourceWalk v, int64_t d,
                  int64_t stride, int64_t ahead) {
  const int64_t step = 3 * u.step - v.step * stride;
  const int64_t uCarry = u.stepRemainder - d, vCarry = v.stepRemainder - d;
  int64_t ru = u.remainder, rv = v.remainder;
  for (int64_t i = 1; i < count; ++i, out += 3) {
    uint32_t pixel = 0;
    std::memcpy(&pixel, in, WideRead ? 4 : 3);
    std::memcpy(out, &pixel, 4);  // the fourth byte is overwritten by the next pixel
    // Ask early for the line the same column needs some rows further down. Prefetching never faults;
    // the address is formed as an integer because it may lie outside the surface.
    __builtin_prefetch(reinterpret_cast<const void*>(reinterpret_cast<uintptr_t>(in) + static_cast<uintptr_t>(ahead)));
    int64_t ruCarried = ru + uCarry, rvCarried = rv + vCarry;
    int64_t advance = step;
    advance += ruCarried >= 0 ? 3 : 0;
    advance -= rvCarried >= 0 ? stride : 0;
    ru = ruCarried >= 0 ? ruCarried : ruCarried + d;
    rv = rvCarried >= 0 ? rvCarried : rvCarried + d;
    in += advance;
  }
  std::memcpy(out, in, 3);  // the last pixel must not touch its right neighbour
}

// Fixed-point stepping: a walk's position times 2^bits, started and stepped by rounding up. After i
// steps the position exceeds the exact one by less than i + 1, and a fraction m / d of the exact
// position never comes closer than 2^bits / d below the next whole index; so while
// 2^bits > d * (i + 1) the whole part is exact. FixedBits picks bits for spans of up to count pixels,
// or -1 when 64-bit positions cannot hold them (then the quotient-and-remainder walk is used).
int FixedBits(int64_t d, int64_t count) {
  for (int bits = 0; bits <= 42; ++bits) {
    if ((int64_t{1} << bits) < d * (count + 2)) continue;
    return d <= (int64_t{1} << (62 - bits)) ? bits : -1;
  }
  return -1;
}

struct FixedWalk {
  int64_t position;
  int64_t step;
};

int64_t CeilDivPositive(int64_t a, int64_t b) { return (a + b - 1) / b; }

FixedWalk MakeFixed(const SourceWalk& walk, int64_t d, int bits) {
  return FixedWalk{(walk.index << bits) + CeilDivPositive(walk.remainder << bits, d),
                   walk.step * (int64_t{1} << bits) + CeilDivPositive(walk.stepRemainder << bits, d)};
}

// Paints count pixels with fixed-point walks: no carries and no branches per pixel, and each pixel's
// address depends on the previous one only through two additions.
template <bool WideRead>
void TransferSpanFixed(uint8_t* out, const uint8_t* top, int64_t count, FixedWalk u, FixedWalk v, int bits,
                       int64_t stride, int64_t ahead) {
  for (int64_t i = 1; i < count; ++i, out += 3) {
    const uint8_t* in = top + 3 * (u.position >> bits) - (v.position >> bits) * stride;
    // Ask early for the line the same column needs some rows further down. Prefetching never faults;
    // the address is formed as an integer because it may lie outside the surface.
    __builtin_prefetch(reinterpret_cast<const void*>(reinterpret_cast<uintptr_t>(in) + static_cast<uintptr_t>(ahead)));
    uint32_t pixel = 0;
    std::memcpy(&pixel, in, WideRead ? 4 : 3);
    std::memcpy(out, &pixel, 4);  // the fourth byte is overwritten by the next pixel
    u.position += u.step;
    v.position += v.step;
  }
  std::memcpy(out, top + 3 * (u.position >> bits) - (v.position >> bits) * stride, 3);
}

// The same for a source smaller than (0,0)-(w,hh): pixels whose sample lies outside stay unchanged.
void TransferSpanChecked(uint8_t* out, const Surface& source, int64_t count, SourceWalk u, SourceWalk v, int64_t d) {
  const uint8_t* top = SurfaceRow(source, 0);
  for (int64_t i = 0; i < count; ++i, out += 3) {
    if (u.index < source.width && v.index < source.height) {
      std::memcpy(out, top + 3 * u.index - v.index * source.stride, 3);
    }
    u.index += u.step;
    u.remainder += u.stepRemainder;
    if (u.remainder >= d) {
      u.remainder -= d;
      ++u.index;
    }
    v.index += v.step;
    v.remainder += v.stepRemainder;
    if (v.remainder >= d) {
      v.remainder -= d;
      ++v.index;
    }
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
  // Pixel w - 1 of the top row is the last pixel in memory; it has a byte after it only when the rows
  // are longer than 3 * w bytes.
  bool wideRead = 3 * static_cast<int64_t>(w) < source.stride;
  const uint8_t* top = SurfaceRow(source, 0);
  // Source bytes six rows further down the target: the mapping is affine, so the same column that
  // many rows below samples about this far away in the source (an estimate is enough).
  double du = 6.0 * static_cast<double>(walk.s.perY) * w / static_cast<double>(walk.d);
  double dv = 6.0 * static_cast<double>(walk.t.perY) * hh / static_cast<double>(walk.d);
  int64_t ahead = 3 * static_cast<int64_t>(du) - static_cast<int64_t>(dv) * source.stride;
  int fixedBits = FixedBits(walk.d, target.width);
  for (int64_t y = walk.firstRow; y <= walk.lastRow; ++y) {
    int64_t first, last;
    SourceWalk u, v;
    if (!RowSpan(walk, y, target.width, &first, &last, &u, &v)) continue;
    uint8_t* out = SurfaceRow(target, static_cast<int>(y)) + 3 * first;
    int64_t count = last - first + 1;
    if (checked) {
      TransferSpanChecked(out, source, count, u, v, walk.d);
      continue;
    }
    if (fixedBits >= 0) {
      FixedWalk fu = MakeFixed(u, walk.d, fixedBits), fv = MakeFixed(v, walk.d, fixedBits);
      if (wideRead) {
        TransferSpanFixed<true>(out, top, count, fu, fv, fixedBits, source.stride, ahead);
      } else {
        TransferSpanFixed<false>(out, top, count, fu, fv, fixedBits, source.stride, ahead);
      }
      continue;
    }
    const uint8_t* in = top + 3 * u.index - v.index * static_cast<int64_t>(source.stride);
    if (wideRead) {
      TransferSpan<true>(out, in, count, u, v, walk.d, source.stride, ahead);
    } else {
      TransferSpan<false>(out, in, count, u, v, walk.d, source.stride, ahead);
    }
  }
  return true;
}
