// StretchPicture: per destination row one source row, per destination pixel an exact integer step
// along the source columns (no division inside the loop, nothing allocated). No platform headers.
#include "render/raster_stretch.h"

#include <cstring>

#include "render/surface_rows.h"

namespace {

// Source column of destination x is floor((2x + 1) * srcWidth / (2w)); stepping x by one adds
// 2 * srcWidth to the numerator, split here into whole columns and a remainder.
struct ColumnWalk {
  int start;
  int64_t startRemainder;
  int step;
  int64_t stepRemainder;
  int64_t denominator;
};

ColumnWalk MakeColumnWalk(int srcWidth, int w) {
  int64_t den = 2 * static_cast<int64_t>(w);
  int64_t num = srcWidth;
  int64_t stepNum = 2 * static_cast<int64_t>(srcWidth);
  return ColumnWalk{static_cast<int>(num / den), num % den, static_cast<int>(stepNum / den), stepNum % den, den};
}

// Colours of the table entries as blue, green, red; entries the picture lacks stay black.
void LoadPalette(const PackedDib* picture, DibColor palette[256]) {
  std::memset(palette, 0, 256 * sizeof(DibColor));
  int count = DibColorCount(picture);
  int limit = 1 << picture->biBitCount;
  if (count > limit) count = limit;
  const DibColor* table = DibColors(picture);
  for (int i = 0; i < count; ++i) palette[i] = table[i];
}

inline int IndexAt(const uint8_t* row, int column, int bits) {
  if (bits == 8) return row[column];
  if (bits == 4) return (row[column >> 1] >> ((column & 1) ? 0 : 4)) & 0x0F;
  return (row[column >> 3] >> (7 - (column & 7))) & 0x01;
}

// One destination row of count pixels from one source row. Bits is the picture's bit count.
template <int Bits>
void StretchRow(uint8_t* out, const uint8_t* row, int count, const ColumnWalk& walk, const DibColor* palette) {
  int column = walk.start;
  int64_t remainder = walk.startRemainder;
  for (int x = 0; x < count; ++x, out += 3) {
    if (Bits == 24) {
      std::memcpy(out, row + 3 * static_cast<ptrdiff_t>(column), 3);
    } else if (Bits == 32) {
      std::memcpy(out, row + 4 * static_cast<ptrdiff_t>(column), 3);
    } else {
      const DibColor& colour = palette[IndexAt(row, column, Bits)];
      out[0] = colour.blue;
      out[1] = colour.green;
      out[2] = colour.red;
    }
    column += walk.step;
    remainder += walk.stepRemainder;
    if (remainder >= walk.denominator) {
      remainder -= walk.denominator;
      ++column;
    }
  }
}

bool PictureReadable(const PackedDib* picture) {
  if (picture == nullptr || picture->biWidth <= 0 || picture->biHeight <= 0) return false;
  int bits = picture->biBitCount;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) return false;
  if (picture->biWidth > 65535 || DibColorCount(picture) < 0) return false;
  int64_t rows = static_cast<int64_t>(picture->biHeight) * DibRowStride64(picture->biWidth, bits);
  return rows <= static_cast<int64_t>(picture->biSizeImage);
}

}  // namespace

bool StretchPicture(const Surface& target, int w, int hh, const PackedDib* picture) {
  if (w < 0 || hh < 0 || !PictureReadable(picture)) return false;
  if (w == 0 || hh == 0 || !SurfaceUsable(target)) return true;
  int bits = picture->biBitCount;
  int srcWidth = picture->biWidth, srcHeight = picture->biHeight;
  int64_t srcStride = DibRowStride64(srcWidth, bits);
  const uint8_t* srcBits = DibBits(picture);
  DibColor palette[256];
  if (bits <= 8) LoadPalette(picture, palette);

  int columns = w < target.width ? w : target.width;
  int rows = hh < target.height ? hh : target.height;
  ColumnWalk walk = MakeColumnWalk(srcWidth, w);
  int previousSource = -1;
  const uint8_t* previousOut = nullptr;
  for (int y = 0; y < rows; ++y) {
    int sourceRow = static_cast<int>(((2 * static_cast<int64_t>(y) + 1) * srcHeight) / (2 * static_cast<int64_t>(hh)));
    uint8_t* out = SurfaceRow(target, y);
    if (sourceRow == previousSource) {  // enlarging: this row repeats the one above
      std::memcpy(out, previousOut, static_cast<size_t>(columns) * 3);
      continue;
    }
    const uint8_t* row = srcBits + (srcHeight - 1 - sourceRow) * srcStride;  // rows are bottom-up
    switch (bits) {
      case 1: StretchRow<1>(out, row, columns, walk, palette); break;
      case 4: StretchRow<4>(out, row, columns, walk, palette); break;
      case 8: StretchRow<8>(out, row, columns, walk, palette); break;
      case 24: StretchRow<24>(out, row, columns, walk, nullptr); break;
      default: StretchRow<32>(out, row, columns, walk, nullptr); break;
    }
    previousSource = sourceRow;
    previousOut = out;
  }
  return true;
}
