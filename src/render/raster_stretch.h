// The stretch of a face picture into the face scratch surface: every PackedDib format, nearest
// neighbour, upright. No platform headers.
#pragma once
#include "picture/packed_dib.h"
#include "render/surface.h"

// Scales the whole picture, upright, into the rectangle (0, 0)-(w, hh) of target (top-left origin),
// clipped to target. Destination pixel (x, y) takes the picture pixel under its centre: column
// floor((x + 0.5) * width / w), row floor((y + 0.5) * height / hh) counted from the top. 1-, 4- and
// 8-bit pixels go through the colour table (an index past the table's end gives black); 32-bit
// pixels are blue, green, red, unused. Zero w or hh succeed and draw nothing. Returns false for a
// negative w or hh and for a picture it cannot read (null, unknown bit count, non-positive size, or
// a pixel area smaller than its rows).
bool StretchPicture(const Surface& target, int w, int hh, const PackedDib* picture);
