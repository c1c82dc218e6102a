// The quarter turns of a stored picture into its upright packed DIB rows: a band of scanlines
// written as tiles of columns. Plain memory work; never libjpeg.
#include "picture/picture_turn.h"

#include <cstring>

#include "picture/row_copy.h"

#ifdef WHIRLBOX_SHUFFLE_ROWS
#include <tmmintrin.h>
#endif

namespace {

// Stored columns per tile: the tile's pixels of every band row (16 x 64 colour pixels, 3 KB)
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

#ifdef WHIRLBOX_SHUFFLE_ROWS

// The colour tile of 4 stored columns by the band's rows, 4 x 4 pixels at a time: each band row's 4
// pixels widened to 4 words (blue, green, red, 0) by one shuffle, the 4 x 4 words transposed by
// unpacking, and each upright row's 4 pixels narrowed back to 12 bytes. A 16-byte store runs 4
// bytes into the next pixels, so it is used only where the next step of 4 overwrites them; the
// last step stores 12 bytes, since the bytes after the run may be another band's, already written.
// Reads 16 bytes at x * 3: callers keep x * 3 + 16 within the band rows.
__attribute__((target("ssse3"))) void WriteColourQuads(bool fromTop, const uint8_t* const* columns, uint32_t count,
                                                       uint32_t x, uint32_t width, uint8_t* bits, size_t stride,
                                                       uint32_t start) {
  const __m128i widen = _mm_setr_epi8(2, 1, 0, -1, 5, 4, 3, -1, 8, 7, 6, -1, 11, 10, 9, -1);
  const __m128i narrow = _mm_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1);
  uint8_t* dest[4];
  for (uint32_t i = 0; i < 4; ++i) {
    dest[i] = bits + (fromTop ? width - 1 - (x + i) : x + i) * stride + static_cast<size_t>(start) * 3;
  }
  // The 4 upright rows lie far apart, where the processor cannot foresee the writes: asking for
  // the rows of the quad 4 steps ahead lets their fetches overlap (about 3% of a photo's load).
  for (uint32_t i = 0; x + 16 + i < width && i < 4; ++i) {
    const uint32_t ahead = x + 16 + i;
    const uint8_t* run = bits + (fromTop ? width - 1 - ahead : ahead) * stride + static_cast<size_t>(start) * 3;
    for (uint32_t at = 0; at < count * 3; at += 64) __builtin_prefetch(run + at, 1);
    __builtin_prefetch(run + count * 3 - 1, 1);
  }
  const size_t at = static_cast<size_t>(x) * 3;
  uint32_t k = 0;
  for (; k + 4 <= count; k += 4) {
    const __m128i r0 = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(columns[k] + at)), widen);
    const __m128i r1 = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(columns[k + 1] + at)), widen);
    const __m128i r2 = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(columns[k + 2] + at)), widen);
    const __m128i r3 = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(columns[k + 3] + at)), widen);
    const __m128i low01 = _mm_unpacklo_epi32(r0, r1), low23 = _mm_unpacklo_epi32(r2, r3);
    const __m128i high01 = _mm_unpackhi_epi32(r0, r1), high23 = _mm_unpackhi_epi32(r2, r3);
    const __m128i out[4] = {_mm_shuffle_epi8(_mm_unpacklo_epi64(low01, low23), narrow),
                            _mm_shuffle_epi8(_mm_unpackhi_epi64(low01, low23), narrow),
                            _mm_shuffle_epi8(_mm_unpacklo_epi64(high01, high23), narrow),
                            _mm_shuffle_epi8(_mm_unpackhi_epi64(high01, high23), narrow)};
    for (int i = 0; i < 4; ++i) {
      uint8_t* to = dest[i] + 3 * static_cast<size_t>(k);
      if (k + 8 <= count) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(to), out[i]);
      } else {
        _mm_storel_epi64(reinterpret_cast<__m128i*>(to), out[i]);
        const int last = _mm_cvtsi128_si32(_mm_srli_si128(out[i], 8));
        std::memcpy(to + 8, &last, 4);
      }
    }
  }
  for (; k < count; ++k) {
    for (uint32_t i = 0; i < 4; ++i) {
      const uint8_t* pixel = columns[k] + at + 3 * i;
      uint8_t* to = dest[i] + 3 * static_cast<size_t>(k);
      to[0] = pixel[2];
      to[1] = pixel[1];
      to[2] = pixel[0];
    }
  }
}

// The grey tile of 8 stored columns by the band's rows, 8 x 8 pixels at a time: 8 bytes of each of
// 8 band rows, transposed by three rounds of unpacking into 8 bytes for each of 8 upright rows.
// Reads 8 bytes at x: callers keep x + 8 within the band rows.
__attribute__((target("ssse3"))) void WriteGreyOctets(bool fromTop, const uint8_t* const* columns, uint32_t count,
                                                      uint32_t x, uint32_t width, uint8_t* bits, size_t stride,
                                                      uint32_t start) {
  uint8_t* dest[8];
  for (uint32_t i = 0; i < 8; ++i) dest[i] = bits + (fromTop ? width - 1 - (x + i) : x + i) * stride + start;
  uint32_t k = 0;
  for (; k + 8 <= count; k += 8) {
    __m128i r[8];
    for (int i = 0; i < 8; ++i) r[i] = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(columns[k + i] + x));
    // Pairs of rows, then fours: each 16-bit unit holds one pixel of two rows, each 32-bit unit of four.
    const __m128i pair01 = _mm_unpacklo_epi8(r[0], r[1]), pair23 = _mm_unpacklo_epi8(r[2], r[3]);
    const __m128i pair45 = _mm_unpacklo_epi8(r[4], r[5]), pair67 = _mm_unpacklo_epi8(r[6], r[7]);
    const __m128i low0123 = _mm_unpacklo_epi16(pair01, pair23), high0123 = _mm_unpackhi_epi16(pair01, pair23);
    const __m128i low4567 = _mm_unpacklo_epi16(pair45, pair67), high4567 = _mm_unpackhi_epi16(pair45, pair67);
    const __m128i out[4] = {_mm_unpacklo_epi32(low0123, low4567), _mm_unpackhi_epi32(low0123, low4567),
                            _mm_unpacklo_epi32(high0123, high4567), _mm_unpackhi_epi32(high0123, high4567)};
    for (int i = 0; i < 4; ++i) {
      _mm_storel_epi64(reinterpret_cast<__m128i*>(dest[2 * i] + k), out[i]);
      _mm_storel_epi64(reinterpret_cast<__m128i*>(dest[2 * i + 1] + k), _mm_srli_si128(out[i], 8));
    }
  }
  for (; k < count; ++k) {
    for (uint32_t i = 0; i < 8; ++i) dest[i][k] = columns[k][x + i];
  }
}

#endif

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
  uint32_t x0 = 0;
#ifdef WHIRLBOX_SHUFFLE_ROWS
  if (bytesPerPixel == 3 && HasByteShuffle()) {
    // The last 16-byte read of a quad at x ends at x * 3 + 16, within the row while x + 6 <= width.
    for (; x0 + 6 <= width; x0 += 4) WriteColourQuads(fromTop, columns, count, x0, width, bits, stride, start);
  } else if (bytesPerPixel == 1 && HasByteShuffle()) {
    for (; x0 + 8 <= width; x0 += 8) WriteGreyOctets(fromTop, columns, count, x0, width, bits, stride, start);
  }
#endif
  for (; x0 < width; x0 += kTileColumns) {
    const uint32_t tile = width - x0 < kTileColumns ? width - x0 : kTileColumns;
    if (bytesPerPixel == 3) {
      WriteTile<3>(fromTop, columns, count, x0, tile, width, bits, stride, start);
    } else {
      WriteTile<1>(fromTop, columns, count, x0, tile, width, bits, stride, start);
    }
  }
}
