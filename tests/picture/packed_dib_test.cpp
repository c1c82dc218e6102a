// The packed DIB helpers: row strides, colour counts by bit count, and where the pixel rows start.
#include <gtest/gtest.h>

#include <vector>

#include "picture/packed_dib.h"

TEST(DibRowStride, PadsEachRowToFourBytes) {
  EXPECT_EQ(DibRowStride(9, 24), 28);
  EXPECT_EQ(DibRowStride(8, 24), 24);
  EXPECT_EQ(DibRowStride(10, 1), 4);
  EXPECT_EQ(DibRowStride(13, 8), 16);
  EXPECT_EQ(DibRowStride(33, 1), 8);
  EXPECT_EQ(DibRowStride(9, 4), 8);
  EXPECT_EQ(DibRowStride(8, 32), 32);
  EXPECT_EQ(DibRowStride(16384, 32), 65536);
  EXPECT_EQ(DibRowStride(65535, 8), 65536);  // the widest GIF screen
}

TEST(DibRowStride64, AgreesWithTheIntVersionAndRefusesNegativeWidths) {
  for (int width : {8, 9, 10, 13, 31, 32, 33, 16383, 16384}) {
    for (int bits : {1, 4, 8, 24, 32}) {
      EXPECT_EQ(DibRowStride64(width, bits), DibRowStride(width, bits)) << width << " at " << bits << " bits";
    }
  }
  EXPECT_EQ(DibRowStride64(int64_t{1} << 32, 32), int64_t{1} << 34);  // no 32-bit wrap
  EXPECT_EQ(DibRowStride64(-8, 24), -1);
}

static PackedDib Header(uint16_t bitCount, uint32_t clrUsed) {
  PackedDib header{};
  header.biSize = 40;
  header.biBitCount = bitCount;
  header.biClrUsed = clrUsed;
  return header;
}

TEST(DibColorCount, FollowsTheBitCount) {
  struct Case {
    uint16_t bitCount;
    uint32_t clrUsed;
    int want;
  };
  const Case cases[] = {
      {1, 0, 2},   {1, 2, 2},     {1, 18, 18},    // indexed: biClrUsed, or the default when it is 0
      {4, 0, 16},  {4, 5, 5},     {4, 18, 18},
      {8, 0, 256}, {8, 16, 16},   {8, 300, 300},
      {24, 0, 0},  {24, 256, 0},                  // 24 bits: never a table
      {32, 0, 3},  {32, 256, 3},                  // 32 bits: always three entries
      {16, 0, -1}, {0, 0, -1},    {2, 4, -1},     // no picture has these
  };
  for (const Case& c : cases) {
    PackedDib header = Header(c.bitCount, c.clrUsed);
    EXPECT_EQ(DibColorCount(&header), c.want) << c.bitCount << " bits, biClrUsed " << c.clrUsed;
  }
}

TEST(DibBits, StartsAfterTheHeaderAndTheColourTable) {
  struct Case {
    uint16_t bitCount;
    uint32_t clrUsed;
    int offset;
  };
  const Case cases[] = {{1, 0, 48}, {4, 0, 104}, {8, 0, 1064}, {8, 16, 104}, {24, 99, 40}, {32, 0, 52}};
  std::vector<uint8_t> block(2048);
  auto* header = reinterpret_cast<PackedDib*>(block.data());
  for (const Case& c : cases) {
    *header = Header(c.bitCount, c.clrUsed);
    EXPECT_EQ(DibBits(header) - block.data(), c.offset) << c.bitCount << " bits, biClrUsed " << c.clrUsed;
    const PackedDib* same = header;
    EXPECT_EQ(DibBits(same), DibBits(header));
  }
}
