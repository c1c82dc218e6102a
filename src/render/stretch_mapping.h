// How the stretch maps the face rectangle onto a picture: which picture column and row each face
// pixel shows, which pictures can be read, and their colour tables. Shared by the stretch and by the
// transfer that samples a picture directly. No drawing, no platform headers.
#pragma once
#include <cstdint>

#include "picture/packed_dib.h"

// Face pixel x of a face w pixels wide shows picture column floor((2x + 1) * srcWidth / (2w)): the
// column under the pixel's centre. Rows the same, counted from the top.
inline int StretchSourceIndex(int64_t x, int srcSize, int faceSize) {
  return static_cast<int>(((2 * x + 1) * srcSize) / (2 * static_cast<int64_t>(faceSize)));
}

// Fills offsets[0..count-1] with the source column of each face column times bytesPerPixel, stepping
// the division above exactly. count <= w.
void FillColumnOffsets(int32_t* offsets, int srcWidth, int w, int count, int bytesPerPixel);

// True for a picture the renderer can draw: bit count 1, 4, 8, 24 or 32, width 1 to 65535, height
// at least 1, and a pixel area (biSizeImage) that holds all its rows.
bool StretchablePicture(const PackedDib* picture);

// The colour table as 0x00RRGGBB words in 256 entries; entries the picture lacks are black.
void LoadPalette(const PackedDib* picture, uint32_t palette[256]);

// The colour of column of a 1- or 4-bit row: indices are packed from the most significant bits.
inline uint32_t PackedIndexColour(const uint8_t* row, int column, int bits, const uint32_t* palette) {
  if (bits == 4) return palette[(row[column >> 1] >> ((column & 1) ? 0 : 4)) & 0x0F];
  return palette[(row[column >> 3] >> (7 - (column & 7))) & 0x01];
}
