// Size bounds shared by the GIF fuzz targets, so that an input costs microseconds, not milliseconds.
// An input's time goes into its pixels: every frame is allocated and filled at its declared size
// and every picture at the declared screen size, whatever few bytes of data the input holds. Blocks
// of at most 16 KiB (the smallest that still holds the LZW code tables) bound each frame; larger
// ones take the allocation-failure path, as a too-large file does. Inputs of at most 8 KiB (some 600
// frame descriptors) keep a parse that keeps every frame far below the fuzzer's memory limit. The
// readers themselves keep their own limits; only these targets apply these.
#pragma once
#include <cstddef>
#include <cstdint>

#include "picture/gif_parser.h"

const size_t kFuzzLargestInput = 8192;
// Inputs declaring a larger logical screen are skipped before the reader is called: each of their
// frame pictures would be screen-sized.
const int64_t kFuzzLargestScreen = 1024;

inline void SetFuzzLimits() { GifLargestBlock = int64_t{1} << 14; }

// The logical screen's declared area in pixels (width and height at offsets 6 and 8); 0 when the
// input is too short to declare one.
inline int64_t DeclaredScreenPixels(const uint8_t* data, size_t size) {
  if (size < 10) return 0;
  return int64_t{data[6] | data[7] << 8} * (data[8] | data[9] << 8);
}

// True when the GIF targets take the input: small enough in bytes and in declared screen.
inline bool FuzzInputTaken(const uint8_t* data, size_t size) {
  return size <= kFuzzLargestInput && DeclaredScreenPixels(data, size) <= kFuzzLargestScreen;
}
