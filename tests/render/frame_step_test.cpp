// The frame step on heap surfaces: every composed frame equals a black view with the current cube
// drawn by the naive references, the copy areas of the worked frames, the picture's orientation at
// rest, and the fatal codes when a face cannot be drawn.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <random>
#include <string>

#include "raster_reference.h"
#include "saver_fixture.h"
#include "render/draw_cube.h"
#include "render/parallelogram_walk.h"
#include "settings/settings_file.h"
#include "shell/saver_rules.h"

namespace {

// Faces are filtered, so the reference's nearest stretch shows the same pixels only for pictures of
// one colour each: then every frame tells which pixels each face covers, in which order, and what
// the erase leaves. Each row repeats its first pixel; palette rows all hold index 0.
void MakePictures(TestPicture* pictures, std::mt19937* random) {
  const int bits[kFaceCount] = {24, 8, 32, 4, 1, 8};
  for (int k = 0; k < kFaceCount; ++k) {
    pictures[k] = MakePicture(30 + 7 * k, 41 - 3 * k, bits[k], 0, random);
    PackedDib* picture = pictures[k].header();
    int bytes = bits[k] >= 8 ? bits[k] / 8 : 0, stride = DibRowStride(picture->biWidth, bits[k]);
    uint8_t* first = DibBits(picture);
    for (int y = 0; y < picture->biHeight; ++y) {
      uint8_t* row = first + y * stride;
      if (bytes < 3) std::memset(row, 0, static_cast<size_t>(stride));
      for (int x = 0; bytes >= 3 && x < picture->biWidth; ++x) std::memcpy(row + x * bytes, first, static_cast<size_t>(bytes));
    }
  }
}

// A black view with this frame's facing faces drawn by the references, in table order.
void ExpectBackBufferIsReferenceCube(int frameNumber) {
  TestSurface want(ViewWidth, ViewHeight), face(ViewWidth, ViewHeight);
  for (int k = 0; k < kCubeFaceCount; ++k) {
    FacePlacement placement;
    if (!PlaceFace(k, ScreenPoints, &placement)) continue;
    ReferenceFill(face.surface, Rect{0, 0, placement.w, placement.hh}, 0);
    ReferenceStretch(face.surface, placement.w, placement.hh, FacePictures[k]);
    ReferenceTransfer(want.surface, placement.corners, face.surface, placement.w, placement.hh);
  }
  Difference d = CompareSurfaces(BackSurface, want.surface);
  EXPECT_EQ(d.count, 0) << "frame " << frameNumber << ": first at (" << d.x << "," << d.y << ") got " << std::hex
                        << d.got << " want " << d.want;
}

// Frames 1..frames, each compared in full; stops at the first frame that differs.
void ExpectFramesShowReferenceCube(int frames) {
  for (int n = 1; n <= frames; ++n) {
    DrawCube();
    ExpectBackBufferIsReferenceCube(n);
    if (::testing::Test::HasFailure()) return;
  }
}

std::string Describe(Rect r) {
  return std::to_string(r.left) + " " + std::to_string(r.top) + " " + std::to_string(r.right) + " " +
         std::to_string(r.bottom);
}

}  // namespace

TEST(FrameStep, WorkedFramesReturnTheirCopyAreas) {
  std::mt19937 random(12);
  TestPicture pictures[kFaceCount];
  MakePictures(pictures, &random);
  StartSaver(1024, 768, 122, pictures);
  EXPECT_EQ(Describe(DrawCube()), "-158 -154 1024 768");
  EXPECT_EQ(Describe(PrevDirtyRect), "0 0 1024 768");
  EXPECT_EQ(Describe(DirtyRect), "-158 -154 196 200");
  ExpectBackBufferIsReferenceCube(1);
  EXPECT_EQ(Describe(DrawCube()), "-169 -159 245 251");
  EXPECT_EQ(AngleX, 22);
  EXPECT_EQ(CenterX, 38);
  EXPECT_EQ(CenterY, 46);
  ExpectBackBufferIsReferenceCube(2);
}

TEST(FrameStep, EveryFrameShowsOnlyTheCurrentCube) {
  std::mt19937 random(13);
  TestPicture pictures[kFaceCount];
  MakePictures(pictures, &random);
  StartSaver(320, 240, 40, pictures);
  for (int n = 1; n <= 360; ++n) {
    Rect copy = DrawCube();
    EXPECT_EQ(Describe(copy), Describe(UnionRect(PrevDirtyRect, DirtyRect)));
    if (n % 9 == 0 || n < 4) ExpectBackBufferIsReferenceCube(n);
    if (HasFailure()) return;
  }
  EXPECT_EQ(AngleX + AngleY + AngleZ, 0);
}

TEST(FrameStep, SmallPreviewCubeWithFacesOnALine) {
  // Half edge 14 in a 152 x 112 preview: frame 7 has two faces of no area and every 90th frame four
  // faces of zero width; none of them may end the saver.
  std::mt19937 random(14);
  TestPicture pictures[kFaceCount];
  MakePictures(pictures, &random);
  StartSaver(152, 112, 112 / 8, pictures);
  ExpectFramesShowReferenceCube(360);
}

TEST(FrameStep, CubeLargerThanItsView) {
  // Faces wider than the scratch surface leave the pixels whose sample lies beyond it unpainted, so
  // the erase under them must still happen; the cube also leaves the view on every side.
  std::mt19937 random(18);
  TestPicture pictures[kFaceCount];
  MakePictures(pictures, &random);
  StartSaver(64, 48, 60, pictures);
  ExpectFramesShowReferenceCube(90);
}

TEST(FrameStep, AtRestFace0IsUprightAndUnmirrored) {
  std::mt19937 random(15);
  TestPicture pictures[kFaceCount];
  MakePictures(pictures, &random);
  pictures[0] = MakePicture(2, 2, 24, 0, &random);
  // Stored bottom row first: bottom-left blue, bottom-right green, top-left red, top-right white.
  const uint8_t rows[8 * 2] = {0xFF, 0, 0, 0, 0xFF, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0};
  std::memcpy(DibBits(pictures[0].header()), rows, sizeof rows);
  StartSaver(1024, 768, 100, pictures);
  for (int n = 1; n <= 360; ++n) DrawCube();
  ASSERT_EQ(AngleX + AngleY + AngleZ, 0);
  int left = CenterX - 100, top = CenterY - 100;
  EXPECT_EQ(PixelAt(BackSurface, left + 20, top + 20), 0xFF0000u) << "top-left";
  EXPECT_EQ(PixelAt(BackSurface, left + 180, top + 20), 0xFFFFFFu) << "top-right";
  EXPECT_EQ(PixelAt(BackSurface, left + 20, top + 180), 0x0000FFu) << "bottom-left";
  EXPECT_EQ(PixelAt(BackSurface, left + 180, top + 180), 0x00FF00u) << "bottom-right";
  EXPECT_EQ(PixelAt(BackSurface, left - 2, top + 20), 0u) << "outside the cube";
}

TEST(FrameStepDeathTest, UnreadablePictureEndsWith202) {
  std::mt19937 random(16);
  TestPicture pictures[kFaceCount];
  MakePictures(pictures, &random);
  StartSaver(200, 150, 20, pictures);
  for (TestPicture& picture : pictures) picture.header()->biBitCount = 16;
  EXPECT_EXIT((dup2(2, 1), DrawCube()), ::testing::ExitedWithCode(1),
              "fatal 202\ncan't paint picture into second device context\nerror code 0");
}

TEST(FrameStepDeathTest, TransferBeyondItsLimitsEndsWith205) {
  std::mt19937 random(17);
  TestPicture pictures[kFaceCount];
  MakePictures(pictures, &random);
  StartSaver(64, 48, kTransferCoordLimit, pictures);
  EXPECT_EXIT((dup2(2, 1), DrawCube()), ::testing::ExitedWithCode(1),
              "fatal 205\ncan't paint picture into first device context\nerror code 0");
}
