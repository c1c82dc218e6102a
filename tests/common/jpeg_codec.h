// Test-side JPEG codec: encodes fixtures through libjpeg's compressor and decodes files with the
// library's defaults as the reference the reader is compared with. Portable (also built by MinGW).
#pragma once
#include <cstdint>
#include <vector>

#include "common/test_files.h"

// What the compressor is asked for. components 1 is grey, 3 colour (RGB in, YCbCr in the file),
// 4 CMYK, 2 an unnamed two-component colour space.
struct JpegOptions {
  int width = 16;
  int height = 16;
  int components = 3;
  int quality = 90;
  bool progressive = false;
  int restartRows = 0;   // a restart marker every this many MCU rows; 0 for none
  bool fullChroma = false;  // 1x1 sampling for every component instead of the default 2x2 luma
};

// Sample value of pixel (x, y), component c: a pattern with edges and gradients, so that rows,
// columns and components all differ.
uint8_t PatternSample(int x, int y, int c);

// A JPEG file of options' size holding PatternSample; empty if the compressor fails.
Bytes EncodeJpeg(const JpegOptions& options);

// The library's own decode of a JPEG file with default parameters: rows top-down, each of
// width * components samples.
struct ReferenceImage {
  bool ok = false;
  int width = 0;
  int height = 0;
  int components = 0;
  std::vector<uint8_t> samples;
};
ReferenceImage DecodeReference(const Bytes& file);

// Whether the library reads the file's header (up to its first scan) without an error.
bool ReadsHeader(const Bytes& file);

// Offset of the first occurrence of the marker FF code at or after from; -1 if there is none.
long FindMarker(const Bytes& file, uint8_t code, size_t from);
