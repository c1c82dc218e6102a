// The parallelogram transfer: a rectangle of the face scratch surface mapped affinely onto the back
// buffer, nearest neighbour, with an exact rule for which pixels belong. No platform headers.
#pragma once
#include "render/cube_geometry.h"
#include "render/parallelogram_walk.h"
#include "render/surface.h"

// Maps the rectangle (0, 0)-(w, hh) of source (top-left origin) onto target so that its top-left
// corner lands on corners[0], its top-right on corners[1] and its bottom-left on corners[2].
// A target pixel is painted when its centre lies inside the parallelogram; a centre exactly on an
// edge is decided as if it were moved an infinitesimal step right (and, on a horizontal edge, an
// even smaller step down), so two parallelograms sharing an edge never both paint a pixel and leave
// no gap. The pixel takes the source pixel under the preimage of that same moved centre. Pixels
// whose source pixel lies outside source are left unchanged; the result is clipped to target.
// Zero w, hh or area succeed and paint nothing. Returns false for a negative w or hh and for
// coordinates or sizes beyond the limits of parallelogram_walk.h.
bool TransferParallelogram(const Surface& target, const ScreenPoint corners[3], const Surface& source, int w,
                           int hh);
