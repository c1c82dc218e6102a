// A small GIF writer for tests and benchmarks: an LZW encoder that follows the decoder's code-width
// rules, sub-block packing, and whole files with palettes, graphic control and interlacing.
// Test code only; it does not use the reader under test.
#pragma once
#include <cstdint>
#include <utility>
#include <vector>

#include "common/test_files.h"

// One frame to encode. Pixels are width * height indices in display order (top row first).
struct TestFrame {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  bool interlaced = false;
  int localColors = 0;     // 0 for none, else 2 to 256 (a power of two)
  int minCodeSize = 8;     // 2 to 8; pixel values must stay below 2^minCodeSize
  int transparent = -1;    // written in a graphic control extension when 0 or more
  int delay = 0;
  bool clearWhenFull = true;  // false: keep coding at 12 bits with a full table
  std::vector<uint8_t> pixels;
};

struct TestGif {
  int width = 0;
  int height = 0;
  int globalColors = 256;  // 0 for none
  int background = 0;
  int subBlockSize = 255;
  std::vector<TestFrame> frames;
  bool trailer = true;
};

// The colour of palette entry i in every palette the writer makes (local palettes are shifted).
uint8_t TestPaletteRed(int i, bool local);
uint8_t TestPaletteGreen(int i, bool local);
uint8_t TestPaletteBlue(int i, bool local);

// LZW codes (without sub-blocks) for pixels at minCodeSize, starting with a clear code.
Bytes LzwEncode(const std::vector<uint8_t>& pixels, int minCodeSize, bool clearWhenFull);

// Codes of explicit widths packed least significant bit first.
Bytes PackCodes(const std::vector<std::pair<int, int>>& codesAndWidths);

// data cut into sub-blocks of at most blockSize bytes, then the zero-length terminator.
Bytes SubBlocks(const Bytes& data, int blockSize);

// The rows of a frame in the order an interlaced frame stores them (passes 0/8, 4/8, 2/4, 1/2).
std::vector<int> InterlacedOrder(int height);

// A complete file.
Bytes EncodeGif(const TestGif& gif);

// A file of one frame covering the whole screen, with the default palette; pixels top row first.
Bytes EncodeScreenGif(int width, int height, std::vector<uint8_t> pixels);

// A header: "GIF89a", screen descriptor and global palette of colors entries (0: none).
Bytes GifHeaderBytes(int width, int height, int colors, int background);
