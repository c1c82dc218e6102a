// Builds BMP files byte by byte for the tests: the two headers from a few fields, numbered colour
// entries and a pixel array of a known pattern. Test code only; depends on test_files alone.
#pragma once
#include <cstdint>

#include "common/test_files.h"

constexpr uint32_t kOffBitsAfterEntries = 0xFFFFFFFF;  // BmpFields::offBits: 54 + 4 * entries

struct BmpFields {
  uint16_t type = 0x4D42;
  uint32_t offBits = kOffBitsAfterEntries;
  uint32_t infoSize = 40;
  int32_t width = 9;
  int32_t height = 8;
  uint16_t bitCount = 24;
  uint32_t compression = 0;
  uint32_t clrUsed = 0;
  int entries = 0;         // colour entries written after the headers
  bool pixels = true;      // write the pixel array of |height| rows
  int64_t trailing = 0;    // bytes appended after the pixel array
};

// Entry k of the file's colour table, and byte i of its pixel array (rows included, padding too).
uint32_t EntryValue(int k);
uint8_t PixelByte(int64_t i);

// The bytes of one pixel row, padded to 4, computed here independently of the reader.
int64_t RowBytes(int64_t width, int bitCount);

// The whole file: 14-byte file header, 40-byte info header, entries, pixel array, trailing bytes.
Bytes BuildBmp(const BmpFields& fields);
