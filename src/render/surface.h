// The 24-bit drawing surfaces the cube is composed on, as plain pixel memory that our own painter
// works on: the two surfaces, their row addressing, and heap surfaces for the tool, tests and
// benchmarks. On Windows the memory is that of the DIB sections made by CreateBackBuffers.
#pragma once
#include <cstddef>
#include <cstdint>

// Layout of a bottom-up 24-bit DIB section: height rows of stride bytes, the bottom row first, pixels
// blue, green, red; stride = DibRowStride(width, 24).
struct Surface {
  uint8_t* bits;
  int32_t width;
  int32_t height;
  int32_t stride;
};

// The back buffer, in which each frame is composed.
extern Surface BackSurface;

// The face scratch surface, as large as the view. Nothing draws into it any more: faces are painted
// straight from their pictures. It is still created because start-up makes it and reports its
// failure (612, 615), and its size still bounds each face: a face pixel whose sample lies beyond it
// is left unpainted, as when pictures were stretched into it.
extern Surface FaceSurface;

// Largest width or height a surface may have; keeps every raster computation inside 64 bits.
constexpr int kMaxSurfaceSide = 32768;

// The first byte of row y counted from the top (0 <= y < height): rows are stored bottom row first.
inline uint8_t* SurfaceRow(const Surface& surface, int y) {
  return surface.bits + static_cast<ptrdiff_t>(surface.height - 1 - y) * surface.stride;
}

// True when the surface can be drawn on: pixel memory, positive size and rows of at least 3 * width.
inline bool SurfaceUsable(const Surface& surface) {
  return surface.bits != nullptr && surface.width > 0 && surface.height > 0 &&
         static_cast<int64_t>(surface.stride) >= 3 * static_cast<int64_t>(surface.width);
}

// Gives surface zero-filled heap memory of width x height, rows padded to 4 bytes as in the DIB
// sections. Returns false (surface untouched) for a negative or too large size or when memory runs
// out. Free with FreeSurface.
bool AllocateSurface(int width, int height, Surface* surface);

// Releases what AllocateSurface gave and empties the record.
void FreeSurface(Surface* surface);
