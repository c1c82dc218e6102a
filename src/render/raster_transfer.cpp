// TransferParallelogram. Pixel centres are taken in doubled coordinates so that they are integers;
// the parallelogram's coordinates s, t (0..1 along the top and left edges) are then exact rationals
// S / D and T / D. Per row the span of x with S and T inside is solved exactly, and along the span
// the source column and row advance by exact quotient-and-remainder steps. No platform headers.
#include "render/raster_transfer.h"

#include <cstring>

#include "render/surface_rows.h"

namespace {

int64_t FloorDiv(int64_t a, int64_t b) {
  int64_t q = a / b;
  if (a % b != 0 && ((a < 0) != (b < 0))) --q;
  return q;
}

int64_t CeilDiv(int64_t a, int64_t b) {
  int64_t q = a / b;
  if (a % b != 0 && ((a < 0) == (b < 0))) ++q;
  return q;
}

// Narrows [*first, *last] to the x with low <= start + x * step <= high.
void ClampSpan(int64_t start, int64_t step, int64_t low, int64_t high, int64_t* first, int64_t* last) {
  if (step > 0) {
    int64_t a = CeilDiv(low - start, step), b = FloorDiv(high - start, step);
    if (a > *first) *first = a;
    if (b < *last) *last = b;
  } else if (step < 0) {
    int64_t a = CeilDiv(high - start, step), b = FloorDiv(low - start, step);
    if (a > *first) *first = a;
    if (b < *last) *last = b;
  } else if (start < low || start > high) {
    *last = *first - 1;
  }
}

// One of the two parallelogram coordinates, scaled by D: value = origin + x * perX + y * perY at
// the doubled centre of pixel (x, y). bias is 1 when the coordinate falls along the tie-break move,
// so a centre on its 0 edge is outside and one on its D edge inside; 0 otherwise.
struct Axis {
  int64_t origin;
  int64_t perX;
  int64_t perY;
  int64_t bias;
  int64_t scale;  // w or hh: source pixels along this axis
};

// The source pixel index and remainder at value, and the step per pixel along x.
struct Walk {
  int64_t index;
  int64_t remainder;
  int64_t step;
  int64_t stepRemainder;
};

Walk StartWalk(const Axis& axis, int64_t value, int64_t d) {
  int64_t numerator = value * axis.scale - axis.bias;  // >= 0 inside the span
  int64_t stepNumerator = axis.perX * axis.scale;
  int64_t step = FloorDiv(stepNumerator, d);
  return Walk{numerator / d, numerator % d, step, stepNumerator - step * d};
}

Axis MakeAxis(int64_t ex, int64_t ey, int64_t ax, int64_t ay, int64_t sign, int64_t scale) {
  // value = sign * (qx * ey - qy * ex), with qx = 2x + 1 - 2ax and qy = 2y + 1 - 2ay.
  Axis axis;
  axis.perX = 2 * sign * ey;
  axis.perY = -2 * sign * ex;
  axis.origin = sign * ((1 - 2 * ax) * ey - (1 - 2 * ay) * ex);
  bool grows = axis.perX > 0 || (axis.perX == 0 && axis.perY > 0);
  axis.bias = grows ? 0 : 1;
  axis.scale = scale;
  return axis;
}

bool WithinLimits(const ScreenPoint corners[3], int w, int hh) {
  for (int i = 0; i < 3; ++i) {
    if (corners[i].x < -kTransferCoordLimit || corners[i].x > kTransferCoordLimit) return false;
    if (corners[i].y < -kTransferCoordLimit || corners[i].y > kTransferCoordLimit) return false;
  }
  return w <= kTransferMaxSide && hh <= kTransferMaxSide;
}

// Paints one row's span [first, last]; checked is set when source does not hold all of (0,0)-(w,hh).
void TransferSpan(const Surface& target, const Surface& source, int y, int64_t first, int64_t last, Walk u, Walk v,
                  int64_t d, bool checked) {
  uint8_t* out = SurfaceRow(target, y) + 3 * first;
  const uint8_t* top = SurfaceRow(source, 0);
  const int64_t stride = source.stride;
  if (!checked) {
    const uint8_t* in = top + 3 * u.index - v.index * stride;
    const int64_t step = 3 * u.step - v.step * stride;
    for (int64_t x = first; x <= last; ++x, out += 3) {
      std::memcpy(out, in, 3);
      in += step;
      u.remainder += u.stepRemainder;
      if (u.remainder >= d) {
        u.remainder -= d;
        in += 3;
      }
      v.remainder += v.stepRemainder;
      if (v.remainder >= d) {
        v.remainder -= d;
        in -= stride;
      }
    }
    return;
  }
  for (int64_t x = first; x <= last; ++x, out += 3) {
    if (u.index < source.width && v.index < source.height) std::memcpy(out, top + 3 * u.index - v.index * stride, 3);
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
  if (w < 0 || hh < 0 || !WithinLimits(corners, w, hh)) return false;
  int64_t ax = corners[0].x, ay = corners[0].y;
  int64_t e1x = corners[1].x - ax, e1y = corners[1].y - ay;  // along the source's top edge
  int64_t e2x = corners[2].x - ax, e2y = corners[2].y - ay;  // along its left edge
  int64_t det = e1x * e2y - e1y * e2x;
  if (w == 0 || hh == 0 || det == 0 || !SurfaceUsable(target) || !SurfaceUsable(source)) return true;
  int64_t sign = det > 0 ? 1 : -1;
  int64_t d = 2 * det * sign;
  // s grows along the top edge: its value is the cross of the centre offset with the left edge.
  Axis s = MakeAxis(e2x, e2y, ax, ay, sign, w);
  Axis t = MakeAxis(-e1x, -e1y, ax, ay, sign, hh);
  bool checked = w > source.width || hh > source.height;

  int64_t yMin = ay, yMax = ay;
  const int64_t ys[3] = {corners[1].y, corners[2].y, corners[1].y + corners[2].y - ay};
  for (int64_t cy : ys) {
    if (cy < yMin) yMin = cy;
    if (cy > yMax) yMax = cy;
  }
  if (yMin < 0) yMin = 0;
  if (yMax > target.height - 1) yMax = target.height - 1;
  for (int64_t y = yMin; y <= yMax; ++y) {
    int64_t sRow = s.origin + y * s.perY, tRow = t.origin + y * t.perY;
    int64_t first = 0, last = target.width - 1;
    ClampSpan(sRow, s.perX, s.bias, d - 1 + s.bias, &first, &last);
    ClampSpan(tRow, t.perX, t.bias, d - 1 + t.bias, &first, &last);
    if (first > last) continue;
    Walk u = StartWalk(s, sRow + first * s.perX, d);
    Walk v = StartWalk(t, tRow + first * t.perX, d);
    TransferSpan(target, source, static_cast<int>(y), first, last, u, v, d, checked);
  }
  return true;
}
