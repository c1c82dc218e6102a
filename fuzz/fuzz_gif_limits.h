// Size bounds shared by the GIF fuzz targets, so that an input costs microseconds, not
// milliseconds. An input's time goes into its pixels: every frame is allocated and filled at its
// declared size, and every picture at the declared screen size, however few bytes of data the input
// holds; under AddressSanitizer each such block is fresh memory, paid for in page faults. So an
// input is skipped before the reader is called when its declared pixels (each frame's, plus a
// screen-sized picture per frame) exceed a budget, found by walking the blocks as the parser does.
// Blocks of at most 16 KiB bound what the walk does not count (a comment's text, a frame's table of
// rows). Inputs of at most 4 KiB bound the decoding and still reach a full code table (from the
// minimum code size 11, 2046 codes of 12 bits). At most 8 image descriptors: each frame costs its
// own blocks (frame, rows, pixels and, in the loader, a screen-sized picture) even when it declares
// no pixels, and 8 still reach every disposal of a frame onto the one before it. A frame's data
// beyond what its pixels can take is decoded and reported code by code, so it is bounded too, and so
// are stray bytes between blocks (each costs two reads, and only the first is reported). The
// readers keep their own limits; only these targets apply these.
// The walk is not the code under test, so it is built without the fuzzer's coverage: its branches
// would cost a traced comparison per stray byte and steer the fuzzer towards the walk's own paths.
#pragma once
#include <cstddef>
#include <cstdint>

#include "picture/gif_parser.h"

const size_t kFuzzLargestInput = 4096;
const int64_t kFuzzPixelBudget = int64_t{1} << 12;
const int kFuzzLargestFrameCount = 8;
const int64_t kFuzzDataPerPixel = 2;
const int64_t kFuzzDataSlack = 256;
const int kFuzzLargestStrayCount = 64;

inline void SetFuzzLimits() { GifLargestBlock = int64_t{1} << 14; }

// The offset after the run of data sub-blocks starting at at.
__attribute__((no_sanitize("coverage")))
inline size_t SkipFuzzSubBlocks(const uint8_t* data, size_t size, size_t at) {
  while (at < size && data[at] != 0) at += size_t{data[at]} + 1;
  return at + 1;
}

// The pixels the input declares: every image descriptor's area plus, per frame, the logical
// screen's; more than the budget past kFuzzLargestFrameCount frames, or for a frame with more data
// than its pixels could take (at most 12 bits a pixel, plus slack so that too much data is still
// reached), or past kFuzzLargestStrayCount stray bytes, which are stepped over one at a time, as
// the parser reports and skips them.
__attribute__((no_sanitize("coverage")))
inline int64_t DeclaredPixels(const uint8_t* data, size_t size) {
  if (size < 13) return 0;
  int frames = 0, stray = 0;
  const int64_t screen = int64_t{data[6] | data[7] << 8} * (data[8] | data[9] << 8);
  size_t at = 13 + ((data[10] & 0x80) != 0 ? size_t{3} << ((data[10] & 7) + 1) : 0);
  int64_t pixels = 0;
  while (at < size && data[at] != 0x3B) {
    if (data[at] == 0x2C && at + 10 <= size) {
      if (++frames > kFuzzLargestFrameCount) return kFuzzPixelBudget + 1;
      const int64_t area = int64_t{data[at + 5] | data[at + 6] << 8} * (data[at + 7] | data[at + 8] << 8);
      pixels += screen + area;
      const uint8_t packed = data[at + 9];
      at += 10 + ((packed & 0x80) != 0 ? size_t{3} << ((packed & 7) + 1) : 0) + 1;  // and the code size
      const size_t start = at;
      at = SkipFuzzSubBlocks(data, size, at);
      const int64_t bytes = static_cast<int64_t>(at - start);
      if (bytes > kFuzzDataPerPixel * area + kFuzzDataSlack) return kFuzzPixelBudget + 1;
    } else if (data[at] == 0x21) {
      at = SkipFuzzSubBlocks(data, size, at + 2);
    } else {
      if (++stray > kFuzzLargestStrayCount) return kFuzzPixelBudget + 1;
      at += 1;
    }
  }
  return pixels;
}

// True when the GIF targets take the input: small enough in bytes and in declared pixels.
__attribute__((no_sanitize("coverage")))
inline bool FuzzInputTaken(const uint8_t* data, size_t size) {
  return size <= kFuzzLargestInput && DeclaredPixels(data, size) <= kFuzzPixelBudget;
}
