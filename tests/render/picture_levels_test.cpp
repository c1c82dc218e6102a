// The levels against references written here: the top level the mean of the blocks it covers (or
// the picture's own colours), for odd sides, 1 x N and N x 1, every bit depth (palette pictures
// averaged in colour); the face levels' sizes, and their pixels on gradients, which area averages
// and linear magnification keep; and which pictures are freed when.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <random>

#include "raster_reference.h"
#include "render/face_levels.h"
#include "render/picture_levels.h"
#include "settings/settings_file.h"

namespace {

uint32_t Channel(uint32_t c, int ch) { return (c >> (8 * ch)) & 0xFF; }

// The rounded mean of the picture's pixels in the kx x ky block at (i, k) that exist.
uint32_t BlockMean(const PackedDib* picture, int kx, int ky, int i, int k) {
  uint32_t sum[3] = {0, 0, 0}, n = 0;
  for (int y = k * ky; y < (k + 1) * ky && y < picture->biHeight; ++y) {
    for (int x = i * kx; x < (i + 1) * kx && x < picture->biWidth; ++x, ++n) {
      for (int ch = 0; ch < 3; ++ch) sum[ch] += Channel(PicturePixel(picture, x, y), ch);
    }
  }
  uint32_t c = 0;
  for (int ch = 0; ch < 3; ++ch) c |= ((sum[ch] + n / 2) / n) << (8 * ch);
  return c;
}

struct TopCase {
  const char* name;
  int width, height, bits, least;
  int topWidth, topHeight;
};

const TopCase kTopCases[] = {
    {"odd sides, 24-bit", 7, 5, 24, 100, 7, 5},
    {"1 x N, 8-bit", 1, 9, 8, 100, 1, 9},
    {"N x 1, 4-bit", 9, 1, 4, 100, 9, 1},
    {"32-bit", 6, 4, 32, 100, 6, 4},
    {"1-bit", 3, 3, 1, 100, 3, 3},
    {"reduced, odd blocks, 24-bit", 50, 37, 24, 16, 17, 19},  // blocks of 3 x 2: the last 2 x 1
    {"reduced one way, 8-bit", 40, 10, 8, 13, 14, 10},         // blocks of 3 x 1: the last 1 wide
    {"1 x N reduced, 24-bit", 1, 33, 24, 16, 1, 17},           // blocks of 1 x 2: the last 1 x 1
};

}  // namespace

TEST(PictureLevels, TheTopLevelIsTheMeanOfTheBlocksItCovers) {
  std::mt19937 random(41);
  for (const TopCase& c : kTopCases) {
    TestPicture picture = MakePicture(c.width, c.height, c.bits, 0, &random);
    PictureLevels levels;
    ASSERT_TRUE(BuildPictureLevels(picture.header(), c.least, &levels)) << c.name;
    ASSERT_EQ(levels.topWidth, c.topWidth) << c.name;
    ASSERT_EQ(levels.topHeight, c.topHeight) << c.name;
    int kx = c.width > c.least ? c.width / c.least : 1, ky = c.height > c.least ? c.height / c.least : 1;
    for (int k = 0; k < c.topHeight; ++k) {
      for (int i = 0; i < c.topWidth; ++i) {
        EXPECT_EQ(levels.top[k * c.topWidth + i], BlockMean(picture.header(), kx, ky, i, k))
            << c.name << " (" << i << "," << k << ")";
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
  ASSERT_TRUE(BuildPictureLevels(picture.header(), 1, &levels));
  ASSERT_EQ(levels.topWidth, 1);
  EXPECT_EQ(levels.top[0], 0x640032u);  // red 100, blue 50: index 0 or 1 would be pure
  FreePictureLevels(&levels);
}

// Face levels of gradients: blue rises along x, green along y, red stays. An area average of a
// gradient is its value at the box's centre, so every face level pixel must be the top level's
// gradient at its centre (within rounding), and a level of another size or order of pixels cannot
// pass. No level is larger than the face side or the picture.
TEST(PictureLevels, FaceLevelsAreAreaAveragesOfTheTopLevel) {
  struct Row {
    int width, height, faceSide;
    int widthCount, firstWidth;
  };
  // 244, 172, 122, 86, 61, 43, 31, 22, 16, 11, 8, 6, 4, 3, 2, 1 from 244; 100, 70, 50, 35, 25, 18, 13, 9,
  // 7, 5, 4, 3, 2, 1 from 100.
  const Row rows[] = {{600, 400, 244, 16, 244}, {100, 160, 244, 14, 100}, {1, 50, 9, 1, 1}, {37, 1, 2, 2, 2}};
  std::mt19937 random(43);
  for (const Row& r : rows) {
    TestPicture picture = MakePicture(r.width, r.height, 24, 0, &random);
    for (int y = 0; y < r.height; ++y) {
      uint8_t* bytes = DibBits(picture.header()) + static_cast<int64_t>(r.height - 1 - y) * DibRowStride(r.width, 24);
      for (int x = 0; x < r.width; ++x) {
        bytes[3 * x] = static_cast<uint8_t>(20 + 200 * x / (r.width > 1 ? r.width - 1 : 1));
        bytes[3 * x + 1] = static_cast<uint8_t>(30 + 190 * y / (r.height > 1 ? r.height - 1 : 1));
        bytes[3 * x + 2] = 77;
      }
    }
    PictureLevels levels;
    ASSERT_TRUE(BuildPictureLevels(picture.header(), kTopLevelSide, &levels));
    PlanFaceLevels(r.faceSide, &levels);
    ASSERT_EQ(levels.widthCount, r.widthCount) << r.width << "x" << r.height;
    EXPECT_EQ(levels.widths[0], r.firstWidth);
    EXPECT_EQ(levels.heights[0], r.height < r.faceSide ? r.height : r.faceSide);
    EXPECT_EQ(levels.widths[levels.widthCount - 1], 1);
    for (int i = 0; i < levels.widthCount; ++i) {
      for (int j = 0; j < levels.heightCount; ++j) {
        // A front-on face of exactly the level's size asks for that level.
        const ScreenPoint corners[3] = {{0, 0}, {levels.widths[i], 0}, {0, levels.heights[j]}};
        const PackedDib* level = FaceLevel(&levels, corners);
        ASSERT_NE(level, nullptr);
        ASSERT_EQ(level->biWidth, levels.widths[i]);
        ASSERT_EQ(level->biHeight, levels.heights[j]);
        int worst = 0;
        for (int y = 0; y < level->biHeight; ++y) {
          for (int x = 0; x < level->biWidth; ++x) {
            // Picture coordinates of the level pixel's centre, clamped to the outer pixels' centres.
            double px = (x + 0.5) * r.width / level->biWidth - 0.5, py = (y + 0.5) * r.height / level->biHeight - 0.5;
            px = px < 0 ? 0 : px > r.width - 1 ? r.width - 1 : px;
            py = py < 0 ? 0 : py > r.height - 1 ? r.height - 1 : py;
            double want[3] = {20 + 200 * px / (r.width > 1 ? r.width - 1 : 1),
                              30 + 190 * py / (r.height > 1 ? r.height - 1 : 1), 77};
            uint32_t got = PicturePixel(level, x, y);
            for (int ch = 0; ch < 3; ++ch) {
              int error = static_cast<int>(std::lround(std::abs(Channel(got, ch) - want[ch])));
              worst = error > worst ? error : worst;
            }
          }
        }
        // The picture's whole-number steps and a rounding in each resampling along the way (the
        // smallest levels are seven steps from the top).
        EXPECT_LE(worst, 5) << r.width << "x" << r.height << " level " << level->biWidth << "x" << level->biHeight;
      }
    }
    FreePictureLevels(&levels);
  }
}

// A picture is freed at load only when its top level is smaller: otherwise it is kept as it is
// until the face levels exist, and one the painter cannot read gets no levels and stays for the
// first frame to refuse.
TEST(PictureLevels, PicturesAreFreedOnlyWhenNoFaceNeedsThem) {
  struct Row {
    int width, height;
    bool freed;
  };
  const int twice = 2 * kTopLevelSide;  // the first side reduced
  const Row rows[] = {{30, 20, false}, {twice - 1, 9, false}, {twice, 9, true}, {9, twice, true}};
  for (const Row& r : rows) {
    PackedDib* picture = NewPackedDib(r.width, r.height, 24, 0, int64_t{1} << 30);
    ASSERT_NE(picture, nullptr);
    PackedDib* held = picture;
    PictureLevels levels;
    MakeLoadedLevels(&held, &levels);
    EXPECT_EQ(held == nullptr, r.freed) << r.width << "x" << r.height;
    EXPECT_NE(levels.top, nullptr) << r.width << "x" << r.height;
    std::free(held);
    FreePictureLevels(&levels);
  }
  PackedDib* empty = NewPackedDib(0, 0, 8, 256, 1 << 20);  // a GIF with a 0 x 0 screen loads so
  PackedDib* held = empty;
  PictureLevels levels;
  MakeLoadedLevels(&held, &levels);
  EXPECT_EQ(held, empty);
  EXPECT_EQ(levels.top, nullptr);
  std::free(empty);

  // Once the half edge is fixed every face's levels are planned from its top level, and its picture goes.
  ForgetFaceLevels();
  for (int k = 0; k < kFaceCount; ++k) {
    FacePictures[k] = NewPackedDib(40, 30, 24, 0, int64_t{1} << 30);
    ASSERT_NE(FacePictures[k], nullptr);
    MakeLoadedLevels(&FacePictures[k], &FaceLevels[k]);
    ASSERT_NE(FacePictures[k], nullptr);
  }
  KeepShownLevels(122);
  for (int k = 0; k < kFaceCount; ++k) {
    EXPECT_EQ(FacePictures[k], nullptr) << "face " << k;
    EXPECT_EQ(FaceLevels[k].faceSide, 244) << "face " << k;
    EXPECT_NE(FaceLevels[k].top, nullptr) << "face " << k;
  }
  ForgetFaceLevels();
}
