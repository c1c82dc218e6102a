// Heap-backed surfaces laid out like the 24-bit bottom-up DIB sections of the Windows build, for
// whirlbox-tool, the tests and the benchmarks. No platform headers.
#pragma once
#include "render/surface.h"

// Largest width or height a surface may have; keeps every raster computation inside 64 bits.
constexpr int kMaxSurfaceSide = 32768;

// Gives surface zero-filled pixel memory of width x height, rows padded to 4 bytes. Returns false
// (surface untouched) for a negative or too large size or when memory runs out. Free with FreeSurface.
bool AllocateSurface(int width, int height, Surface* surface);

// Releases what AllocateSurface gave and empties the record.
void FreeSurface(Surface* surface);
