// Turns one row of libjpeg's red-green-blue samples into the blue-green-red pixels of a 24-bit DIB.
// Pure byte work: no libjpeg, no Windows headers.
#include "picture/rgb_to_bgr.h"

#include <cstring>

namespace {

// Four pixels are 12 bytes, three 32-bit words. Little-endian words (the only byte order this
// program is built for) hold, from the low byte up:
//   in:  a = R0 G0 B0 R1   b = G1 B1 R2 G2   c = B2 R3 G3 B3
//   out:     B0 G0 R0 B1       G1 R1 B2 G2       R2 B3 G3 R3
// Whole-word shifts and masks swap them with no per-byte loads, which keeps the conversion far
// cheaper than the decode that produced the row.
inline void SwapFourPixels(uint8_t* dest, const uint8_t* source) {
  uint32_t a, b, c;
  std::memcpy(&a, source, 4);
  std::memcpy(&b, source + 4, 4);
  std::memcpy(&c, source + 8, 4);
  const uint32_t x = ((a & 0xffu) << 16) | (a & 0xff00u) | ((a >> 16) & 0xffu) | ((b & 0xff00u) << 16);
  const uint32_t y = (b & 0xffu) | ((a >> 16) & 0xff00u) | ((c & 0xffu) << 16) | (b & 0xff000000u);
  const uint32_t z = ((b >> 16) & 0xffu) | ((c >> 16) & 0xff00u) | (c & 0xff0000u) | ((c & 0xff00u) << 16);
  std::memcpy(dest, &x, 4);
  std::memcpy(dest + 4, &y, 4);
  std::memcpy(dest + 8, &z, 4);
}

}  // namespace

void CopyRgbAsBgr(uint8_t* dest, const uint8_t* source, uint32_t pixels) {
  uint32_t i = 0;
  for (; i + 4 <= pixels; i += 4) SwapFourPixels(dest + 3 * i, source + 3 * i);
  for (; i < pixels; ++i) {
    dest[3 * i] = source[3 * i + 2];
    dest[3 * i + 1] = source[3 * i + 1];
    dest[3 * i + 2] = source[3 * i];
  }
}
