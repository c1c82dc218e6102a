// The exact pixel coverage and source sampling of a parallelogram transfer, shared by the picture
// transfer and the erase around the faces. Integer arithmetic only; no drawing.
#pragma once
#include <cstdint>

#include "render/cube_geometry.h"

// Coordinates beyond this magnitude (and w or hh beyond kTransferMaxSide) are refused: within them
// every computation of the transfer is exact in 64-bit integers.
constexpr int32_t kTransferCoordLimit = 1 << 19;
constexpr int kTransferMaxSide = 1 << 20;

// A source index along one axis and its exact stepping per target pixel: index + remainder / d now,
// step + stepRemainder / d added per pixel (0 <= remainders < d).
struct SourceWalk {
  int64_t index;
  int64_t remainder;
  int64_t step;
  int64_t stepRemainder;
};

// Advances a walk by one target pixel, exactly.
inline void StepWalk(SourceWalk* walk, int64_t d) {
  walk->index += walk->step;
  walk->remainder += walk->stepRemainder;
  if (walk->remainder >= d) {
    walk->remainder -= d;
    ++walk->index;
  }
}

// One of the two parallelogram coordinates scaled by d: value = origin + x * perX + y * perY at
// the doubled centre of pixel (x, y); bias 1 when the tie-break move makes it shrink.
struct WalkAxis {
  int64_t origin;
  int64_t perX;
  int64_t perY;
  int64_t bias;
  int64_t scale;  // w or hh
  int64_t step;   // source index step per pixel along x, as quotient and remainder of d
  int64_t stepRemainder;
};

struct ParallelogramWalk {
  WalkAxis s;  // along the source's top edge, scaled to w
  WalkAxis t;  // along its left edge, scaled to hh
  int64_t d;   // twice the absolute area
  int64_t firstRow;
  int64_t lastRow;
};

// The rows and pixels of the parallelogram whose top-left, top-right and bottom-left corners are
// corners[0..2] mapped from (0, 0)-(w, hh), on a target of targetHeight rows. A pixel belongs when
// its centre lies inside; a centre exactly on an edge is decided as if moved an infinitesimal step
// right (and, on a horizontal edge, an even smaller step down), so neighbours sharing an edge never
// both claim a pixel and leave no gap. Returns 0 and fills walk when there is something to draw, 1
// when nothing is (zero w, hh or area), -1 when the input is refused (negative w or hh, or beyond the
// limits above).
int StartParallelogram(const ScreenPoint corners[3], int w, int hh, int targetHeight, ParallelogramWalk* walk);

// The pixels [*first, *last] of row y (clipped to 0..targetWidth-1) inside the parallelogram, and the
// source column u and row v of the first of them, sampled at the same moved centre. False for an
// empty row.
bool RowSpan(const ParallelogramWalk& walk, int64_t y, int targetWidth, int64_t* first, int64_t* last, SourceWalk* u,
             SourceWalk* v);

// Fixed-point stepping: a walk's position times 2^bits, started and stepped by rounding up. After i
// steps the position exceeds the exact one by less than i + 1, and a fraction m / d of the exact
// position never comes closer than 2^bits / d below the next whole index; so while
// 2^bits > d * (i + 1) the whole part (position >> bits) is exact. FixedBits picks bits for spans of
// up to count pixels, or returns -1 when 64-bit positions cannot hold them.
struct FixedWalk {
  int64_t position;
  int64_t step;
};
int FixedBits(int64_t d, int64_t count);
FixedWalk MakeFixed(const SourceWalk& walk, int64_t d, int bits);
