// StretchPicture: per destination row one source row, per destination pixel an exact integer step
// along the source columns (no division inside the loop, nothing allocated). No platform headers.
#include "render/raster_stretch.h"

#include <cstring>

#include "render/surface_alloc.h"
#include "render/stretch_mapping.h"
#include "render/surface_rows.h"

namespace {

// Byte offset within a source row of the picture pixel under each destination column. Filled once per
// stretch; a fixed table, so the frame allocates nothing.
int32_t ColumnOffsets[kMaxSurfaceSide];

inline uint32_t Load32(const uint8_t* p) {
  uint32_t value;
  std::memcpy(&value, p, 4);
  return value;
}

// Four pixels (blue, green, red in the low three bytes of each) as the twelve bytes they occupy in a
// row, stored as three aligned words instead of four overlapping ones.
inline void StoreFour(uint8_t* out, uint32_t p0, uint32_t p1, uint32_t p2, uint32_t p3) {
  p0 &= 0xFFFFFF;
  p1 &= 0xFFFFFF;
  p2 &= 0xFFFFFF;
  const uint32_t word0 = p0 | (p1 << 24), word1 = (p1 >> 8) | (p2 << 16), word2 = (p2 >> 16) | (p3 << 8);
  std::memcpy(out, &word0, 4);
  std::memcpy(out + 4, &word1, 4);
  std::memcpy(out + 8, &word2, 4);
}

// One destination row of count pixels from one source row. wideColumns is how many leading columns may
// load four source bytes: the last source pixel of the topmost row may end the picture's block.
void StretchRow(uint8_t* out, const uint8_t* row, int count, int bits, int wideColumns, const uint32_t* palette) {
  int x = 0;
  if (bits == 24 || bits == 32) {
    int grouped = wideColumns < count ? wideColumns : count;
    for (; x + 4 <= grouped; x += 4) {
      StoreFour(out + 3 * x, Load32(row + ColumnOffsets[x]), Load32(row + ColumnOffsets[x + 1]),
                Load32(row + ColumnOffsets[x + 2]), Load32(row + ColumnOffsets[x + 3]));
    }
    for (; x < count; ++x) std::memcpy(out + 3 * x, row + ColumnOffsets[x], 3);
    return;
  }
  if (bits == 8) {
    for (; x + 4 <= count; x += 4) {
      StoreFour(out + 3 * x, palette[row[ColumnOffsets[x]]], palette[row[ColumnOffsets[x + 1]]],
                palette[row[ColumnOffsets[x + 2]]], palette[row[ColumnOffsets[x + 3]]]);
    }
  }
  for (; x < count; ++x) {
    uint32_t pixel = bits == 8 ? palette[row[ColumnOffsets[x]]] : PackedIndexColour(row, ColumnOffsets[x], bits, palette);
    std::memcpy(out + 3 * x, &pixel, 3);
  }
}

}  // namespace

bool StretchPicture(const Surface& target, int w, int hh, const PackedDib* picture) {
  if (w < 0 || hh < 0 || !StretchablePicture(picture)) return false;
  if (w == 0 || hh == 0 || !SurfaceUsable(target)) return true;
  if (target.width > kMaxSurfaceSide) return false;  // wider than the column table
  int bits = picture->biBitCount;
  int srcWidth = picture->biWidth, srcHeight = picture->biHeight;
  int64_t srcStride = DibRowStride64(srcWidth, bits);
  const uint8_t* srcBits = DibBits(picture);
  uint32_t palette[256];
  if (bits <= 8) LoadPalette(picture, palette);

  int columns = w < target.width ? w : target.width;
  int rows = hh < target.height ? hh : target.height;
  FillColumnOffsets(ColumnOffsets, srcWidth, w, columns, bits >= 8 ? bits / 8 : 1);
  // A 24-bit source pixel has a fourth byte inside the block unless it ends an unpadded row.
  int wideColumns = columns;
  if (bits == 24 && 3 * static_cast<int64_t>(srcWidth) == srcStride) {
    wideColumns = 0;
    while (wideColumns < columns && ColumnOffsets[wideColumns] < 3 * (srcWidth - 1)) ++wideColumns;
  }
  int previousSource = -1;
  const uint8_t* previousOut = nullptr;
  for (int y = 0; y < rows; ++y) {
    int sourceRow = StretchSourceIndex(y, srcHeight, hh);
    uint8_t* out = SurfaceRow(target, y);
    if (sourceRow == previousSource) {  // enlarging: this row repeats the one above
      std::memcpy(out, previousOut, static_cast<size_t>(columns) * 3);
      continue;
    }
    const uint8_t* row = srcBits + (srcHeight - 1 - sourceRow) * srcStride;  // rows are bottom-up
    StretchRow(out, row, columns, bits, wideColumns, palette);
    previousSource = sourceRow;
    previousOut = out;
  }
  return true;
}
