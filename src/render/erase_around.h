// The frame's erase done around the faces about to be painted, so that each back-buffer pixel is
// written once per frame. No drawing of faces, no platform headers.
#pragma once
#include "picture/win_records.h"
#include "render/parallelogram_walk.h"
#include "render/surface.h"

// Fills rect (right and bottom exclusive, clipped to the surface) with black, except in each row the
// pixels that one of the count parallelograms covers (their RowSpan): the caller paints every one of
// those next, so the surface ends as if the whole rect had been filled first.
void FillAroundParallelograms(const Surface& surface, Rect rect, const ParallelogramWalk* walks, int count);
