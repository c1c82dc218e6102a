// The BMP builder of the tests: fields in, file bytes out, every byte of the layout written here.
// Test code only; depends on test_files alone.
#include "common/bmp_builder.h"

uint32_t EntryValue(int k) { return 0x00102030u + static_cast<uint32_t>(k) * 0x00010305u; }

uint8_t PixelByte(int64_t i) { return static_cast<uint8_t>((i * 37 + 11) % 251); }

int64_t RowBytes(int64_t width, int bitCount) {
  int64_t bits = width * bitCount;
  int64_t bytes = (bits + 7) / 8;
  return (bytes + 3) / 4 * 4;
}

Bytes BuildBmp(const BmpFields& fields) {
  int64_t rows = fields.height < 0 ? -static_cast<int64_t>(fields.height) : fields.height;
  int64_t pixelBytes = fields.pixels ? rows * RowBytes(fields.width, fields.bitCount) : 0;
  uint32_t offBits = fields.offBits == kOffBitsAfterEntries ? 54 + 4 * fields.entries : fields.offBits;
  int64_t total = 54 + 4 * int64_t{fields.entries} + pixelBytes + fields.trailing;
  Bytes out;
  Put16(out, fields.type);                            // bfType
  Put32(out, static_cast<uint32_t>(total));           // bfSize
  Put16(out, 0);                                      // bfReserved1
  Put16(out, 0);                                      // bfReserved2
  Put32(out, offBits);                                // bfOffBits
  Put32(out, fields.infoSize);                        // biSize
  Put32(out, static_cast<uint32_t>(fields.width));    // biWidth
  Put32(out, static_cast<uint32_t>(fields.height));   // biHeight
  Put16(out, 1);                                      // biPlanes
  Put16(out, fields.bitCount);                        // biBitCount
  Put32(out, fields.compression);                     // biCompression
  Put32(out, static_cast<uint32_t>(pixelBytes));      // biSizeImage
  Put32(out, 2835);                                   // biXPelsPerMeter
  Put32(out, 2835);                                   // biYPelsPerMeter
  Put32(out, fields.clrUsed);                         // biClrUsed
  Put32(out, 7);                                      // biClrImportant
  for (int k = 0; k < fields.entries; ++k) Put32(out, EntryValue(k));
  for (int64_t i = 0; i < pixelBytes; ++i) Put8(out, PixelByte(i));
  for (int64_t i = 0; i < fields.trailing; ++i) Put8(out, 0xEE);
  return out;
}

