// The levels against references written here: the top level the exact area average (or the picture's
// own colours), each next one the rounded mean of the 2 x 2 pixels above it, for odd sides, 1 x N and
// N x 1, every bit depth (palette pictures averaged in colour); and which levels and pictures are kept.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>

#include "raster_reference.h"
#include "render/face_levels.h"
#include "render/picture_levels.h"

namespace {

uint32_t Channel(uint32_t c, int ch) { return (c >> (8 * ch)) & 0xFF; }

// The exact mean of the picture over output pixel (i, k) of a width x height top level, rounded.
uint32_t AreaMean(const PackedDib* picture, int width, int height, int i, int k) {
  double x0 = static_cast<double>(i) * picture->biWidth / width, x1 = static_cast<double>(i + 1) * picture->biWidth / width;
  double y0 = static_cast<double>(k) * picture->biHeight / height, y1 = static_cast<double>(k + 1) * picture->biHeight / height;
  double sum[3] = {0, 0, 0};
  for (int y = static_cast<int>(y0); y < y1 && y < picture->biHeight; ++y) {
    double fy = std::min<double>(y + 1, y1) - std::max<double>(y, y0);
    for (int x = static_cast<int>(x0); x < x1 && x < picture->biWidth; ++x) {
      double f = fy * (std::min<double>(x + 1, x1) - std::max<double>(x, x0));
      for (int ch = 0; ch < 3; ++ch) sum[ch] += f * Channel(PicturePixel(picture, x, y), ch);
    }
  }
  double area = (x1 - x0) * (y1 - y0);
  uint32_t c = 0;
  for (int ch = 0; ch < 3; ++ch) c |= static_cast<uint32_t>(sum[ch] / area + 0.5) << (8 * ch);
  return c;
}

// The rounded mean of the pixels of the 2 x 2 block at (2i, 2k) that exist.
uint32_t HalfMean(const PictureLevel& above, int i, int k) {
  uint32_t sum[3] = {0, 0, 0}, n = 0;
  for (int y = 2 * k; y < 2 * k + 2 && y < above.height; ++y) {
    for (int x = 2 * i; x < 2 * i + 2 && x < above.width; ++x, ++n) {
      for (int ch = 0; ch < 3; ++ch) sum[ch] += Channel(above.pixels[y * above.width + x], ch);
    }
  }
  uint32_t c = 0;
  for (int ch = 0; ch < 3; ++ch) c |= ((sum[ch] + n / 2) / n) << (8 * ch);
  return c;
}

struct LevelCase {
  const char* name;
  int width, height, bits, cap;
  int topWidth, topHeight, count;
};

const LevelCase kLevelCases[] = {
    {"odd sides, 24-bit", 7, 5, 24, 100, 7, 5, 4},   // 7x5, 4x3, 2x2, 1x1
    {"1 x N, 8-bit", 1, 9, 8, 100, 1, 9, 5},          // 1x9, 1x5, 1x3, 1x2, 1x1
    {"N x 1, 4-bit", 9, 1, 4, 100, 9, 1, 5},
    {"even, 32-bit", 6, 4, 32, 100, 6, 4, 4},
    {"1-bit", 3, 3, 1, 100, 3, 3, 3},
    {"reduced, 24-bit", 50, 37, 24, 16, 16, 16, 5},
    {"reduced one way, 8-bit", 40, 10, 8, 16, 16, 10, 5},  // 16x10, 8x5, 4x3, 2x2, 1x1
};

}  // namespace

TEST(PictureLevels, EveryLevelIsTheMeanOfWhatItCovers) {
  std::mt19937 random(41);
  for (const LevelCase& c : kLevelCases) {
    TestPicture picture = MakePicture(c.width, c.height, c.bits, 0, &random);
    PictureLevels levels;
    ASSERT_TRUE(BuildPictureLevels(picture.header(), c.cap, &levels)) << c.name;
    ASSERT_EQ(levels.count, c.count) << c.name;
    const PictureLevel& top = levels.levels[0];
    ASSERT_EQ(top.width, c.topWidth) << c.name;
    ASSERT_EQ(top.height, c.topHeight) << c.name;
    bool reduced = top.width < c.width || top.height < c.height;
    for (int k = 0; k < top.height; ++k) {
      for (int i = 0; i < top.width; ++i) {
        uint32_t want = reduced ? AreaMean(picture.header(), top.width, top.height, i, k)
                                : PicturePixel(picture.header(), i, k);
        uint32_t got = top.pixels[k * top.width + i];
        for (int ch = 0; ch < 3; ++ch) {  // the reduction rounds once, the reference in doubles
          int error = static_cast<int>(Channel(got, ch)) - static_cast<int>(Channel(want, ch));
          EXPECT_LE(std::abs(error), reduced ? 1 : 0) << c.name << " top (" << i << "," << k << ") got " << std::hex
                                                      << got << " want " << want;
        }
      }
    }
    for (int l = 1; l < levels.count; ++l) {
      const PictureLevel& level = levels.levels[l];
      EXPECT_EQ(level.width, (levels.levels[l - 1].width + 1) / 2) << c.name << " level " << l;
      EXPECT_EQ(level.height, (levels.levels[l - 1].height + 1) / 2) << c.name << " level " << l;
      for (int k = 0; k < level.height; ++k) {
        for (int i = 0; i < level.width; ++i) {
          EXPECT_EQ(level.pixels[k * level.width + i], HalfMean(levels.levels[l - 1], i, k))
              << c.name << " level " << l << " (" << i << "," << k << ")";
        }
      }
    }
    FreePictureLevels(&levels);
  }
}

TEST(PictureLevels, PaletteMeansAreColoursNotIndices) {
  std::mt19937 random(42);
  TestPicture picture = MakePicture(2, 1, 8, 2, &random);
  DibColor* table = DibColors(picture.header());
  table[0] = DibColor{0, 0, 200, 0};  // red
  table[1] = DibColor{100, 0, 0, 0};  // blue
  uint8_t* row = DibBits(picture.header());
  row[0] = 0;
  row[1] = 1;
  PictureLevels levels;
  ASSERT_TRUE(BuildPictureLevels(picture.header(), 100, &levels));
  ASSERT_EQ(levels.count, 2);
  EXPECT_EQ(levels.levels[1].pixels[0], 0x640032u);  // red 100, blue 50: index 0 or 1 would be pure
  FreePictureLevels(&levels);
}

// A picture is freed only when its top level is smaller: otherwise it is kept as it is, and one the
// painter cannot read gets no levels and stays for the first frame to refuse.
TEST(PictureLevels, OnlyPicturesLargerThanAnyFaceAreFreedAtLoad) {
  struct Row {
    int width, height;
    bool freed;
  };
  const Row rows[] = {{30, 20, false}, {kLevelSideCap, 9, false}, {kLevelSideCap + 1, 9, true}, {9, kLevelSideCap + 1, true}};
  for (const Row& r : rows) {
    PackedDib* picture = NewPackedDib(r.width, r.height, 24, 0, int64_t{1} << 30);
    ASSERT_NE(picture, nullptr);
    PackedDib* held = picture;
    PictureLevels levels;
    MakeLoadedLevels(&held, &levels);
    EXPECT_EQ(held == nullptr, r.freed) << r.width << "x" << r.height;
    EXPECT_GT(levels.count, 0) << r.width << "x" << r.height;
    std::free(held);
    FreePictureLevels(&levels);
  }
  PackedDib* empty = NewPackedDib(0, 0, 8, 256, 1 << 20);  // a GIF with a 0 x 0 screen loads so
  PackedDib* held = empty;
  PictureLevels levels;
  MakeLoadedLevels(&held, &levels);
  EXPECT_EQ(held, empty);
  EXPECT_EQ(levels.count, 0);
  std::free(empty);
}

// Levels go only while the next one is still as long as a face of the half edge can be.
TEST(PictureLevels, TrimKeepsTheLevelsAFaceOfTheHalfEdgeUses) {
  struct Row {
    int halfEdge;
    int dropped, topWidth, topHeight;
  };
  const Row rows[] = {{480, 0, 1000, 600}, {122, 2, 250, 150}, {125, 1, 500, 300}, {2, 7, 8, 5}};
  std::mt19937 random(43);
  TestPicture picture = MakePicture(1000, 600, 24, 0, &random);
  PictureLevels full;
  ASSERT_TRUE(BuildPictureLevels(picture.header(), kLevelSideCap, &full));
  for (const Row& r : rows) {
    PictureLevels levels;
    ASSERT_TRUE(BuildPictureLevels(picture.header(), kLevelSideCap, &levels));
    ASSERT_TRUE(KeepLevelsForHalfEdge(r.halfEdge, &levels));
    EXPECT_EQ(levels.dropped, r.dropped) << "half edge " << r.halfEdge;
    EXPECT_EQ(levels.levels[0].width, r.topWidth) << "half edge " << r.halfEdge;
    EXPECT_EQ(levels.levels[0].height, r.topHeight) << "half edge " << r.halfEdge;
    EXPECT_EQ(levels.count, full.count - r.dropped) << "half edge " << r.halfEdge;
    const PictureLevel& kept = levels.levels[levels.count - 1];
    EXPECT_EQ(kept.pixels[0], full.levels[full.count - 1].pixels[0]) << "half edge " << r.halfEdge;
    const PictureLevel& same = full.levels[r.dropped];
    for (int64_t i = 0; i < int64_t{same.width} * same.height; ++i) {
      if (levels.levels[0].pixels[i] != same.pixels[i]) {
        ADD_FAILURE() << "half edge " << r.halfEdge << ": kept top differs at " << i;
        break;
      }
    }
    FreePictureLevels(&levels);
  }
  FreePictureLevels(&full);
}
