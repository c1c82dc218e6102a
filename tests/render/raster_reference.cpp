// The naive reference raster operations and the builders the raster tests share.
#include "raster_reference.h"

#include <cmath>
#include <cstring>

#include "render/surface.h"

TestSurface::TestSurface(int width, int height) : surface{nullptr, 0, 0, 0} { AllocateSurface(width, height, &surface); }
TestSurface::~TestSurface() { FreeSurface(&surface); }

TestPicture MakePicture(int width, int height, int bits, int colourCount, std::mt19937* random) {
  int stride = DibRowStride(width, bits);
  int colours = bits <= 8 ? colourCount : (bits == 32 ? 3 : 0);
  if (bits <= 8 && colours == 0) colours = 1 << bits;
  size_t bytes = 40 + 4 * static_cast<size_t>(colours) + static_cast<size_t>(stride) * height;
  TestPicture picture;
  picture.words.assign((bytes + 3) / 4, 0);
  PackedDib* header = picture.header();
  header->biSize = 40;
  header->biWidth = width;
  header->biHeight = height;
  header->biPlanes = 1;
  header->biBitCount = static_cast<uint16_t>(bits);
  header->biSizeImage = static_cast<uint32_t>(stride * height);
  header->biClrUsed = bits <= 8 ? static_cast<uint32_t>(colourCount) : (bits == 32 ? 3 : 0);
  uint8_t* bytesOut = reinterpret_cast<uint8_t*>(header) + 40;
  for (size_t i = 0; i < bytes - 40; ++i) bytesOut[i] = static_cast<uint8_t>((*random)());
  return picture;
}

void FillRandom(const Surface& surface, std::mt19937* random) {
  for (int y = 0; y < surface.height; ++y) {
    uint8_t* row = surface.bits + static_cast<size_t>(y) * surface.stride;
    for (int i = 0; i < surface.width * 3; ++i) row[i] = static_cast<uint8_t>((*random)());
  }
}

static const uint8_t* Row(const Surface& surface, int y) {
  return surface.bits + static_cast<size_t>(surface.height - 1 - y) * surface.stride;
}

uint32_t PixelAt(const Surface& surface, int x, int y) {
  const uint8_t* p = Row(surface, y) + 3 * x;
  return p[0] | (p[1] << 8) | (static_cast<uint32_t>(p[2]) << 16);
}

void SetPixel(Surface& surface, int x, int y, uint32_t rgb) {
  uint8_t* p = const_cast<uint8_t*>(Row(surface, y)) + 3 * x;
  p[0] = rgb & 0xFF;
  p[1] = (rgb >> 8) & 0xFF;
  p[2] = (rgb >> 16) & 0xFF;
}

uint32_t PicturePixel(const PackedDib* picture, int x, int y) {
  int bits = picture->biBitCount;
  const uint8_t* row = DibBits(picture) + static_cast<size_t>(picture->biHeight - 1 - y) * DibRowStride(picture->biWidth, bits);
  if (bits == 24 || bits == 32) {
    const uint8_t* p = row + x * (bits / 8);
    return p[0] | (p[1] << 8) | (static_cast<uint32_t>(p[2]) << 16);
  }
  int bitOffset = x * bits;
  int index = (row[bitOffset / 8] >> (8 - bits - bitOffset % 8)) & ((1 << bits) - 1);
  if (index >= DibColorCount(picture)) return 0;
  const DibColor& c = DibColors(picture)[index];
  return c.blue | (c.green << 8) | (static_cast<uint32_t>(c.red) << 16);
}

void ReferenceFill(Surface& surface, Rect rect, uint32_t rgb) {
  for (int y = 0; y < surface.height; ++y) {
    for (int x = 0; x < surface.width; ++x) {
      if (x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom) SetPixel(surface, x, y, rgb);
    }
  }
}

void ReferenceStretch(Surface& target, int w, int hh, const PackedDib* picture) {
  for (int y = 0; y < target.height && y < hh; ++y) {
    for (int x = 0; x < target.width && x < w; ++x) {
      int sx = static_cast<int>(std::floor((x + 0.5) * picture->biWidth / w));
      int sy = static_cast<int>(std::floor((y + 0.5) * picture->biHeight / hh));
      SetPixel(target, x, y, PicturePixel(picture, sx, sy));
    }
  }
}

namespace {

// Where a centre exactly on an edge goes: the rule moves it a tiny step right (then a tinier step
// down), so it belongs to the side the coordinate grows towards along that move.
bool GrowsAlongTieMove(double perX, double perY) { return perX > 0 || (perX == 0 && perY > 0); }

// Decides one parallelogram coordinate for a centre: numerator / det in [0, 1) after the tie move,
// and the source index floor(numerator * scale / det) taken at the moved point.
bool Coordinate(double numerator, double det, double perX, double perY, int scale, bool closedEdges, int* index) {
  bool grows = GrowsAlongTieMove(perX, perY);
  bool inside;
  if (numerator == 0) {
    inside = closedEdges || grows;
  } else if (numerator == det) {
    inside = closedEdges || !grows;
  } else {
    inside = numerator > 0 && numerator < det;
  }
  if (!inside) return false;
  double product = numerator * scale;
  double position = product / det;
  int whole = static_cast<int>(std::floor(position));
  if (std::fmod(product, det) == 0 && !grows) whole -= 1;  // the moved point lies just below
  if (closedEdges) whole = whole < 0 ? 0 : (whole >= scale ? scale - 1 : whole);  // centres on both edges
  *index = whole;
  return true;
}

}  // namespace

void ReferenceTransfer(Surface& target, const ScreenPoint corners[3], const Surface& source, int w, int hh,
                       bool closedEdges) {
  double ax = corners[0].x, ay = corners[0].y;
  double e1x = corners[1].x - ax, e1y = corners[1].y - ay;
  double e2x = corners[2].x - ax, e2y = corners[2].y - ay;
  double det = e1x * e2y - e1y * e2x;
  if (w <= 0 || hh <= 0 || det == 0) return;
  double sign = det > 0 ? 1 : -1;
  for (int y = 0; y < target.height; ++y) {
    for (int x = 0; x < target.width; ++x) {
      double cx = x + 0.5 - ax, cy = y + 0.5 - ay;
      // centre = A + s * e1 + t * e2, solved by Cramer's rule; numerators and det made positive-oriented.
      double numS = sign * (cx * e2y - cy * e2x);
      double numT = sign * (e1x * cy - e1y * cx);
      int u = 0, v = 0;
      if (!Coordinate(numS, det * sign, sign * e2y, -sign * e2x, w, closedEdges, &u)) continue;
      if (!Coordinate(numT, det * sign, -sign * e1y, sign * e1x, hh, closedEdges, &v)) continue;
      if (u >= source.width || v >= source.height) continue;
      SetPixel(target, x, y, PixelAt(source, u, v));
    }
  }
}

Difference CompareSurfaces(const Surface& got, const Surface& want) {
  Difference difference{0, -1, -1, 0, 0};
  for (int y = 0; y < got.height; ++y) {
    for (int x = 0; x < got.width; ++x) {
      uint32_t a = PixelAt(got, x, y), b = PixelAt(want, x, y);
      if (a == b) continue;
      if (difference.count++ == 0) difference = Difference{1, x, y, a, b};
    }
  }
  return difference;
}
