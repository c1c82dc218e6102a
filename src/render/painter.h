// The painter: the fill, the erase around the faces and the transfer of a face picture onto its
// parallelogram, working on a surface's pixel memory. This is all the drawing the saver does. It reads
// no globals: surfaces, pictures and corners come as arguments, the coverage from parallelogram_walk.h.
#pragma once
#include <cstdint>

#include "picture/packed_dib.h"
#include "picture/win_records.h"
#include "render/cube_geometry.h"
#include "render/parallelogram_walk.h"
#include "render/surface.h"

constexpr DibColor kBlack = {0, 0, 0, 0};

// Paints rect (right and bottom exclusive, top-left origin) in colour, clipped to the surface. A
// rectangle with right <= left or bottom <= top paints nothing.
void FillSurfaceRect(const Surface& surface, Rect rect, DibColor colour);

// The frame's erase: fills rect (clipped to the surface) with black, except in each row the pixels
// that one of the count parallelograms covers (their RowSpan). The caller paints every one of those
// next, so the surface ends as if the whole rect had been filled first, with each pixel written once.
void FillAroundParallelograms(const Surface& surface, Rect rect, const ParallelogramWalk* walks, int count);

// How a face of w x hh pixels is scaled from its picture. Face pixel x shows picture column
// floor((2x + 1) * srcSize / (2 * faceSize)): the column under the pixel's centre. Rows the same,
// counted from the top.
inline int StretchSourceIndex(int64_t x, int srcSize, int faceSize) {
  return static_cast<int>(((2 * x + 1) * srcSize) / (2 * static_cast<int64_t>(faceSize)));
}

// Fills offsets[0..count-1] with the source column of each face column times bytesPerPixel, stepping
// the division above exactly. count <= w.
void FillColumnOffsets(int32_t* offsets, int srcWidth, int w, int count, int bytesPerPixel);

// True for a picture the painter can draw: bit count 1, 4, 8, 24 or 32, width 1 to 65535, height
// at least 1, and a pixel area (biSizeImage) that holds all its rows.
bool StretchablePicture(const PackedDib* picture);

// The colour table as 0x00RRGGBB words in 256 entries; entries the picture lacks are black.
void LoadPalette(const PackedDib* picture, uint32_t palette[256]);

// The colour of column of a 1- or 4-bit row: indices are packed from the most significant bits.
inline uint32_t PackedIndexColour(const uint8_t* row, int column, int bits, const uint32_t* palette) {
  if (bits == 4) return palette[(row[column >> 1] >> ((column & 1) ? 0 : 4)) & 0x0F];
  return palette[(row[column >> 3] >> (7 - (column & 7))) & 0x01];
}

// Paints the parallelogram whose top-left, top-right and bottom-left corners are corners[0..2] with
// the picture scaled to w x hh, nearest neighbour: each pixel the walk covers shows the picture pixel
// (StretchSourceIndex of its sample's face column and row) under its sample. A face pixel at column
// scratchWidth or beyond, or row scratchHeight or beyond, has no sample (the face scratch surface
// clips the face) and leaves its target pixel unchanged. The picture must pass StretchablePicture.
// Returns false when the transfer is refused (negative w or hh, coordinates beyond the walk's limits,
// or a scratch side beyond kMaxSurfaceSide); zero w, hh or area succeed and paint nothing.
bool TransferPicture(const Surface& target, const ScreenPoint corners[3], const PackedDib* picture, int w, int hh,
                     int scratchWidth, int scratchHeight);

// True when TransferPicture with the same arguments paints every pixel of its parallelogram, which
// walk then holds; false when it paints none (nothing to draw, or refused) or only some of them.
bool PicturePaintsWholeParallelogram(const Surface& target, const ScreenPoint corners[3], int w, int hh,
                                     int scratchWidth, int scratchHeight, ParallelogramWalk* walk);
