// The stretch's pixel mapping, picture checks and colour tables. No drawing, no platform headers.
#include "render/stretch_mapping.h"

#include <cstring>

void FillColumnOffsets(int32_t* offsets, int srcWidth, int w, int count, int bytesPerPixel) {
  int64_t den = 2 * static_cast<int64_t>(w);
  int64_t column = srcWidth / den, remainder = srcWidth % den;
  int64_t step = (2 * static_cast<int64_t>(srcWidth)) / den;
  int64_t stepRemainder = (2 * static_cast<int64_t>(srcWidth)) % den;
  for (int x = 0; x < count; ++x) {
    offsets[x] = static_cast<int32_t>(column * bytesPerPixel);
    column += step;
    remainder += stepRemainder;
    if (remainder >= den) {
      remainder -= den;
      ++column;
    }
  }
}

bool StretchablePicture(const PackedDib* picture) {
  if (picture == nullptr || picture->biWidth <= 0 || picture->biHeight <= 0) return false;
  int bits = picture->biBitCount;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) return false;
  if (picture->biWidth > 65535 || DibColorCount(picture) < 0) return false;
  int64_t rows = static_cast<int64_t>(picture->biHeight) * DibRowStride64(picture->biWidth, bits);
  return rows <= static_cast<int64_t>(picture->biSizeImage);
}

void LoadPalette(const PackedDib* picture, uint32_t palette[256]) {
  std::memset(palette, 0, 256 * sizeof(uint32_t));
  int count = DibColorCount(picture);
  int limit = 1 << picture->biBitCount;
  if (count > limit) count = limit;
  const DibColor* table = DibColors(picture);
  for (int i = 0; i < count; ++i) palette[i] = table[i].blue | (table[i].green << 8) | (uint32_t{table[i].red} << 16);
}
