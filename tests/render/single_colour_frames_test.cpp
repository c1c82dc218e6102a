// With six pictures of one colour each, every frame is byte-identical to the frames the renderer made
// before faces were filtered: the hashes in data/single_colour_frames.txt come from that renderer
// (scripts/single_colour_frames.py says how). The pictures here take other bit depths and sizes.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include "raster_reference.h"
#include "saver_fixture.h"
#include "render/draw_cube.h"
#include "render/surface.h"
#include "shell/saver_rules.h"

namespace {

uint64_t Fnv1a64(const uint8_t* bytes, size_t count) {
  uint64_t h = 0xCBF29CE484222325ull;
  for (size_t i = 0; i < count; ++i) h = (h ^ bytes[i]) * 0x100000001B3ull;
  return h;
}

// One colour through each kind of picture the readers return; the last is wider than any face.
void MakeSingleColour(const uint32_t colours[kFaceCount], TestPicture pictures[kFaceCount]) {
  struct Kind {
    int width, height, bits;
  };
  const Kind kinds[kFaceCount] = {{30, 20, 24}, {17, 9, 8}, {8, 8, 32}, {5, 40, 4}, {64, 3, 1}, {2000, 3, 24}};
  std::mt19937 random(7);
  for (int k = 0; k < kFaceCount; ++k) {
    const Kind& kind = kinds[k];
    pictures[k] = MakePicture(kind.width, kind.height, kind.bits, kind.bits <= 8 ? 2 : 0, &random);
    PackedDib* picture = pictures[k].header();
    uint8_t blue = colours[k] & 0xFF, green = (colours[k] >> 8) & 0xFF, red = (colours[k] >> 16) & 0xFF;
    uint8_t* bits = DibBits(picture);
    if (kind.bits <= 8) {
      DibColors(picture)[0] = DibColor{blue, green, red, 0};
      std::memset(bits, 0, picture->biSizeImage);
      continue;
    }
    int step = kind.bits / 8, stride = DibRowStride(kind.width, kind.bits);
    for (int y = 0; y < kind.height; ++y) {
      for (int x = 0; x < kind.width; ++x) {
        uint8_t* at = bits + y * stride + x * step;
        at[0] = blue;
        at[1] = green;
        at[2] = red;
      }
    }
  }
}

}  // namespace

TEST(SingleColourFrames, EqualTheFramesOfTheNearestRenderer) {
  std::ifstream data(WHIRLBOX_SINGLE_COLOUR_DATA);
  ASSERT_TRUE(data.good()) << WHIRLBOX_SINGLE_COLOUR_DATA;
  uint32_t colours[kFaceCount] = {};
  TestPicture pictures[kFaceCount];
  std::string line, started;
  int checked = 0, frame = 0;
  while (std::getline(data, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    std::string view, edge;
    fields >> view;
    if (view == "colours") {
      for (uint32_t& c : colours) fields >> std::hex >> c;
      MakeSingleColour(colours, pictures);
      continue;
    }
    int n;
    std::string want;
    fields >> edge >> n >> want;
    int width = std::stoi(view), height = std::stoi(view.substr(view.find('x') + 1));
    if (view + edge != started) {  // a new run: start the saver afresh
      StartSaver(width, height, edge == "preview" ? PreviewHalfEdge(height) : std::stoi(edge), pictures);
      started = view + edge;
      frame = 0;
    }
    while (frame < n) DrawCube(), ++frame;
    char got[17];
    std::snprintf(got, sizeof got, "%016llx",
                  static_cast<unsigned long long>(Fnv1a64(BackSurface.bits, static_cast<size_t>(BackSurface.stride) * BackSurface.height)));
    EXPECT_EQ(got, want) << view << " " << edge << " frame " << n;
    ++checked;
  }
  EXPECT_GE(checked, 10);
}
