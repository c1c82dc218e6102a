// Tests of the GIF face loader: picture header and colour table, bottom-up placement against a
// naive reference, background, clipping, transparency of later frames, and sizes that do not fit.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <string>

#include "gif_test_support.h"
#include "picture/gif_loader.h"

namespace {

// The pixel bytes a picture of frame index must hold: every byte the background, then the frame's
// pixels (clipped to the screen) on screen row top + r, stored bottom-up; for a later frame with a
// transparent index, such pixels come from the picture before.
Bytes ReferencePixels(const TestGif& gif, size_t index, const Bytes* before) {
  const TestFrame& frame = gif.frames[index];
  int stride = (gif.width * 8 + 31) / 32 * 4;
  Bytes pixels(static_cast<size_t>(stride) * static_cast<size_t>(gif.height), static_cast<uint8_t>(gif.background));
  for (int r = 0; r < frame.height; ++r) {
    for (int k = 0; k < frame.width; ++k) {
      int x = frame.left + k, y = frame.top + r;
      if (x >= gif.width || y >= gif.height) continue;
      size_t at = static_cast<size_t>(gif.height - 1 - y) * static_cast<size_t>(stride) + static_cast<size_t>(x);
      uint8_t value = frame.pixels[static_cast<size_t>(r) * static_cast<size_t>(frame.width) + static_cast<size_t>(k)];
      pixels[at] = before != nullptr && value == frame.transparent ? (*before)[at] : value;
    }
  }
  return pixels;
}

Bytes PicturePixels(const PackedDib* picture) {
  const uint8_t* bits = DibBits(picture);
  return Bytes(bits, bits + picture->biSizeImage);
}

TestFrame Frame(int left, int top, int width, int height, int colors, uint32_t state) {
  TestFrame frame;
  frame.left = left;
  frame.top = top;
  frame.width = width;
  frame.height = height;
  frame.minCodeSize = colors <= 4 ? 2 : 8;
  frame.pixels = NoisePixels(width * height, colors, state);
  return frame;
}

// A file of one frame on a width x height screen.
TestGif OneFrameGif(int width, int height, int globalColors, int background, const TestFrame& frame) {
  TestGif gif;
  gif.width = width;
  gif.height = height;
  gif.globalColors = globalColors;
  gif.background = background;
  gif.frames.push_back(frame);
  return gif;
}

PackedDib* LoadFixture(const std::string& name, const TestGif& gif) {
  return LoadGif(WriteGifFixture(name, EncodeGif(gif)).c_str());
}

struct Picture {
  PackedDib* dib = nullptr;
  ~Picture() { std::free(dib); }
};

struct FrameSet {
  GifFrameSet set = {nullptr, 0};
  ~FrameSet() { ReleaseGifFrameSet(&set); }
};

}  // namespace

TEST(GifLoader, SmallerFrameSitsOnTheBackgroundBottomUp) {
  TestGif gif = OneFrameGif(13, 9, 256, 200, Frame(3, 2, 6, 4, 256, 1));
  Picture picture;
  picture.dib = LoadFixture("loader_small_frame", gif);
  ASSERT_NE(picture.dib, nullptr);
  EXPECT_EQ(picture.dib->biSize, 40u);
  EXPECT_EQ(picture.dib->biWidth, 13);
  EXPECT_EQ(picture.dib->biHeight, 9);
  EXPECT_EQ(picture.dib->biPlanes, 1);
  EXPECT_EQ(picture.dib->biBitCount, 8);
  EXPECT_EQ(picture.dib->biCompression, 0u);
  EXPECT_EQ(picture.dib->biSizeImage, 16u * 9u);
  EXPECT_EQ(picture.dib->biClrUsed, 256u);
  EXPECT_EQ(picture.dib->biClrImportant, 0u);
  EXPECT_EQ(DibBits(picture.dib), reinterpret_cast<uint8_t*>(picture.dib) + 40 + 4 * 256);
  EXPECT_EQ(PicturePixels(picture.dib), ReferencePixels(gif, 0, nullptr));
  // The reference can tell pictures apart: a picture stored top-down would differ.
  Bytes reference = ReferencePixels(gif, 0, nullptr);
  Bytes flipped;
  for (int row = 8; row >= 0; --row) flipped.insert(flipped.end(), reference.begin() + row * 16, reference.begin() + row * 16 + 16);
  EXPECT_NE(PicturePixels(picture.dib), flipped);
  const DibColor* colors = DibColors(picture.dib);
  EXPECT_EQ(colors[200].red, TestPaletteRed(200, false));
  EXPECT_EQ(colors[200].green, TestPaletteGreen(200, false));
  EXPECT_EQ(colors[200].blue, TestPaletteBlue(200, false));
  EXPECT_EQ(colors[200].reserved, 0);
}

TEST(GifLoader, TransparentPixelsOfTheFirstFrameKeepTheirIndex) {
  TestGif gif = OneFrameGif(4, 4, 4, 1, Frame(0, 0, 4, 4, 4, 2));
  gif.frames[0].transparent = 2;
  Picture picture;
  picture.dib = LoadFixture("loader_first_transparent", gif);
  ASSERT_NE(picture.dib, nullptr);
  EXPECT_EQ(PicturePixels(picture.dib), ReferencePixels(gif, 0, nullptr));
  EXPECT_NE(std::count(gif.frames[0].pixels.begin(), gif.frames[0].pixels.end(), 2), 0);
}

TEST(GifLoader, TwoEntryPaletteAndNarrowScreensPadRowsWithTheBackground) {
  for (int width : {1, 5}) {
    TestGif gif = OneFrameGif(width, 3, 2, 1, Frame(0, 0, width, 3, 2, 3));
    Picture picture;
    picture.dib = LoadFixture("loader_width_" + std::to_string(width), gif);
    ASSERT_NE(picture.dib, nullptr);
    int stride = width == 1 ? 4 : 8;
    EXPECT_EQ(picture.dib->biSizeImage, static_cast<uint32_t>(stride * 3));
    EXPECT_EQ(picture.dib->biBitCount, 8);
    EXPECT_EQ(picture.dib->biClrUsed, 2u);
    EXPECT_EQ(DibBits(picture.dib), reinterpret_cast<uint8_t*>(picture.dib) + 40 + 8);
    EXPECT_EQ(PicturePixels(picture.dib), ReferencePixels(gif, 0, nullptr));
    EXPECT_EQ(DibBits(picture.dib)[stride - 1], 1) << "row padding holds the background";
  }
}

TEST(GifLoader, LocalPaletteReplacesTheGlobalOne) {
  TestGif gif = OneFrameGif(8, 8, 256, 0, Frame(0, 0, 8, 8, 16, 4));
  gif.frames[0].localColors = 16;
  Picture picture;
  picture.dib = LoadFixture("loader_local_palette", gif);
  ASSERT_NE(picture.dib, nullptr);
  EXPECT_EQ(picture.dib->biClrUsed, 16u);
  const DibColor* colors = DibColors(picture.dib);
  for (int i = 0; i < 16; ++i) {
    EXPECT_EQ(colors[i].red, TestPaletteRed(i, true)) << i;
    EXPECT_EQ(colors[i].blue, TestPaletteBlue(i, true)) << i;
  }
}

TEST(GifLoader, FrameWithoutAnyPaletteGetsAGreyRamp) {
  Picture picture;
  picture.dib = LoadFixture("loader_no_palette", OneFrameGif(3, 2, 0, 0, Frame(0, 0, 3, 2, 256, 5)));
  ASSERT_NE(picture.dib, nullptr);
  ASSERT_EQ(picture.dib->biClrUsed, 256u);
  const DibColor* colors = DibColors(picture.dib);
  for (int i = 0; i < 256; ++i) {
    ASSERT_EQ(colors[i].red, i);
    ASSERT_EQ(colors[i].green, i);
    ASSERT_EQ(colors[i].blue, i);
  }
}

TEST(GifLoader, FileWithoutImageGivesNoPicture) {
  Bytes bytes = GifHeaderBytes(4, 4, 4, 0);
  Append(bytes, {0x21, 0xFE, 2, 'h', 'i', 0, 0x3B});
  std::string path = WriteGifFixture("loader_no_image", bytes);
  EXPECT_EQ(LoadGif(path.c_str()), nullptr);
  FrameSet frames;
  frames.set = LoadGifFrames(path.c_str());
  EXPECT_EQ(frames.set.count, 0);
  EXPECT_EQ(frames.set.pictures, nullptr);
  EXPECT_EQ(LoadGif(TempPath("no_such_file.gif").c_str()), nullptr);
  EXPECT_EQ(LoadGif(WriteGifFixture("loader_not_gif", {'B', 'M', 0, 0, 0, 0, 0}).c_str()), nullptr);
}

TEST(GifLoader, FirstFrameOfAnAnimationEqualsTheFrameAlone) {
  TestGif gif;
  gif.width = 20;
  gif.height = 10;
  gif.frames.push_back(Frame(2, 1, 15, 8, 256, 6));
  gif.frames.push_back(Frame(0, 0, 20, 10, 256, 7));
  gif.frames.push_back(Frame(5, 5, 5, 5, 256, 8));
  TestGif alone = gif;
  alone.frames.resize(1);
  Picture first;
  first.dib = LoadFixture("loader_animation", gif);
  Picture single;
  single.dib = LoadFixture("loader_animation_first", alone);
  ASSERT_NE(first.dib, nullptr);
  ASSERT_NE(single.dib, nullptr);
  size_t size = 40 + 4 * 256 + first.dib->biSizeImage;
  EXPECT_EQ(Bytes(reinterpret_cast<uint8_t*>(first.dib), reinterpret_cast<uint8_t*>(first.dib) + size),
            Bytes(reinterpret_cast<uint8_t*>(single.dib), reinterpret_cast<uint8_t*>(single.dib) + size));
}

TEST(GifLoader, ProblemsInTheFileStillGiveAPicture) {
  TestGif gif = OneFrameGif(6, 6, 256, 0, Frame(0, 0, 6, 6, 256, 9));
  Bytes bytes = EncodeGif(gif);
  bytes.insert(bytes.end() - 1, {7, 7, 7});
  Picture picture;
  picture.dib = LoadGif(WriteGifFixture("loader_stray_bytes", bytes).c_str());
  ASSERT_NE(picture.dib, nullptr);
  EXPECT_EQ(PicturePixels(picture.dib), ReferencePixels(gif, 0, nullptr));
}

TEST(GifLoader, LaterFramesTakeTransparentPixelsFromThePictureBefore) {
  TestGif gif;
  gif.width = 10;
  gif.height = 7;
  gif.globalColors = 4;
  gif.background = 3;
  gif.frames.push_back(Frame(0, 0, 10, 7, 4, 10));
  gif.frames.push_back(Frame(2, 1, 6, 5, 4, 11));
  gif.frames[1].transparent = 1;
  gif.frames.push_back(Frame(1, 1, 4, 4, 4, 12));  // no transparent index: copied unchanged
  gif.frames.push_back(Frame(0, 0, 3, 3, 4, 13));
  gif.frames[3].transparent = 0;
  FrameSet frames;
  frames.set = LoadGifFrames(WriteGifFixture("loader_transparent_later", EncodeGif(gif)).c_str());
  ASSERT_EQ(frames.set.count, 4);
  Bytes before = ReferencePixels(gif, 0, nullptr);
  EXPECT_EQ(PicturePixels(frames.set.pictures[0]), before);
  for (size_t i = 1; i < 4; ++i) {
    Bytes want = ReferencePixels(gif, i, &before);
    EXPECT_EQ(PicturePixels(frames.set.pictures[i]), want) << "frame " << i;
    before = want;
  }
}

TEST(GifLoader, FramesOutsideTheScreenAreClipped) {
  TestGif gif;
  gif.width = 8;
  gif.height = 6;
  gif.frames.push_back(Frame(5, 4, 7, 5, 256, 14));        // sticks out right and below
  gif.frames.push_back(Frame(65535, 65535, 2, 2, 256, 15));  // 16-bit left + width would wrap to 1
  gif.frames.push_back(Frame(20, 0, 3, 3, 256, 16));       // wholly outside
  FrameSet frames;
  frames.set = LoadGifFrames(WriteGifFixture("loader_clipped", EncodeGif(gif)).c_str());
  ASSERT_EQ(frames.set.count, 3);
  EXPECT_EQ(PicturePixels(frames.set.pictures[0]), ReferencePixels(gif, 0, nullptr));
  EXPECT_EQ(PicturePixels(frames.set.pictures[1]), ReferencePixels(gif, 1, nullptr));
  EXPECT_EQ(PicturePixels(frames.set.pictures[2]), Bytes(8 * 6, 0));

  // A screen of width 0: every frame is outside it.
  Picture picture;
  picture.dib = LoadFixture("loader_zero_screen", OneFrameGif(0, 4, 256, 0, Frame(0, 0, 2, 2, 256, 17)));
  ASSERT_NE(picture.dib, nullptr);
  EXPECT_EQ(picture.dib->biSizeImage, 0u);
}

TEST(GifLoader, PictureTooLargeForOneBlockIsRefusedQuickly) {
  Bytes bytes = GifHeaderBytes(65535, 65535, 2, 0);
  Append(bytes, ImageBlock(0, 0, 1, 1, 0, CodeRaster(2, {{4, 3}, {1, 3}, {5, 3}})));
  Append(bytes, {0x3B});
  EXPECT_LT(bytes.size(), 80u);
  std::string path = WriteGifFixture("loader_huge_screen", bytes);
  auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(LoadGif(path.c_str()), nullptr);
  FrameSet frames;
  frames.set = LoadGifFrames(path.c_str());
  EXPECT_EQ(frames.set.count, 0);
  // Nothing gigabyte-sized was filled on the way (a generous bound, not a timing target).
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

TEST(GifLoader, HugeFrameEndsTheParseWithTheFramesBefore) {
  // A 65535 x 65535 frame has more than 2^31 pixels: it is an allocation failure, never a wrap.
  Bytes bytes = GifHeaderBytes(4, 4, 4, 2);
  Append(bytes, ImageBlock(0, 0, 4, 4, 0, CodeRaster(2, {{4, 3}, {1, 3}, {5, 3}})));
  Append(bytes, ImageBlock(0, 0, 65535, 65535, 0, CodeRaster(2, {{4, 3}, {1, 3}, {5, 3}})));
  Append(bytes, {0x3B});
  std::string path = WriteGifFixture("loader_huge_frame", bytes);
  FrameSet frames;
  frames.set = LoadGifFrames(path.c_str());
  ASSERT_EQ(frames.set.count, 1);
  Bytes want(16, 2);
  want[12] = 1;  // the first pixel decoded, the rest never reached: background
  EXPECT_EQ(PicturePixels(frames.set.pictures[0]), want);
}

TEST(GifLoader, LaterPictureFailureSparesTheFirstFrame) {
  TestGif gif;
  gif.width = 200;
  gif.height = 100;
  gif.frames.push_back(Frame(0, 0, 100, 100, 2, 18));
  gif.frames[0].localColors = 2;
  gif.frames.push_back(Frame(50, 0, 100, 100, 256, 19));
  std::string path = WriteGifFixture("loader_later_failure", EncodeGif(gif));
  // The first picture (2 colours) takes 20048 bytes, the second (256 colours) 21064, the parse's
  // largest block less: with room for the first only, the frame set fails as a whole while the
  // face loader still succeeds.
  int64_t saved = GifLargestBlock;
  GifLargestBlock = 21000;
  FrameSet frames;
  frames.set = LoadGifFrames(path.c_str());
  Picture picture;
  picture.dib = LoadGif(path.c_str());
  GifLargestBlock = saved;
  EXPECT_EQ(frames.set.count, 0);
  EXPECT_EQ(frames.set.pictures, nullptr);
  ASSERT_NE(picture.dib, nullptr);
  EXPECT_EQ(picture.dib->biClrUsed, 2u);
  EXPECT_EQ(PicturePixels(picture.dib), ReferencePixels(gif, 0, nullptr));
}
