// The painter (fill, erase around the faces, picture transfer) and the two-pass oracle (stretch,
// parallelogram transfer) against the naive references of raster_reference.cpp, on every picture
// format and on many random parallelograms, and the rules for empty transfers.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "raster_reference.h"
#include "render/painter.h"
#include "two_pass.h"

namespace {

#define EXPECT_SAME_SURFACE(ours_, want_, what)                                                   \
  do {                                                                                            \
    Difference d_ = CompareSurfaces(ours_, want_);                                                \
    EXPECT_EQ(d_.count, 0) << what << ": first at (" << d_.x << "," << d_.y << ") got " << std::hex \
                           << d_.got << " want " << d_.want;                                      \
  } while (0)

void CopySurface(const Surface& from, Surface& to) {
  for (int y = 0; y < from.height; ++y) {
    for (int x = 0; x < from.width; ++x) SetPixel(to, x, y, PixelAt(from, x, y));
  }
}

std::string Corners(const ScreenPoint c[3], int w, int hh) {
  return "corners (" + std::to_string(c[0].x) + "," + std::to_string(c[0].y) + ") (" + std::to_string(c[1].x) + "," +
         std::to_string(c[1].y) + ") (" + std::to_string(c[2].x) + "," + std::to_string(c[2].y) + ") w " +
         std::to_string(w) + " hh " + std::to_string(hh);
}

// Runs our transfer and the reference on the same random target and compares them.
void CheckTransfer(const ScreenPoint corners[3], const Surface& source, int w, int hh, std::mt19937* random) {
  TestSurface ours(97, 71), want(97, 71);
  FillRandom(ours.surface, random);
  CopySurface(ours.surface, want.surface);
  ASSERT_TRUE(TransferParallelogram(ours.surface, corners, source, w, hh)) << Corners(corners, w, hh);
  ReferenceTransfer(want.surface, corners, source, w, hh);
  EXPECT_SAME_SURFACE(ours.surface, want.surface, Corners(corners, w, hh));
}

}  // namespace

TEST(RasterFill, ClipsAndTreatsRightAndBottomAsExclusive) {
  std::mt19937 random(1);
  const Rect rects[] = {{3, 4, 10, 9}, {-5, -7, 4, 3}, {40, 30, 90, 80}, {-100, -100, 100, 100},
                        {5, 5, 5, 9},  {6, 6, 2, 9},   {0, 0, 0, 0},     {41, 0, 42, 1}};
  for (const Rect& rect : rects) {
    TestSurface ours(41, 33), want(41, 33);
    FillRandom(ours.surface, &random);
    CopySurface(ours.surface, want.surface);
    FillSurfaceRect(ours.surface, rect, DibColor{0x12, 0x34, 0x56, 0});
    ReferenceFill(want.surface, rect, 0x563412);
    EXPECT_SAME_SURFACE(ours.surface, want.surface, "coloured fill " << rect.left << " " << rect.top);
    FillSurfaceRect(ours.surface, rect, kBlack);
    ReferenceFill(want.surface, rect, 0);
    EXPECT_SAME_SURFACE(ours.surface, want.surface, "black fill " << rect.left << " " << rect.top);
  }
}

TEST(RasterStretch, EveryPictureFormatMatchesTheReference) {
  std::mt19937 random(2);
  struct Format {
    int bits;
    int colours;
  };
  // 0 colours means the default table; short tables leave high indices black.
  const Format formats[] = {{1, 0}, {1, 1}, {4, 0}, {4, 5}, {8, 0}, {8, 17}, {24, 0}, {32, 0}};
  const int sizes[][2] = {{13, 9}, {8, 8}, {37, 23}, {1, 1}, {64, 3}};
  const int targets[][2] = {{13, 9}, {5, 4}, {60, 40}, {1, 1}, {200, 7}, {3, 90}};
  for (const Format& format : formats) {
    for (const auto& size : sizes) {
      TestPicture picture = MakePicture(size[0], size[1], format.bits, format.colours, &random);
      for (const auto& target : targets) {
        TestSurface ours(50, 30), want(50, 30);
        FillRandom(ours.surface, &random);
        CopySurface(ours.surface, want.surface);
        ASSERT_TRUE(StretchPicture(ours.surface, target[0], target[1], picture.header()));
        ReferenceStretch(want.surface, target[0], target[1], picture.header());
        EXPECT_SAME_SURFACE(ours.surface, want.surface,
                            format.bits << "-bit " << size[0] << "x" << size[1] << " into " << target[0] << "x"
                                        << target[1]);
      }
    }
  }
}

TEST(RasterStretch, PictureIsUpright) {
  // A 2 x 2 24-bit picture: its first stored row is the bottom one.
  std::mt19937 random(3);
  TestPicture picture = MakePicture(2, 2, 24, 0, &random);
  uint8_t* bits = DibBits(picture.header());
  const uint8_t rows[2][8] = {{1, 1, 1, 2, 2, 2, 0, 0}, {3, 3, 3, 4, 4, 4, 0, 0}};  // bottom, top
  std::memcpy(bits, rows, sizeof rows);
  TestSurface face(4, 4);
  ASSERT_TRUE(StretchPicture(face.surface, 4, 4, picture.header()));
  EXPECT_EQ(PixelAt(face.surface, 0, 0), 0x030303u);
  EXPECT_EQ(PixelAt(face.surface, 3, 0), 0x040404u);
  EXPECT_EQ(PixelAt(face.surface, 0, 3), 0x010101u);
  EXPECT_EQ(PixelAt(face.surface, 3, 3), 0x020202u);
}

TEST(RasterStretch, EmptySizesSucceedAndUnreadablePicturesFail) {
  std::mt19937 random(4);
  TestPicture picture = MakePicture(9, 8, 24, 0, &random);
  TestSurface face(10, 10), before(10, 10);
  FillRandom(face.surface, &random);
  CopySurface(face.surface, before.surface);
  EXPECT_TRUE(StretchPicture(face.surface, 0, 5, picture.header()));
  EXPECT_TRUE(StretchPicture(face.surface, 5, 0, picture.header()));
  EXPECT_SAME_SURFACE(face.surface, before.surface, "zero-sized stretch");
  EXPECT_FALSE(StretchPicture(face.surface, -1, 5, picture.header()));
  EXPECT_FALSE(StretchPicture(face.surface, 5, 5, nullptr));
  picture.header()->biBitCount = 16;
  EXPECT_FALSE(StretchPicture(face.surface, 5, 5, picture.header()));
  picture.header()->biBitCount = 24;
  picture.header()->biSizeImage -= 1;  // rows would run past the block
  EXPECT_FALSE(StretchPicture(face.surface, 5, 5, picture.header()));
  EXPECT_SAME_SURFACE(face.surface, before.surface, "refused stretch");
}

TEST(RasterTransfer, RandomParallelogramsMatchTheReference) {
  std::mt19937 random(5);
  TestSurface source(40, 30);
  FillRandom(source.surface, &random);
  std::uniform_int_distribution<int> near(-40, 140), far(-100000, 100000), small(-6, 6), size(1, 40);
  for (int i = 0; i < 3000; ++i) {
    ScreenPoint corners[3];
    int kind = i % 4;  // near the target, far outside, small, axis-parallel with exact edge ties
    for (ScreenPoint& c : corners) {
      c.x = kind == 1 ? far(random) : near(random);
      c.y = kind == 1 ? far(random) : near(random);
    }
    if (kind == 2) {
      for (int k = 1; k < 3; ++k) corners[k] = ScreenPoint{corners[0].x + small(random), corners[0].y + small(random)};
    }
    if (kind == 3) {  // 45-degree and axis-parallel edges put many centres exactly on an edge
      int a = small(random), b = small(random);
      corners[1] = ScreenPoint{corners[0].x + 4 * a, corners[0].y + 4 * (i % 8 < 4 ? a : 0)};
      corners[2] = ScreenPoint{corners[0].x - 4 * b, corners[0].y + 4 * b};
    }
    int w = size(random), hh = size(random);
    if (i % 10 == 0) w += 30;  // larger than the source: the part outside it paints nothing
    CheckTransfer(corners, source.surface, w, hh, &random);
    if (HasFailure()) return;
  }
}

TEST(RasterFill, AroundParallelogramsLeavesExactlyTheirPixels) {
  // Overlapping, nested, clipped and far-off parallelograms: the fill must paint every pixel of the
  // rectangle that none of them covers and leave the others as they were. Coverage comes from the reference transfer
  // of a white source onto a black mask.
  std::mt19937 random(19);
  TestSurface white(16, 16);
  ReferenceFill(white.surface, Rect{0, 0, 16, 16}, 0xFFFFFF);
  std::uniform_int_distribution<int> near(-30, 120), small(-25, 25), edge(-60, 160);
  for (int i = 0; i < 600; ++i) {
    TestSurface ours(97, 71), want(97, 71), mask(97, 71);
    FillRandom(ours.surface, &random);
    CopySurface(ours.surface, want.surface);
    ReferenceFill(mask.surface, Rect{0, 0, 97, 71}, 0);
    ParallelogramWalk walks[4];
    int count = 1 + i % 4;
    for (int k = 0; k < count; ++k) {
      ScreenPoint corners[3];
      corners[0] = ScreenPoint{near(random), near(random)};
      for (int j = 1; j < 3; ++j) corners[j] = ScreenPoint{corners[0].x + small(random), corners[0].y + small(random)};
      if (k == 1 && i % 3 == 0) {  // nested in the first one: its spans end before the first's
        corners[0] = ScreenPoint{(corners[0].x + 40) / 2, (corners[0].y + 30) / 2};
      }
      if (StartParallelogram(corners, 16, 16, 71, &walks[k]) != 0) {
        --k;
        continue;
      }
      ReferenceTransfer(mask.surface, corners, white.surface, 16, 16);
    }
    Rect rect{edge(random), edge(random), edge(random), edge(random)};
    FillAroundParallelograms(ours.surface, rect, walks, count);
    for (int y = rect.top < 0 ? 0 : rect.top; y < rect.bottom && y < 71; ++y) {
      for (int x = rect.left < 0 ? 0 : rect.left; x < rect.right && x < 97; ++x) {
        if (PixelAt(mask.surface, x, y) == 0) SetPixel(want.surface, x, y, 0);
      }
    }
    EXPECT_SAME_SURFACE(ours.surface, want.surface, "case " << i);
    if (HasFailure()) return;
  }
}

TEST(RasterTransfer, ComparisonCatchesAWrongEdgeRuleAndSwappedCorners) {
  std::mt19937 random(6);
  TestSurface source(20, 20);
  FillRandom(source.surface, &random);
  const ScreenPoint corners[3] = {{10, 5}, {30, 25}, {0, 15}};  // 45-degree edges through pixel centres
  TestSurface ours(50, 40), closed(50, 40), swapped(50, 40);
  ASSERT_TRUE(TransferParallelogram(ours.surface, corners, source.surface, 20, 10));
  ReferenceTransfer(closed.surface, corners, source.surface, 20, 10, true);
  EXPECT_GT(CompareSurfaces(ours.surface, closed.surface).count, 0) << "closed edges must paint more pixels";
  const ScreenPoint mirrored[3] = {corners[0], corners[2], corners[1]};
  ReferenceTransfer(swapped.surface, mirrored, source.surface, 20, 10);
  EXPECT_GT(CompareSurfaces(ours.surface, swapped.surface).count, 0) << "a mirrored mapping must differ";
}

// Pixels a transfer paints on an empty 40 x 40 target.
std::vector<bool> Coverage(const ScreenPoint corners[3]) {
  TestSurface source(8, 8), target(40, 40);
  FillSurfaceRect(source.surface, Rect{0, 0, 8, 8}, DibColor{1, 1, 1, 0});
  EXPECT_TRUE(TransferParallelogram(target.surface, corners, source.surface, 8, 8));
  std::vector<bool> painted(40 * 40);
  for (int y = 0; y < 40; ++y) {
    for (int x = 0; x < 40; ++x) painted[y * 40 + x] = PixelAt(target.surface, x, y) != 0;
  }
  return painted;
}

// The pieces must not overlap and together paint exactly what the whole parallelogram paints.
void ExpectTiling(const std::vector<std::vector<bool>>& pieces, const ScreenPoint whole[3]) {
  std::vector<bool> want = Coverage(whole);
  int overlaps = 0, gaps = 0, extra = 0, painted = 0;
  for (size_t i = 0; i < want.size(); ++i) {
    int count = 0;
    for (const std::vector<bool>& piece : pieces) count += piece[i];
    overlaps += count > 1;
    gaps += want[i] && count == 0;
    extra += !want[i] && count > 0;
    painted += want[i];
  }
  EXPECT_EQ(overlaps, 0);
  EXPECT_EQ(gaps, 0);
  EXPECT_EQ(extra, 0);
  EXPECT_GT(painted, 100);
}

TEST(RasterTransfer, NeighboursTileWithoutCracksOrOverlaps) {
  // Two parallelograms side by side on a common slanted edge.
  const ScreenPoint left[3] = {{2, 2}, {20, 2}, {12, 20}};
  const ScreenPoint right[3] = {{20, 2}, {38, 2}, {30, 20}};
  const ScreenPoint both[3] = {{2, 2}, {38, 2}, {12, 20}};
  ExpectTiling({Coverage(left), Coverage(right)}, both);
  // Four rhombi round the corner (20, 20), with 45-degree edges through pixel centres, tile a diamond;
  // the corners are given in both turning senses.
  const ScreenPoint p{20, 20}, d[4] = {{6, 6}, {-6, 6}, {-6, -6}, {6, -6}};
  std::vector<std::vector<bool>> pieces;
  for (int k = 0; k < 4; ++k) {
    ScreenPoint a{p.x + d[k].x, p.y + d[k].y}, b{p.x + d[(k + 1) % 4].x, p.y + d[(k + 1) % 4].y};
    const ScreenPoint rhombus[3] = {p, k % 2 ? a : b, k % 2 ? b : a};
    pieces.push_back(Coverage(rhombus));
  }
  const ScreenPoint diamond[3] = {{8, 20}, {20, 8}, {20, 32}};
  ExpectTiling(pieces, diamond);
}

TEST(RasterTransfer, EmptyTransfersSucceedAndPaintNothing) {
  std::mt19937 random(7);
  TestSurface source(10, 10), target(30, 30), before(30, 30);
  FillRandom(source.surface, &random);
  FillRandom(target.surface, &random);
  CopySurface(target.surface, before.surface);
  const ScreenPoint line[3] = {{2, 2}, {20, 2}, {11, 2}};  // no area
  const ScreenPoint square[3] = {{2, 2}, {20, 2}, {2, 20}};
  EXPECT_TRUE(TransferParallelogram(target.surface, line, source.surface, 10, 10));
  EXPECT_TRUE(TransferParallelogram(target.surface, square, source.surface, 0, 10));
  EXPECT_TRUE(TransferParallelogram(target.surface, square, source.surface, 10, 0));
  EXPECT_SAME_SURFACE(target.surface, before.surface, "empty transfers");
  EXPECT_FALSE(TransferParallelogram(target.surface, square, source.surface, -1, 10));
  const ScreenPoint huge[3] = {{2, 2}, {kTransferCoordLimit + 1, 2}, {2, 20}};
  EXPECT_FALSE(TransferParallelogram(target.surface, huge, source.surface, 10, 10));
  EXPECT_SAME_SURFACE(target.surface, before.surface, "refused transfers");
}

TEST(RasterPictureTransfer, EqualsStretchThenTransfer) {
  std::mt19937 random(8);
  const int formats[] = {1, 4, 8, 24, 32};
  std::uniform_int_distribution<int> near(-30, 120), far(-100000, 100000), small(-5, 5), size(1, 60);
  for (int i = 0; i < 1500; ++i) {
    int bits = formats[i % 5];
    // Widths of 12 and 20 give 24-bit rows without padding, whose last pixel ends the block.
    // Some large 8-, 24- and 32-bit pictures too: rows far apart, so the prefetch ahead may point
    // well outside the picture.
    bool large = i % 25 >= 2 && i % 25 <= 4;
    int width = large ? 600 : i % 3 == 0 ? 12 : 20 + i % 17, height = large ? 460 : 8 + i % 11;
    TestPicture picture = MakePicture(width, height, bits, !large && i % 7 == 0 ? 3 : 0, &random);
    ScreenPoint corners[3];
    for (ScreenPoint& c : corners) c = i % 6 == 1 ? ScreenPoint{far(random), far(random)} : ScreenPoint{near(random), near(random)};
    if (i % 6 == 2) {
      for (int k = 1; k < 3; ++k) corners[k] = ScreenPoint{corners[0].x + small(random), corners[0].y + small(random)};
    }
    int w = size(random), hh = size(random);
    int scratchWidth = i % 9 == 0 ? 25 : 64, scratchHeight = i % 13 == 0 ? 20 : 64;  // some clip the stretch

    TestSurface scratch(scratchWidth, scratchHeight), twoPass(90, 70), onePass(90, 70);
    FillRandom(scratch.surface, &random);
    FillRandom(twoPass.surface, &random);
    CopySurface(twoPass.surface, onePass.surface);
    FillSurfaceRect(scratch.surface, Rect{0, 0, w, hh}, kBlack);
    ASSERT_TRUE(StretchPicture(scratch.surface, w, hh, picture.header()));
    ASSERT_TRUE(TransferParallelogram(twoPass.surface, corners, scratch.surface, w, hh));
    ASSERT_TRUE(TransferPicture(onePass.surface, corners, picture.header(), w, hh, scratchWidth, scratchHeight));
    EXPECT_SAME_SURFACE(onePass.surface, twoPass.surface,
                        bits << "-bit, scratch " << scratchWidth << "x" << scratchHeight << ", " << Corners(corners, w, hh));
    if (HasFailure()) return;
  }
}

TEST(RasterPictureTransfer, RefusesWhatTheTransferRefuses) {
  std::mt19937 random(9);
  TestPicture picture = MakePicture(9, 8, 24, 0, &random);
  TestSurface target(30, 30), before(30, 30);
  FillRandom(target.surface, &random);
  CopySurface(target.surface, before.surface);
  const ScreenPoint square[3] = {{2, 2}, {20, 2}, {2, 20}};
  const ScreenPoint huge[3] = {{2, 2}, {kTransferCoordLimit + 1, 2}, {2, 20}};
  EXPECT_FALSE(TransferPicture(target.surface, huge, picture.header(), 10, 10, 30, 30));
  EXPECT_FALSE(TransferPicture(target.surface, square, picture.header(), -1, 10, 30, 30));
  EXPECT_TRUE(TransferPicture(target.surface, square, picture.header(), 0, 10, 30, 30));
  EXPECT_TRUE(TransferPicture(target.surface, square, picture.header(), 10, 10, 0, 0));
  EXPECT_SAME_SURFACE(target.surface, before.surface, "refused or empty transfers");
}
