// Rectangle fill on a 24-bit surface: what the frame step uses to erase the old cube and to clear
// the face scratch area. No platform headers.
#pragma once
#include "picture/win_records.h"
#include "render/surface.h"

// Paints rect (right and bottom exclusive, top-left origin) in colour, clipped to the surface. A
// rectangle with right <= left or bottom <= top paints nothing.
void FillSurfaceRect(const Surface& surface, Rect rect, DibColor colour);

constexpr DibColor kBlack = {0, 0, 0, 0};
