// The quarter turns of a stored picture into its upright packed DIB rows: a band of scanlines
// written as tiles of columns. Plain memory work; never libjpeg.
#include "picture/picture_turn.h"

namespace {

// Stored columns per tile: the tile's pixels of every band row (16 x 32 colour pixels, 1.5 KB)
// stay in the first-level cache while the tile's upright rows are written as runs of count pixels.
constexpr uint32_t kTileColumns = 16;

// The pixels of stored columns x0..x0+tile of every band row into their tile upright rows.
// columns[k] is the band row that becomes upright column start + k.
template <int kBytes>
void WriteTile(bool fromTop, const uint8_t* const* columns, uint32_t count, uint32_t x0, uint32_t tile,
               uint32_t width, uint8_t* bits, size_t stride, uint32_t start) {
  for (uint32_t x = x0; x < x0 + tile; ++x) {
    const size_t row = fromTop ? width - 1 - x : x;
    uint8_t* dest = bits + row * stride + static_cast<size_t>(start) * kBytes;
    const size_t at = static_cast<size_t>(x) * kBytes;
    for (uint32_t k = 0; k < count; ++k) {
      const uint8_t* pixel = columns[k] + at;
      if (kBytes == 3) {
        dest[3 * k] = pixel[2];
        dest[3 * k + 1] = pixel[1];
        dest[3 * k + 2] = pixel[0];
      } else {
        dest[k] = pixel[0];
      }
    }
  }
}

}  // namespace

void WriteBandTurned(int orientation, const uint8_t* const* band, uint32_t first, uint32_t count, uint32_t width,
                     uint32_t height, int bytesPerPixel, uint8_t* bits, size_t stride) {
  // Stored scanline y is upright column y for 5 and 8, column height - 1 - y for 6 and 7, where the
  // band's last row comes first. Stored column x is upright row x from the top for 5 and 6, from
  // the bottom for 7 and 8.
  const bool reversed = orientation == 6 || orientation == 7;
  const bool fromTop = orientation == 5 || orientation == 6;
  const uint8_t* columns[kTurnBandRows];
  for (uint32_t k = 0; k < count; ++k) columns[k] = band[reversed ? count - 1 - k : k];
  const uint32_t start = reversed ? height - first - count : first;
  for (uint32_t x0 = 0; x0 < width; x0 += kTileColumns) {
    const uint32_t tile = width - x0 < kTileColumns ? width - x0 : kTileColumns;
    if (bytesPerPixel == 3) {
      WriteTile<3>(fromTop, columns, count, x0, tile, width, bits, stride, start);
    } else {
      WriteTile<1>(fromTop, columns, count, x0, tile, width, bits, stride, start);
    }
  }
}
