// Exact parallelogram coverage. Pixel centres are taken in doubled coordinates so that they are
// integers; the parallelogram's coordinates s, t (0..1 along the top and left edges) are then exact
// rationals S / d and T / d. Per row the span of x with S and T inside is solved by division, and the
// source index along each axis is floor((S * scale - bias) / d). No drawing.
#include "render/parallelogram_walk.h"

namespace {

// floor(a / b) for b != 0. A hardware 64-bit division costs tens of cycles and each row needs several,
// so the quotient is estimated in double precision (truncated; a call to floor costs more than the
// correction) and then corrected exactly in integers.
int64_t FloorDiv(int64_t a, int64_t b) {
  if (b < 0) {
    a = -a;
    b = -b;
  }
  int64_t q = static_cast<int64_t>(static_cast<double>(a) / static_cast<double>(b));
  while (q * b > a) --q;
  while ((q + 1) * b <= a) ++q;
  return q;
}

int64_t CeilDiv(int64_t a, int64_t b) { return -FloorDiv(-a, b); }

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

WalkAxis MakeAxis(int64_t ex, int64_t ey, int64_t ax, int64_t ay, int64_t sign, int64_t scale) {
  // value = sign * (qx * ey - qy * ex), with qx = 2x + 1 - 2ax and qy = 2y + 1 - 2ay.
  WalkAxis axis;
  axis.perX = 2 * sign * ey;
  axis.perY = -2 * sign * ex;
  axis.origin = sign * ((1 - 2 * ax) * ey - (1 - 2 * ay) * ex);
  // A centre on an edge counts as moved right (then down): the coordinate's 0 edge takes it when the
  // move makes the coordinate grow, its far edge otherwise.
  bool grows = axis.perX > 0 || (axis.perX == 0 && axis.perY > 0);
  axis.bias = grows ? 0 : 1;
  axis.scale = scale;
  return axis;
}

// The per-pixel step of the source index along the axis: perX * scale / d as quotient and remainder.
void SetStep(WalkAxis* axis, int64_t d) {
  int64_t numerator = axis->perX * axis->scale;
  axis->step = FloorDiv(numerator, d);
  axis->stepRemainder = numerator - axis->step * d;
}

SourceWalk StartWalk(const WalkAxis& axis, int64_t value, int64_t d) {
  int64_t numerator = value * axis.scale - axis.bias;  // >= 0 inside the span
  int64_t index = FloorDiv(numerator, d);
  return SourceWalk{index, numerator - index * d, axis.step, axis.stepRemainder};
}

bool WithinLimits(const ScreenPoint corners[3], int w, int hh) {
  for (int i = 0; i < 3; ++i) {
    if (corners[i].x < -kTransferCoordLimit || corners[i].x > kTransferCoordLimit) return false;
    if (corners[i].y < -kTransferCoordLimit || corners[i].y > kTransferCoordLimit) return false;
  }
  return w <= kTransferMaxSide && hh <= kTransferMaxSide;
}

}  // namespace

int StartParallelogram(const ScreenPoint corners[3], int w, int hh, int targetHeight, ParallelogramWalk* walk) {
  if (w < 0 || hh < 0 || !WithinLimits(corners, w, hh)) return -1;
  int64_t ax = corners[0].x, ay = corners[0].y;
  int64_t e1x = corners[1].x - ax, e1y = corners[1].y - ay;  // along the source's top edge
  int64_t e2x = corners[2].x - ax, e2y = corners[2].y - ay;  // along its left edge
  int64_t det = e1x * e2y - e1y * e2x;
  if (w == 0 || hh == 0 || det == 0 || targetHeight <= 0) return 1;
  int64_t sign = det > 0 ? 1 : -1;
  walk->d = 2 * det * sign;
  // s is the cross of the centre's offset with the left edge, t the cross of the top edge with it.
  walk->s = MakeAxis(e2x, e2y, ax, ay, sign, w);
  walk->t = MakeAxis(-e1x, -e1y, ax, ay, sign, hh);
  SetStep(&walk->s, walk->d);
  SetStep(&walk->t, walk->d);
  int64_t low = ay, high = ay;
  const int64_t ys[3] = {corners[1].y, corners[2].y, corners[1].y + corners[2].y - ay};
  for (int64_t y : ys) {
    if (y < low) low = y;
    if (y > high) high = y;
  }
  walk->firstRow = low < 0 ? 0 : low;
  walk->lastRow = high > targetHeight - 1 ? targetHeight - 1 : high;
  return 0;
}

bool RowSpan(const ParallelogramWalk& walk, int64_t y, int targetWidth, int64_t* first, int64_t* last, SourceWalk* u,
             SourceWalk* v) {
  int64_t sRow = walk.s.origin + y * walk.s.perY, tRow = walk.t.origin + y * walk.t.perY;
  *first = 0;
  *last = targetWidth - 1;
  ClampSpan(sRow, walk.s.perX, walk.s.bias, walk.d - 1 + walk.s.bias, first, last);
  ClampSpan(tRow, walk.t.perX, walk.t.bias, walk.d - 1 + walk.t.bias, first, last);
  if (*first > *last) return false;
  *u = StartWalk(walk.s, sRow + *first * walk.s.perX, walk.d);
  *v = StartWalk(walk.t, tRow + *first * walk.t.perX, walk.d);
  return true;
}

int FixedBits(int64_t d, int64_t count) {
  for (int bits = 0; bits <= 42; ++bits) {
    if ((int64_t{1} << bits) < d * (count + 2)) continue;
    return d <= (int64_t{1} << (62 - bits)) ? bits : -1;
  }
  return -1;
}

FixedWalk MakeFixed(const SourceWalk& walk, int64_t d, int bits) {
  // Rounding up: ceil(remainder * 2^bits / d), with remainder < d so the product stays below 2^62.
  int64_t start = -FloorDiv(-(walk.remainder << bits), d);
  int64_t step = -FloorDiv(-(walk.stepRemainder << bits), d);
  return FixedWalk{(walk.index << bits) + start, walk.step * (int64_t{1} << bits) + step};
}
