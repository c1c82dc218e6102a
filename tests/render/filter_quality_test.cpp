// The filtered faces against an exact area average of the picture (the reference, written here in
// double precision): front-on faces of 8 to 960 pixels on a zone plate, a one-pixel checkerboard and
// three detailed pictures; fine checkerboards on the turning cube; and the levels themselves.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstdio>
#include <functional>
#include <memory>
#include <random>
#include <vector>

#include "raster_reference.h"
#include "saver_fixture.h"
#include "render/draw_cube.h"
#include "render/face_levels.h"
#include "render/painter.h"
#include "render/picture_levels.h"

namespace {

using Shade = std::function<uint32_t(int x, int y)>;  // 0xRRGGBB of picture pixel (x, y) from the top

TestPicture MakeShaded(int width, int height, const Shade& shade) {
  std::mt19937 unused(1);
  TestPicture picture = MakePicture(width, height, 24, 0, &unused);
  int stride = DibRowStride(width, 24);
  for (int y = 0; y < height; ++y) {
    uint8_t* row = DibBits(picture.header()) + static_cast<int64_t>(height - 1 - y) * stride;
    for (int x = 0; x < width; ++x) {
      uint32_t c = shade(x, y);
      row[3 * x] = c & 0xFF;
      row[3 * x + 1] = (c >> 8) & 0xFF;
      row[3 * x + 2] = (c >> 16) & 0xFF;
    }
  }
  return picture;
}

uint8_t Clamp(double v) { return static_cast<uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v + 0.5); }
uint32_t Grey(double v) { uint32_t g = Clamp(v); return g * 0x010101u; }
uint32_t Rgb(double r, double g, double b) { return (uint32_t{Clamp(r)} << 16) | (uint32_t{Clamp(g)} << 8) | Clamp(b); }

// Local frequency r / width cycles per pixel: the picture's limit half a width from the centre.
Shade ZonePlate(int width, int height) {
  return [=](int x, int y) {
    double dx = x - width / 2.0, dy = y - height / 2.0;
    return Grey(127.5 + 127.5 * std::cos(3.141592653589793 * (dx * dx + dy * dy) / width));
  };
}

Shade Checkerboard() {
  return [](int x, int y) { return ((x + y) & 1) ? 0xF0C828u : 0x0A3CDCu; };
}

// Value noise: a random lattice of spacing cell, bilinear between its points.
struct Noise {
  int cell;
  int columns;
  std::vector<double> points;
  Noise(int width, int height, int cellSize, uint32_t stream) : cell(cellSize), columns(width / cellSize + 2) {
    std::mt19937 random(stream);
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    points.resize(static_cast<size_t>(columns) * (height / cellSize + 2));
    for (double& p : points) p = unit(random);
  }
  double At(int x, int y) const {
    int i = x / cell, j = y / cell;
    double fx = (x % cell) / static_cast<double>(cell), fy = (y % cell) / static_cast<double>(cell);
    auto p = [&](int a, int b) { return points[static_cast<size_t>(b) * columns + a]; };
    return (p(i, j) * (1 - fx) + p(i + 1, j) * fx) * (1 - fy) + (p(i, j + 1) * (1 - fx) + p(i + 1, j + 1) * fx) * fy;
  }
};

// Foliage: octaves of noise from 1 to 128 pixels, amplitude growing with the scale as in photographs.
Shade Foliage(int width, int height) {
  auto octaves = std::make_shared<std::vector<Noise>>();
  for (int cell = 1, stream = 3; cell <= 128; cell *= 2, ++stream) octaves->emplace_back(width, height, cell, stream);
  return [=](int x, int y) {
    double sum = 0, green = 0;
    for (size_t i = 0; i < octaves->size(); ++i) {
      double amplitude = 6.0 * std::pow(1.6, static_cast<double>(i));
      double n = (*octaves)[i].At(x, y) * amplitude;
      sum += n;
      green += (i % 2 ? n : -0.5 * n);
    }
    return Rgb(90 + sum, 120 + green, 60 + 0.5 * sum);
  };
}

// Facades: blocks of window grids with one-pixel frames and mullions, on a noisy sky.
Shade Facades(int width, int height) {
  auto noise = std::make_shared<Noise>(width, height, 3, 21);
  return [=](int x, int y) {
    int block = (x / 97) * 7 + (y / 83) * 13;
    int wx = x % (5 + block % 4), wy = y % (7 + block % 3);
    bool frame = wx == 0 || wy == 0 || (block % 5 == 0 && wx == 2);
    double lit = (block * 37 % 11) * 12.0 + 30 * noise->At(x, y);
    if (frame) return Rgb(40 + lit * 0.2, 38, 35);
    return Rgb(120 + lit, 110 + lit * 0.8, 90 + lit * 0.5);
  };
}

// Fabric: a fine twill weave whose threads change colour, with some noise.
Shade Fabric(int width, int height) {
  auto noise = std::make_shared<Noise>(width, height, 2, 33);
  return [=](int x, int y) {
    double weave = ((x + 2 * y) % 5 < 2) ? 50.0 : -50.0;
    double thread = std::sin(x * 0.71) * 30 + std::cos(y * 1.37) * 30;
    double n = 40 * noise->At(x, y);
    return Rgb(140 + weave + thread + n, 100 + 0.6 * weave + n, 120 - thread + n);
  };
}

// Each face pixel the exact mean of the picture over the area it covers: a face of size x size
// shown front-on covers [x * W / size, (x + 1) * W / size) columns and the same for rows.
std::vector<double> AreaAverage(const PackedDib* picture, int size) {
  const int w = picture->biWidth, h = picture->biHeight;
  auto weights = [](int from, int to, int i, int j) {
    double a = static_cast<double>(i) * from / to, b = static_cast<double>(i + 1) * from / to;
    double lo = a > j ? a : j, hi = b < j + 1 ? b : j + 1;
    return hi > lo ? hi - lo : 0.0;
  };
  std::vector<double> across(static_cast<size_t>(size) * h * 3, 0.0), out(static_cast<size_t>(size) * size * 3, 0.0);
  for (int y = 0; y < h; ++y) {
    for (int i = 0; i < size; ++i) {
      int j0 = static_cast<int>(static_cast<double>(i) * w / size);
      for (int j = j0; j < w && j <= (i + 1) * static_cast<double>(w) / size; ++j) {
        double f = weights(w, size, i, j);
        uint32_t c = PicturePixel(picture, j, y);
        for (int ch = 0; ch < 3; ++ch) across[(static_cast<size_t>(y) * size + i) * 3 + ch] += f * ((c >> (8 * ch)) & 0xFF);
      }
    }
  }
  double area = (static_cast<double>(w) / size) * (static_cast<double>(h) / size);
  for (int k = 0; k < size; ++k) {
    int y0 = static_cast<int>(static_cast<double>(k) * h / size);
    for (int y = y0; y < h && y <= (k + 1) * static_cast<double>(h) / size; ++y) {
      double f = weights(h, size, k, y);
      for (int i = 0; i < 3 * size; ++i) out[static_cast<size_t>(k) * size * 3 + i] += f * across[(static_cast<size_t>(y) * size) * 3 + i];
    }
  }
  for (double& v : out) v /= area;
  return out;
}

// PSNR in dB of the face painted on target against the reference, over every channel.
double Psnr(const Surface& target, const std::vector<double>& want, int size) {
  double squares = 0;
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      uint32_t c = PixelAt(target, x, y);
      for (int ch = 0; ch < 3; ++ch) {
        double e = ((c >> (8 * ch)) & 0xFF) - want[(static_cast<size_t>(y) * size + x) * 3 + ch];
        squares += e * e;
      }
    }
  }
  double mse = squares / (3.0 * size * size);
  return mse == 0 ? 99.0 : 10.0 * std::log10(255.0 * 255.0 / mse);
}

struct QualityCase {
  const char* name;
  Shade (*make)(int width, int height);
  bool fine;  // detail down to single pixels everywhere
};

Shade MakeChecker(int, int) { return Checkerboard(); }

const QualityCase kQualityCases[] = {
    {"zone plate", ZonePlate, true}, {"checkerboard", MakeChecker, true}, {"foliage", Foliage, false},
    {"facades", Facades, true},      {"fabric", Fabric, true},
};
// Half edges whose faces square to the view are 8 to 960 pixels.
const int kHalfEdges[] = {4, 7, 16, 30, 61, 122, 166, 259, 350, 480};

// A front-on face of size x size at the top-left of target, painted from levels (or, to show that
// the comparison can fail, by the nearest-neighbour transfer).
void PaintFrontOn(const Surface& target, int size, PictureLevels* levels, const PackedDib* nearest) {
  const ScreenPoint corners[3] = {{0, 0}, {size, 0}, {0, size}};
  if (nearest != nullptr) {
    ASSERT_TRUE(TransferPicture(target, corners, nearest, size, size, size, size));
  } else {
    const PackedDib* level = FaceLevel(levels, corners);
    ASSERT_NE(level, nullptr);
    ASSERT_TRUE(TransferPicture(target, corners, level, size, size, size, size));
  }
}

}  // namespace

// Each row prints its figures for the record. A face square to the view is painted from a level of
// its own size, so it must come within 30 dB of the area average (the nearest neighbour's 9 to 21 dB
// on the fine patterns show that the comparison can fail). A face turned to show four fifths of that
// side is painted from the next level up: on the fine patterns it must come clearly closer to the
// area average than the nearest neighbour; on the photograph of mostly coarse detail (foliage) it
// must not fall far behind it, where the nearest neighbour's point sample near the centre of a
// smooth area is already close.
constexpr double kLeastPsnrDb = 30.0;
constexpr double kFineGainDb = 1.5;
constexpr double kCoarseLossDb = 2.0;

TEST(FilterQuality, FacesComeCloseToTheAreaAverage) {
  for (const QualityCase& c : kQualityCases) {
    TestPicture picture = MakeShaded(1210, 1007, c.make(1210, 1007));
    for (int halfEdge : kHalfEdges) {
      // The levels the saver makes for the half edge.
      PictureLevels levels;
      ASSERT_TRUE(BuildPictureLevels(picture.header(), kTopLevelSide, &levels));
      PlanFaceLevels(FaceSideForHalfEdge(halfEdge), &levels);
      for (bool square : {true, false}) {
        const int size = square ? 2 * halfEdge : 8 * halfEdge / 5;
        TestSurface filtered(size, size), nearest(size, size);
        PaintFrontOn(filtered.surface, size, &levels, nullptr);
        PaintFrontOn(nearest.surface, size, &levels, picture.header());
        std::vector<double> want = AreaAverage(picture.header(), size);
        double got = Psnr(filtered.surface, want, size), plain = Psnr(nearest.surface, want, size);
        std::printf("psnr %-12s %4d px %-7s: filtered %6.2f dB, nearest %6.2f dB\n", c.name, size, square ? "square" : "turned",
                    got, plain);
        double least = square ? kLeastPsnrDb : c.fine ? plain + kFineGainDb : plain - kCoarseLossDb;
        EXPECT_GE(got, least) << c.name << " at " << size << " px: filtered " << got << " dB, nearest " << plain;
      }
      FreePictureLevels(&levels);
    }
  }
}

// Six one-pixel checkerboards on the turning cube: nearest sampling shows only the two colours,
// filtered faces show their mean. Cube pixels are those not black (neither colour nor any mean of
// them is).
TEST(FilterQuality, FineCheckerboardsOnTheCubeShowTheirMean) {
  TestPicture pictures[kFaceCount];
  for (TestPicture& picture : pictures) picture = MakeShaded(1001, 1001, Checkerboard());
  const int mean[3] = {(0x28 + 0xDC) / 2, (0xC8 + 0x3C) / 2, (0xF0 + 0x0A) / 2};  // blue, green, red
  for (int halfEdge : {32, 122, 259}) {
    StartSaver(1024, 768, halfEdge, pictures);
    int64_t cube = 0, near = 0;
    for (int n = 1; n <= 60; ++n) {
      DrawCube();
      if (n % 5 != 0) continue;
      for (int y = 0; y < 768; ++y) {
        for (int x = 0; x < 1024; ++x) {
          uint32_t c = PixelAt(BackSurface, x, y);
          if (c == 0) continue;
          ++cube;
          bool close = true;
          for (int ch = 0; ch < 3; ++ch) close = close && std::abs(static_cast<int>((c >> (8 * ch)) & 0xFF) - mean[ch]) <= 24;
          near += close;
        }
      }
    }
    ASSERT_GT(cube, 0);
    double share = static_cast<double>(near) / static_cast<double>(cube);
    std::printf("checkerboard cube, half edge %d: %.2f %% of %lld pixels within 24 of the mean\n", halfEdge, 100 * share,
                static_cast<long long>(cube));
    EXPECT_GE(share, 0.95) << "half edge " << halfEdge;
  }
}
