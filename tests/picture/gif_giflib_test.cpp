// Differential tests: the frames this reader decodes equal giflib's DGifSlurp rasters (and the
// encoder's input) for many valid files: sizes 1 to 300, interlaced or not, 2 to 256 colours,
// minimum code sizes 2 to 8, local palettes, several frames, full tables with and without clear codes.
#include <gif_lib.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "gif_test_support.h"

namespace {

struct Random {
  uint32_t state;
  int Below(int n) {
    state = state * 1103515245u + 12345u;
    return static_cast<int>((state >> 8) % static_cast<uint32_t>(n));
  }
};

// Pixels of one of three kinds: noise, horizontal runs, or a smooth ramp.
std::vector<uint8_t> MakePixels(Random& random, int width, int height, int colors) {
  std::vector<uint8_t> pixels = NoisePixels(width * height, colors, random.state);
  int kind = random.Below(3);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      uint8_t& pixel = pixels[static_cast<size_t>(y * width + x)];
      if (kind == 1) pixel = static_cast<uint8_t>(((x / 7) * 3 + y / 5) % colors);
      if (kind == 2) pixel = static_cast<uint8_t>((x + y) * colors / (width + height));
    }
  }
  return pixels;
}

TestGif RandomGif(Random& random) {
  TestGif gif;
  gif.width = 1 + random.Below(300);
  gif.height = 1 + random.Below(300);
  int bits = 1 + random.Below(8);
  gif.globalColors = 1 << bits;
  gif.background = random.Below(gif.globalColors);
  const int blockSizes[] = {255, 254, 1, 77};
  gif.subBlockSize = blockSizes[random.Below(4)];
  int frames = 1 + random.Below(3);
  for (int f = 0; f < frames; ++f) {
    TestFrame frame;
    frame.width = 1 + random.Below(gif.width);
    frame.height = 1 + random.Below(gif.height);
    frame.left = random.Below(gif.width - frame.width + 1);
    frame.top = random.Below(gif.height - frame.height + 1);
    frame.interlaced = random.Below(2) == 1;
    int frameBits = bits;
    if (random.Below(3) == 0) {
      frameBits = 1 + random.Below(8);
      frame.localColors = 1 << frameBits;
    }
    frame.minCodeSize = frameBits < 2 ? 2 + random.Below(7) : frameBits + random.Below(9 - frameBits);
    frame.clearWhenFull = random.Below(2) == 1;
    frame.transparent = random.Below(4) == 0 ? random.Below(1 << frameBits) : -1;
    frame.pixels = MakePixels(random, frame.width, frame.height, 1 << frameBits);
    gif.frames.push_back(frame);
  }
  return gif;
}

}  // namespace

TEST(GifGiflib, DecodedFramesEqualGiflibRasters) {
  Random random = {20261207u};
  int interlaced = 0, fullTables = 0;
  for (int file = 0; file < 120; ++file) {
    TestGif gif = RandomGif(random);
    std::string name = "giflib_" + std::to_string(file);
    Bytes bytes = EncodeGif(gif);
    std::vector<Problem> problems;
    GifContents* contents = ParseFixture(name, bytes, &problems);
    ASSERT_NE(contents, nullptr) << name;
    EXPECT_EQ(Describe(problems), "") << name;
    int error = 0;
    GifFileType* peer = DGifOpenFileName(TempPath(name + ".gif").c_str(), &error);
    ASSERT_NE(peer, nullptr) << name << " giflib error " << error;
    ASSERT_EQ(DGifSlurp(peer), GIF_OK) << name << " giflib error " << peer->Error;
    ASSERT_EQ(contents->frameCount, peer->ImageCount) << name;
    for (int f = 0; f < peer->ImageCount; ++f) {
      const SavedImage& image = peer->SavedImages[f];
      const GifFrame* frame = contents->frames[f];
      ASSERT_EQ(frame->width, image.ImageDesc.Width) << name;
      ASSERT_EQ(frame->height, image.ImageDesc.Height) << name;
      size_t count = static_cast<size_t>(frame->width) * frame->height;
      std::vector<uint8_t> theirs(image.RasterBits, image.RasterBits + count);
      EXPECT_EQ(DisplayPixels(frame), theirs) << name << " frame " << f;
      EXPECT_EQ(DisplayPixels(frame), gif.frames[static_cast<size_t>(f)].pixels) << name << " frame " << f;
      interlaced += frame->interlaced;
      fullTables += !gif.frames[static_cast<size_t>(f)].clearWhenFull && count > 5000;
    }
    DGifCloseFile(peer, &error);
    ReleaseGif(contents);
  }
  // The mix really covers interlaced frames and tables that fill without a clear code.
  EXPECT_GT(interlaced, 20);
  EXPECT_GT(fullTables, 5);
}
