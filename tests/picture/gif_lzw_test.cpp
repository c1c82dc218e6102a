// Tests of the GIF LZW decoder: code widths, the full table, interlaced rows, every problem with its
// recovery, sub-block boundaries, and the bit buffer at a short end of file.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "gif_test_support.h"
#include "picture/gif_lzw.h"
#include "picture/gif_parser.h"

namespace {

struct Parsed {
  GifContents* contents = nullptr;
  std::vector<Problem> problems;
  ~Parsed() { ReleaseGif(contents); }
};

// Parses a file of one frame (width x height, background 3, 256 global colours) with the raster.
void ParseRaster(Parsed& parsed, const std::string& name, int width, int height, const Bytes& raster,
                 unsigned packed = 0) {
  Bytes bytes = GifHeaderBytes(width > 0 ? width : 1, height > 0 ? height : 1, 256, 3);
  Append(bytes, ImageBlock(0, 0, width, height, packed, raster));
  Append(bytes, {0x3B});
  parsed.contents = ParseFixture(name, bytes, &parsed.problems);
  ASSERT_NE(parsed.contents, nullptr);
  ASSERT_EQ(parsed.contents->frameCount, 1);
}

std::vector<uint8_t> Pixels(const Parsed& parsed) { return DisplayPixels(parsed.contents->frames[0]); }

// Round trip of pixels through the test encoder and the decoder.
std::vector<uint8_t> RoundTrip(const std::string& name, int width, int height, const std::vector<uint8_t>& pixels,
                               int minCodeSize, bool clearWhenFull, int blockSize, std::string* problems) {
  Bytes raster = {static_cast<uint8_t>(minCodeSize)};
  Append(raster, SubBlocks(LzwEncode(pixels, minCodeSize, clearWhenFull), blockSize));
  Parsed parsed;
  ParseRaster(parsed, name, width, height, raster);
  *problems = Describe(parsed.problems);
  return parsed.contents != nullptr ? Pixels(parsed) : std::vector<uint8_t>();
}

}  // namespace

TEST(GifLzw, CodeBeingDefinedRepeatsThePreviousString) {
  Parsed parsed;
  ParseRaster(parsed, "lzw_kwkwk", 3, 1, CodeRaster(2, {{4, 3}, {1, 3}, {6, 3}, {5, 3}}));
  EXPECT_EQ(Pixels(parsed), (std::vector<uint8_t>{1, 1, 1}));
  EXPECT_EQ(Describe(parsed.problems), "");
}

TEST(GifLzw, StreamWithoutLeadingClearCodeDecodesTheSame) {
  Parsed parsed;
  ParseRaster(parsed, "lzw_no_clear", 3, 1, CodeRaster(2, {{1, 3}, {6, 3}, {5, 3}}));
  EXPECT_EQ(Pixels(parsed), (std::vector<uint8_t>{1, 1, 1}));
  EXPECT_EQ(Describe(parsed.problems), "");
}

TEST(GifLzw, CodeWidthGrowsToTwelveAndTheFullTableKeepsDecoding) {
  // Noise at 8 bits fills the table: widths 9 to 12, then codes at 12 bits with N resting at 256.
  std::vector<uint8_t> pixels = NoisePixels(64 * 200, 256, 7);
  std::string problems;
  EXPECT_EQ(RoundTrip("lzw_full_table", 64, 200, pixels, 8, false, 255, &problems), pixels);
  EXPECT_EQ(problems, "");
  EXPECT_EQ(RoundTrip("lzw_clear_when_full", 64, 200, pixels, 8, true, 255, &problems), pixels);
  EXPECT_EQ(problems, "");
  // Two colours at minimum code size 2 make long strings: widths from 3 bits up.
  std::vector<uint8_t> runs = NoisePixels(100 * 100, 2, 11);
  EXPECT_EQ(RoundTrip("lzw_runs", 100, 100, runs, 2, false, 255, &problems), runs);
  EXPECT_EQ(problems, "");
  // At minimum code size 11 every code has 12 bits and 2047 codes fill the table: 2046 roots, then
  // the newest entry (the last two roots), which makes the last one. 64 x 32 pixels in under 4 KiB,
  // so that the GIF fuzz targets, which skip larger inputs, start from a full table too.
  std::vector<std::pair<int, int>> codes = {{2048, 12}};
  std::vector<uint8_t> roots;
  for (int i = 0; i < 2046; ++i) {
    roots.push_back(static_cast<uint8_t>(i * 7));
    codes.push_back({roots.back(), 12});
  }
  codes.insert(codes.end(), {{4094, 12}, {2049, 12}});
  roots.insert(roots.end(), {roots[2044], roots[2045]});
  Parsed full;
  ParseRaster(full, "lzw_full_table_11", 64, 32, CodeRaster(11, codes));
  EXPECT_EQ(Pixels(full), roots);
  EXPECT_EQ(Describe(full.problems), "");
}

TEST(GifLzw, ClearCodeAfterAFullTableRestartsAtNineBits) {
  // 256 x 15 distinct pairs fill the table; the codes after the clear are read at 9 bits again.
  std::vector<uint8_t> pixels = NoisePixels(8000, 256, 3);
  std::vector<uint8_t> tail = {1, 2, 3, 4, 1, 2, 3, 4, 1, 2};
  pixels.insert(pixels.end(), tail.begin(), tail.end());
  std::string problems;
  EXPECT_EQ(RoundTrip("lzw_clear_restart", 8010, 1, pixels, 8, true, 255, &problems), pixels);
  EXPECT_EQ(problems, "");
}

TEST(GifLzw, SubBlockBoundariesAnywhereInACode) {
  std::vector<uint8_t> pixels = NoisePixels(37 * 23, 16, 5);
  for (int blockSize : {1, 2, 3, 254, 255}) {
    std::string problems;
    EXPECT_EQ(RoundTrip("lzw_blocks_" + std::to_string(blockSize), 37, 23, pixels, 4, true, blockSize, &problems),
              pixels)
        << "block size " << blockSize;
    EXPECT_EQ(problems, "") << "block size " << blockSize;
  }
}

TEST(GifLzw, RootCodesAboveTheByteRangeKeepTheirLowByte) {
  Parsed nine;
  ParseRaster(nine, "lzw_root_300", 2, 1, CodeRaster(9, {{512, 10}, {300, 10}, {511, 10}, {513, 10}}));
  EXPECT_EQ(Pixels(nine), (std::vector<uint8_t>{44, 255}));
  EXPECT_EQ(Describe(nine.problems), "");
  Parsed eleven;
  ParseRaster(eleven, "lzw_root_2047", 1, 1, CodeRaster(11, {{2048, 12}, {2047, 12}, {2049, 12}}));
  EXPECT_EQ(Pixels(eleven), (std::vector<uint8_t>{255}));
  EXPECT_EQ(Describe(eleven.problems), "");
}

TEST(GifLzw, MinimumCodeSizeOutOfRangeIsReportedAndClamped) {
  Parsed big;
  ParseRaster(big, "lzw_min_12", 1, 1, CodeRaster(12, {{2048, 12}, {1000, 12}, {2049, 12}}));
  EXPECT_EQ(Pixels(big), (std::vector<uint8_t>{1000 % 256}));
  EXPECT_EQ(Describe(big.problems), "min_code_size too big@0");
  for (int m : {0, 1}) {
    Parsed small;
    ParseRaster(small, "lzw_min_" + std::to_string(m), 1, 1, CodeRaster(m, {{4, 3}, {2, 3}, {5, 3}}));
    EXPECT_EQ(Pixels(small), (std::vector<uint8_t>{2}));
    EXPECT_EQ(Describe(small.problems), "min_code_size too small@0");
  }
}

TEST(GifLzw, CodeAboveTheNextFreeCodeDecodesAsZero) {
  // Code 7 arrives while N is 6: one pixel 0, and entry 6 becomes "1 0", which code 6 then repeats.
  Parsed parsed;
  ParseRaster(parsed, "lzw_unexpected", 4, 1, CodeRaster(2, {{4, 3}, {1, 3}, {7, 3}, {6, 3}, {5, 4}}));
  EXPECT_EQ(Pixels(parsed), (std::vector<uint8_t>{1, 0, 1, 0}));
  EXPECT_EQ(Describe(parsed.problems), "unexpected code@0");
}

TEST(GifLzw, StringPastTheLastPixelIsDroppedWhole) {
  // Code 6 ("1 2") would end one pixel past the frame: dropped, its pixel stays background (3);
  // every later code with a string reports again, and the data is consumed to its terminator.
  Parsed parsed;
  Bytes raster = CodeRaster(2, {{4, 3}, {1, 3}, {2, 3}, {6, 3}, {0, 4}, {1, 4}, {5, 4}});
  ParseRaster(parsed, "lzw_too_much", 3, 1, raster);
  EXPECT_EQ(Pixels(parsed), (std::vector<uint8_t>{1, 2, 3}));
  EXPECT_EQ(Describe(parsed.problems), "too much image data@0; too much image data@0; too much image data@0");
  EXPECT_EQ(parsed.contents->errorCount, 3u);
}

TEST(GifLzw, FrameOfZeroSizeWritesNothing) {
  for (int width : {0, 3}) {
    Parsed parsed;
    ParseRaster(parsed, "lzw_zero_size_" + std::to_string(width), width, width == 0 ? 4 : 0,
                CodeRaster(2, {{4, 3}, {1, 3}, {2, 3}, {5, 3}}));
    EXPECT_EQ(Describe(parsed.problems), "too much image data@0; too much image data@0");
    EXPECT_EQ(parsed.contents->frames[0]->rows[parsed.contents->frames[0]->height], nullptr);
  }
}

TEST(GifLzw, SubBlocksAfterTheEndCodeAreSkipped) {
  // Codes clear, 1, end in one sub-block of two bytes, then three more sub-blocks before the terminator.
  Bytes raster = {2, 2, 0x4C, 0x01, 3, 0, 0xAA, 0xBB, 2, 0x3B, 0x21, 0};
  Parsed parsed;
  Bytes bytes = GifHeaderBytes(1, 1, 4, 0);
  Append(bytes, ImageBlock(0, 0, 1, 1, 0, raster));
  Append(bytes, ImageBlock(0, 0, 1, 1, 0, CodeRaster(2, {{4, 3}, {2, 3}, {5, 3}})));
  parsed.contents = ParseFixture("lzw_after_end", bytes, &parsed.problems);
  ASSERT_NE(parsed.contents, nullptr);
  ASSERT_EQ(parsed.contents->frameCount, 2);
  EXPECT_EQ(DisplayPixels(parsed.contents->frames[0]), (std::vector<uint8_t>{1}));
  EXPECT_EQ(DisplayPixels(parsed.contents->frames[1]), (std::vector<uint8_t>{2}));
  EXPECT_EQ(Describe(parsed.problems), "");
}

TEST(GifLzw, TerminatorBeforeTheEndCodeLeavesBackgroundPixels) {
  // The codes fill their two bytes exactly, so no padding bits form a further code.
  Bytes bytes = GifHeaderBytes(6, 1, 4, 2);
  Append(bytes, ImageBlock(0, 0, 6, 1, 0, CodeRaster(2, {{4, 3}, {1, 3}, {0, 3}, {0, 3}, {0, 4}})));
  Append(bytes, ImageBlock(0, 0, 1, 1, 0, CodeRaster(2, {{4, 3}, {1, 3}, {5, 3}})));
  Parsed parsed;
  parsed.contents = ParseFixture("lzw_not_enough", bytes, &parsed.problems);
  ASSERT_NE(parsed.contents, nullptr);
  ASSERT_EQ(parsed.contents->frameCount, 2);
  EXPECT_EQ(DisplayPixels(parsed.contents->frames[0]), (std::vector<uint8_t>{1, 0, 0, 0, 2, 2}));
  EXPECT_EQ(Describe(parsed.problems), "not enough image data for image size@0");
}

TEST(GifLzw, InterlacedRowsFollowTheFourPasses) {
  EXPECT_EQ(InterlacedRow(0, 1), 0);
  const int five[] = {0, 4, 2, 1, 3};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(InterlacedRow(i, 5), five[i]) << "index " << i;
  for (int height = 1; height <= 300; ++height) {
    std::vector<int> order = InterlacedOrder(height);
    for (int i = 0; i < height; ++i) {
      ASSERT_EQ(InterlacedRow(i, height), order[static_cast<size_t>(i)]) << "height " << height << " index " << i;
    }
  }
  // The comparison can fail: the plain order differs from the interlaced one from height 3 on.
  EXPECT_NE(InterlacedRow(1, 3), 1);
}

TEST(GifLzw, InterlacedFrameIsReadInDisplayOrder) {
  // Five rows of one pixel each, stored in data order 0, 4, 2, 1, 3 as the values 10..14.
  Bytes raster = CodeRaster(4, {{16, 5}, {10, 5}, {11, 5}, {12, 5}, {13, 5}, {14, 5}, {17, 5}});
  Parsed parsed;
  ParseRaster(parsed, "lzw_interlaced_5", 1, 5, raster, 0x40);
  EXPECT_EQ(Pixels(parsed), (std::vector<uint8_t>{10, 13, 12, 14, 11}));
  EXPECT_EQ(parsed.contents->frames[0]->interlaced, 1);
}

TEST(GifLzw, ZeroLengthStringIsABadCode) {
  // A well-formed table never holds such a string; the decoder still handles one.
  uint16_t prefix[kGifCodeCount] = {};
  uint8_t suffix[kGifCodeCount] = {};
  uint16_t length[kGifCodeCount] = {};
  uint32_t position[kGifCodeCount] = {};
  uint8_t output[4 + kGifPixelSlack] = {9, 9, 9, 9};
  GifContents* contents = NewGifContents();
  ASSERT_NE(contents, nullptr);
  contents->background = 7;
  std::vector<Problem> problems;
  DecodeContext context = {contents, prefix, suffix, length, position, output, output + 4, 1, RecordProblem, &problems};
  EXPECT_EQ(EmitCode(&context, 300), 0);
  EXPECT_EQ(context.written, 4);
  EXPECT_EQ(contents->errorCount, 1u);
  EXPECT_EQ(Describe(problems), "bad code@0");
  EXPECT_EQ(output[0], 9);
  EXPECT_EQ(output[1], 7);  // never reached: background
  EXPECT_EQ(output[3], 7);
  ReleaseGif(contents);
}

TEST(GifLzw, ShortFileInsideASubBlockReadsZeroBits) {
  // The sub-block promises 255 bytes but the file holds one: clear, 1, then zero bits, which are
  // codes 0 (one pixel 0 each) at the widths the table's growth gives, until the bits run out.
  Bytes bytes = GifHeaderBytes(3000, 1, 4, 3);
  Append(bytes, ImageBlock(0, 0, 3000, 1, 0, {2, 255, 0x0C}));
  for (int parse = 0; parse < 2; ++parse) {
    Parsed parsed;
    parsed.contents = ParseFixture("lzw_short_block", bytes, &parsed.problems);
    ASSERT_NE(parsed.contents, nullptr);
    ASSERT_EQ(parsed.contents->frameCount, 1);
    // The zero codes that fit into the 2034 bits after the first two codes.
    int bitsLeft = 255 * 8 - 6, next = 6, width = 3, zeros = 0;
    while (bitsLeft >= width) {
      bitsLeft -= width;
      zeros += 1;
      if (++next == (1 << width) && width < 12) width += 1;
    }
    std::vector<uint8_t> want(3000, 3);
    want[0] = 1;
    std::fill(want.begin() + 1, want.begin() + 1 + zeros, 0);
    EXPECT_EQ(DisplayPixels(parsed.contents->frames[0]), want);
    EXPECT_EQ(Describe(parsed.problems), "not enough image data for image size@0");
  }
}
