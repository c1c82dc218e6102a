// Naive reference raster operations for the tests: every destination pixel mapped back on its own
// in double precision, with no spans, no stepping and no shortcuts. Also picture and surface builders.
#pragma once
#include <cstdint>
#include <random>
#include <vector>

#include "picture/packed_dib.h"
#include "render/cube_geometry.h"
#include "render/surface.h"

// A heap surface owned by the test (freed by its destructor through FreeSurface).
struct TestSurface {
  Surface surface;
  TestSurface(int width, int height);
  ~TestSurface();
  TestSurface(const TestSurface&) = delete;
  TestSurface& operator=(const TestSurface&) = delete;
};

// A PackedDib in a vector of words (so the header is aligned), rows filled with random bytes and a
// colour table of colourCount random entries (0 for the default count of the bit depth).
struct TestPicture {
  std::vector<uint32_t> words;
  PackedDib* header() { return reinterpret_cast<PackedDib*>(words.data()); }
};
TestPicture MakePicture(int width, int height, int bits, int colourCount, std::mt19937* random);

void FillRandom(const Surface& surface, std::mt19937* random);

// Blue, green, red of one pixel (x, y counted from the top-left), packed as 0xRRGGBB.
uint32_t PixelAt(const Surface& surface, int x, int y);
void SetPixel(Surface& surface, int x, int y, uint32_t rgb);
uint32_t PicturePixel(const PackedDib* picture, int x, int y);

void ReferenceFill(Surface& surface, Rect rect, uint32_t rgb);
void ReferenceStretch(Surface& target, int w, int hh, const PackedDib* picture);
// closedEdges: a deliberately wrong variant that paints every centre on any edge.
void ReferenceTransfer(Surface& target, const ScreenPoint corners[3], const Surface& source, int w, int hh,
                       bool closedEdges = false);

// Number of pixels in which two surfaces of the same size differ, and the first of them.
struct Difference {
  int count;
  int x;
  int y;
  uint32_t got;
  uint32_t want;
};
Difference CompareSurfaces(const Surface& got, const Surface& want);
