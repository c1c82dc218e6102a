// The two drawing surfaces, empty until the platform layer (CreateBackBuffers on Windows,
// AllocateSurface natively) gives them pixel memory, and the heap surfaces.
#include "render/surface.h"

#include <cstdlib>

#include "picture/packed_dib.h"

Surface BackSurface = {nullptr, 0, 0, 0};
Surface FaceSurface = {nullptr, 0, 0, 0};

bool AllocateSurface(int width, int height, Surface* surface) {
  if (width < 0 || height < 0 || width > kMaxSurfaceSide || height > kMaxSurfaceSide) return false;
  int64_t stride = DibRowStride64(width, 24);
  int64_t bytes = stride * height;
  if (static_cast<uint64_t>(bytes) > SIZE_MAX) return false;
  // One spare byte keeps a zero-sized view from asking calloc for nothing.
  uint8_t* bits = static_cast<uint8_t*>(std::calloc(static_cast<size_t>(bytes) + 1, 1));
  if (bits == nullptr) return false;
  surface->bits = bits;
  surface->width = width;
  surface->height = height;
  surface->stride = static_cast<int32_t>(stride);
  return true;
}

void FreeSurface(Surface* surface) {
  std::free(surface->bits);
  *surface = Surface{nullptr, 0, 0, 0};
}
