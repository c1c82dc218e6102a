// The row copies: RGB into BGR and a row reversed, each with a plain loop for every processor and
// a shuffle of 16 bytes at a time for x86 processors that have SSSE3. Never libjpeg.
#include "picture/row_copy.h"

#ifdef WHIRLBOX_SHUFFLE_ROWS
#include <tmmintrin.h>
#endif

// The row conversion: one row of libjpeg's red-green-blue samples into blue-green-red DIB pixels.
void CopyRgbAsBgrPlain(uint8_t* dest, const uint8_t* source, uint32_t pixels) {
  for (uint32_t i = 0; i < pixels; ++i) {
    dest[3 * i] = source[3 * i + 2];
    dest[3 * i + 1] = source[3 * i + 1];
    dest[3 * i + 2] = source[3 * i];
  }
}

void CopyReversedPlain(uint8_t* dest, const uint8_t* source, size_t bytes) {
  for (size_t i = 0; i < bytes; ++i) dest[bytes - 1 - i] = source[i];
}

#ifdef WHIRLBOX_SHUFFLE_ROWS

namespace {

// Four pixels per step: a 16-byte load holds them (12 bytes) and 4 bytes of the next pixels; one
// shuffle reverses each pixel's bytes, and the 16-byte store's last 4 bytes are overwritten by the
// next step. A byte-by-byte loop costs a third of the colour decode itself; this one almost nothing.
// The loop stops while 16 bytes still fit in the row, so nothing beyond pixels * 3 is touched.
__attribute__((target("ssse3"))) void CopyRgbAsBgrShuffled(uint8_t* dest, const uint8_t* source,
                                                           uint32_t pixels) {
  const __m128i order = _mm_setr_epi8(2, 1, 0, 5, 4, 3, 8, 7, 6, 11, 10, 9, 12, 13, 14, 15);
  const uint64_t bytes = 3 * static_cast<uint64_t>(pixels);
  uint32_t i = 0;
  for (; 3 * static_cast<uint64_t>(i) + 16 <= bytes; i += 4) {
    const __m128i rgb = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source + 3 * static_cast<size_t>(i)));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dest + 3 * static_cast<size_t>(i)), _mm_shuffle_epi8(rgb, order));
  }
  CopyRgbAsBgrPlain(dest + 3 * static_cast<size_t>(i), source + 3 * static_cast<size_t>(i), pixels - i);
}

// Sixteen bytes per step, reversed by one shuffle, from the row's start and its end inwards.
__attribute__((target("ssse3"))) void CopyReversedShuffled(uint8_t* dest, const uint8_t* source, size_t bytes) {
  const __m128i order = _mm_setr_epi8(15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0);
  size_t i = 0;
  for (; i + 16 <= bytes; i += 16) {
    const __m128i ahead = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source + i));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dest + bytes - 16 - i), _mm_shuffle_epi8(ahead, order));
  }
  CopyReversedPlain(dest, source + i, bytes - i);
}

}  // namespace

bool HasByteShuffle() {
  static const bool has = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("ssse3") != 0;
  }();
  return has;
}

void CopyRgbAsBgr(uint8_t* dest, const uint8_t* source, uint32_t pixels) {
  if (HasByteShuffle()) {
    CopyRgbAsBgrShuffled(dest, source, pixels);
  } else {
    CopyRgbAsBgrPlain(dest, source, pixels);
  }
}

void CopyReversed(uint8_t* dest, const uint8_t* source, size_t bytes) {
  if (HasByteShuffle()) {
    CopyReversedShuffled(dest, source, bytes);
  } else {
    CopyReversedPlain(dest, source, bytes);
  }
}

#else

void CopyRgbAsBgr(uint8_t* dest, const uint8_t* source, uint32_t pixels) { CopyRgbAsBgrPlain(dest, source, pixels); }

void CopyReversed(uint8_t* dest, const uint8_t* source, size_t bytes) { CopyReversedPlain(dest, source, bytes); }

#endif
