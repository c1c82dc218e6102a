// The tests' middle oracle: a face drawn in two passes, the picture stretched into a scratch surface
// and that surface mapped onto the parallelogram, as the saver once drew it. Exact integer code, fast
// enough for thousands of random cases; itself checked against the naive references.
#pragma once
#include "picture/packed_dib.h"
#include "render/cube_geometry.h"
#include "render/surface.h"

// Scales the whole picture, upright, into the rectangle (0, 0)-(w, hh) of target (top-left origin),
// clipped to target. Destination pixel (x, y) takes the picture pixel under its centre: column
// floor((x + 0.5) * width / w), row floor((y + 0.5) * height / hh) counted from the top. 1-, 4- and
// 8-bit pixels go through the colour table (an index past the table's end gives black); 32-bit
// pixels are blue, green, red, unused. Zero w or hh succeed and draw nothing. Returns false for a
// negative w or hh and for a picture it cannot read (null, unknown bit count, non-positive size, or
// a pixel area smaller than its rows).
bool StretchPicture(const Surface& target, int w, int hh, const PackedDib* picture);

// Maps the rectangle (0, 0)-(w, hh) of source (top-left origin) onto target so that its top-left
// corner lands on corners[0], its top-right on corners[1] and its bottom-left on corners[2], with the
// coverage rule of render/parallelogram_walk.h. The pixel takes the source pixel under the preimage of
// its moved centre; pixels whose source pixel lies outside source are left unchanged; the result is
// clipped to target. Zero w, hh or area succeed and paint nothing. Returns false for a negative w or
// hh and for coordinates or sizes beyond the walk's limits.
bool TransferParallelogram(const Surface& target, const ScreenPoint corners[3], const Surface& source, int w,
                           int hh);
