// Tests of the GIF loading of whirlbox-tool's picture command: the picture chosen by --frame and
// the problem lines printed in the order the parser meets them.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "gif_test_support.h"
#include "tool_picture_gif.h"

namespace {

// Runs LoadGifForToolTo with a temporary file as out; returns the printed text.
std::string RunTool(const std::string& path, int frame, PackedDib** picture) {
  FILE* out = std::tmpfile();
  EXPECT_NE(out, nullptr);
  if (out == nullptr) return "";
  *picture = LoadGifForToolTo(path.c_str(), frame, out);
  std::string text;
  std::rewind(out);
  for (int c = std::fgetc(out); c != EOF; c = std::fgetc(out)) text += static_cast<char>(c);
  std::fclose(out);
  return text;
}

// Two 2 x 1 frames (pixels 1 1, then 2 2 where 2 is transparent) with a stray byte between them
// and one pixel short in the second.
std::string AnimationWithProblems() {
  Bytes bytes = GifHeaderBytes(2, 1, 4, 3);
  Append(bytes, {0x2C, 0, 0, 0, 0, 2, 0, 1, 0, 0});
  Append(bytes, CodeRaster(2, {{4, 3}, {1, 3}, {1, 3}, {5, 3}}));
  Append(bytes, {0x42, 0x21, 0xF9, 4, 1, 0, 0, 2, 0});
  Append(bytes, {0x2C, 0, 0, 0, 0, 2, 0, 1, 0, 0});
  Append(bytes, CodeRaster(2, {{4, 3}, {2, 3}, {5, 3}}));
  Append(bytes, {0x3B});
  return WriteGifFixture("tool_animation", bytes);
}

// The lines printed for that file, whichever frame is asked for.
const char kAnimationProblems[] =
    "problem: unknown block type 66 at file offset 40 (frame 1)\n"
    "problem: not enough image data for image size (frame 1)\n";

}  // namespace

TEST(GifTool, PrintsEveryProblemWithItsFrameInOrder) {
  std::string path = AnimationWithProblems();
  PackedDib* picture = nullptr;
  EXPECT_EQ(RunTool(path, -1, &picture), kAnimationProblems);
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(DibBits(picture)[0], 1);
  EXPECT_EQ(DibBits(picture)[1], 1);
  std::free(picture);
}

TEST(GifTool, FrameOptionTakesThatFramesPicture) {
  std::string path = AnimationWithProblems();
  PackedDib* picture = nullptr;
  EXPECT_EQ(RunTool(path, 1, &picture), kAnimationProblems);
  ASSERT_NE(picture, nullptr);
  // Frame 1: its pixel 2 is transparent and shows frame 0's 1; the unreached pixel is background.
  EXPECT_EQ(DibBits(picture)[0], 1);
  EXPECT_EQ(DibBits(picture)[1], 3);
  std::free(picture);

  EXPECT_EQ(RunTool(path, 0, &picture), kAnimationProblems);
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(DibBits(picture)[1], 1);
  std::free(picture);

  for (int frame : {2, -2}) {
    RunTool(path, frame, &picture);
    EXPECT_EQ(picture, nullptr) << "frame " << frame;
  }
  EXPECT_EQ(RunTool(TempPath("missing.gif"), -1, &picture), "");
  EXPECT_EQ(picture, nullptr);
}
