// LoadBmp on files that must be refused: cut short, out-of-range sizes, unsupported formats,
// offsets and counts that point outside the file, and headers that claim far more than the file
// holds, which must be refused before anything large is allocated.
#include <gtest/gtest.h>

#include <climits>

#include "common/bmp_builder.h"
#include "picture/bmp_fixture.h"
#include "picture/bmp_reader.h"
#include "picture/calloc_probe.h"

static Bytes Cut(const Bytes& bytes, size_t length) { return Bytes(bytes.begin(), bytes.begin() + length); }

TEST(LoadBmpRefuses, FilesCutAtEachBoundary) {
  for (uint16_t bits : {1, 4, 8, 24, 32}) {
    BmpFields fields;
    fields.bitCount = bits;
    fields.entries = bits <= 8 ? 4 : 0;
    if (bits == 32) fields.offBits = 54;
    Bytes file = BuildBmp(fields);
    ASSERT_NE(LoadBmpFixture("whole_" + std::to_string(bits), file), nullptr) << bits << " bits, whole file";
    size_t tableEnd = 54 + 4 * fields.entries;
    const size_t cuts[] = {0, 1, 2, 13, 14, 15, 53, 54, 55, tableEnd - 1, tableEnd, tableEnd + 1,
                           file.size() - 4, file.size() - 1};
    for (size_t length : cuts) {
      std::string name = "cut_" + std::to_string(bits) + "_" + std::to_string(length);
      EXPECT_EQ(LoadBmpFixture(name, Cut(file, length)), nullptr) << bits << " bits cut to " << length;
    }
  }
}

TEST(LoadBmpRefuses, FileOfExactlyTheHeaders) {
  EXPECT_EQ(LoadBmpFixture("headers_only", Cut(BuildBmp(BmpFields{}), 54)), nullptr);
}

TEST(LoadBmpRefuses, SidesOutsideEightTo16384) {
  const int32_t bad[] = {7, 16385, 0, -1, -8, -16384, INT32_MIN, INT32_MAX};
  for (int32_t side : bad) {
    BmpFields wide;
    wide.bitCount = 1;
    wide.entries = 2;
    wide.width = side;
    wide.pixels = side > 0 && side < 20000;
    EXPECT_EQ(LoadBmpFixture("width_" + std::to_string(side), BuildBmp(wide)), nullptr) << "width " << side;
    BmpFields tall = wide;
    tall.width = 8;
    tall.height = side;
    tall.pixels = side > -20000 && side < 20000;  // top-down files come with their rows
    EXPECT_EQ(LoadBmpFixture("height_" + std::to_string(side), BuildBmp(tall)), nullptr) << "height " << side;
  }
}

TEST(LoadBmpRefuses, UnsupportedFormats) {
  struct Case {
    const char* name;
    uint16_t type;
    uint32_t infoSize;
    uint16_t bits;
    uint32_t compression;
  };
  const Case cases[] = {
      {"type_mb", 0x424D, 40, 24, 0},       {"type_zero", 0, 40, 24, 0},
      {"core_header", 0x4D42, 12, 24, 0},   {"v4_header", 0x4D42, 108, 24, 0},
      {"v5_header", 0x4D42, 124, 24, 0},    {"bits16", 0x4D42, 40, 16, 0},
      {"bits0", 0x4D42, 40, 0, 0},          {"bits2", 0x4D42, 40, 2, 0},
      {"bits64", 0x4D42, 40, 64, 0},        {"rle8", 0x4D42, 40, 8, 1},
      {"rle4", 0x4D42, 40, 4, 2},           {"bitfields32", 0x4D42, 40, 32, 3},
  };
  for (const Case& c : cases) {
    BmpFields fields;
    fields.type = c.type;
    fields.infoSize = c.infoSize;
    fields.bitCount = c.bits;
    fields.compression = c.compression;
    fields.entries = c.bits <= 8 ? 4 : 0;
    EXPECT_EQ(LoadBmpFixture(c.name, BuildBmp(fields)), nullptr) << c.name;
  }
}

TEST(LoadBmpRefuses, PixelOffsetBeyondTheEnd) {
  for (uint32_t offBits : {278u, 279u, 1000u, 0x7FFFFFFFu, 0x80000000u, 0xFFFFFFFEu}) {
    BmpFields fields;  // 278 bytes long
    fields.offBits = offBits;
    EXPECT_EQ(LoadBmpFixture("offbits_" + std::to_string(offBits), BuildBmp(fields)), nullptr) << offBits;
  }
  BmpFields last;  // an offset that leaves one byte too few for the rows
  last.offBits = 58;
  last.trailing = 0;
  EXPECT_EQ(LoadBmpFixture("offbits_one_short", BuildBmp(last)), nullptr);
}

TEST(LoadBmpRefuses, ClrUsedThatDisagreesWithTheFile) {
  for (uint32_t clrUsed : {1u, 5u, 0x40000000u, 0x7FFFFFFFu, 0xFFFFFFFFu}) {
    BmpFields fields;
    fields.bitCount = 8;
    fields.entries = 4;
    fields.clrUsed = clrUsed;
    EXPECT_EQ(LoadBmpFixture("clrused_" + std::to_string(clrUsed), BuildBmp(fields)), nullptr) << clrUsed;
  }
  BmpFields empty;  // no entries at all, but a count in the header
  empty.bitCount = 4;
  empty.clrUsed = 16;
  EXPECT_EQ(LoadBmpFixture("clrused_without_entries", BuildBmp(empty)), nullptr);
}

TEST(LoadBmpRefuses, SpareThatIsNotWholeEntries) {
  for (uint16_t bits : {1, 4, 8, 24, 32}) {
    for (int extra : {1, 2, 3, 5}) {
      BmpFields fields;
      fields.bitCount = bits;
      fields.entries = bits <= 8 ? 2 : 0;
      fields.offBits = 0;
      fields.trailing = extra + (bits == 32 ? 12 : 0);
      std::string name = "spare_" + std::to_string(bits) + "_" + std::to_string(extra);
      EXPECT_EQ(LoadBmpFixture(name, BuildBmp(fields)), nullptr) << bits << " bits, " << extra << " spare bytes";
    }
  }
}

TEST(LoadBmpRefuses, IndexedFileShorterThanItsPixels) {
  BmpFields fields;  // 4 bytes short: a negative spare that is a multiple of 4
  fields.bitCount = 8;
  Bytes file = BuildBmp(fields);
  EXPECT_EQ(LoadBmpFixture("pal8_short4", Cut(file, file.size() - 4)), nullptr);
}

// The allocation probe must see the reader's block, or the next test could not fail.
TEST(LoadBmpAllocation, ProbeSeesTheBlockOfAGoodFile) {
  PictureOwner picture = LoadBmpFixture("probe_rgb24", BuildBmp(BmpFields{}));
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(LargestCallocBytes(), 264);
}

TEST(LoadBmpAllocation, HugePictureInASmallFileIsRefusedBeforeAllocating) {
  for (uint16_t bits : {32, 24, 8, 1}) {
    BmpFields fields;  // 16384 x 16384 declared in about 1 KiB of file
    fields.width = 16384;
    fields.height = 16384;
    fields.bitCount = bits;
    fields.pixels = false;
    fields.offBits = 54;
    fields.trailing = 1024 - 54 - 2;  // whole entries of spare, so only the length check can refuse it
    Bytes file = BuildBmp(fields);
    EXPECT_EQ(LoadBmpFixture("huge_in_1k_" + std::to_string(bits), file), nullptr) << bits << " bits";
    EXPECT_LT(LargestCallocBytes(), 64 * 1024) << bits << " bits";
  }
}

static BmpHeaders Headers(int32_t width, int32_t height, uint16_t bits) {
  BmpHeaders headers{};
  headers.type = kBmpType;
  headers.infoSize = 40;
  headers.width = width;
  headers.height = height;
  headers.bitCount = bits;
  return headers;
}

// Lengths beyond 4 GiB cannot be fixtures; the layout decision is checked on its own for them.
TEST(PlanBmp, LengthsBeyond32BitsNeverWrap) {
  BmpLayout layout{};
  int64_t fourGiB = int64_t{1} << 32;
  // 24 bits: 4 GiB of spare bytes are whole entries, unused; the block stays small.
  ASSERT_TRUE(PlanBmp(Headers(9, 8, 24), 54 + 224 + fourGiB, &layout));
  EXPECT_EQ(layout.blockBytes, 264);
  EXPECT_EQ(layout.pixelOffset, 54);
  // 8 bits: 2^32 + 64 spare bytes, which 32-bit arithmetic would take for a 16-entry table.
  EXPECT_FALSE(PlanBmp(Headers(8, 8, 8), 54 + 64 + 64 + fourGiB, &layout));
  // The largest table whose block still fits the block limit, and one entry more.
  int64_t most = (kBmpMaxBlockBytes - 40 - 64) / 4;
  ASSERT_TRUE(PlanBmp(Headers(8, 8, 8), 54 + 64 + 4 * most, &layout));
  EXPECT_EQ(layout.colorCount, most);
  EXPECT_FALSE(PlanBmp(Headers(8, 8, 8), 54 + 64 + 4 * (most + 1), &layout));
  ASSERT_TRUE(PlanBmp(Headers(8, 8, 8), 54 + 64 + 4 * 1000, &layout));
  EXPECT_EQ(layout.colorCount, 1000);
  EXPECT_EQ(layout.blockBytes, 40 + 4000 + 64);
}

TEST(PlanBmp, LargestPictureNeedsTheWholeFile) {
  BmpLayout layout{};
  int64_t pixelBytes = int64_t{16384} * 65536;
  BmpHeaders headers = Headers(16384, 16384, 32);
  headers.offBits = 54;
  EXPECT_FALSE(PlanBmp(headers, 54 + pixelBytes - 4, &layout));
  EXPECT_FALSE(PlanBmp(headers, 1022, &layout));
  ASSERT_TRUE(PlanBmp(headers, 54 + pixelBytes, &layout));
  EXPECT_EQ(layout.pixelBytes, pixelBytes);
  EXPECT_EQ(layout.blockBytes, 40 + 12 + pixelBytes);
}
