// Helpers shared by the GIF reader tests: fixtures written to both GIF corpora, a parse that
// records every problem, and the decoded pixels of a frame in display order.
#pragma once
#include <string>
#include <vector>

#include "common/test_files.h"
#include "common/gif_encoder.h"
#include "picture/gif_parser.h"

struct Problem {
  std::string message;
  int frame;
};

// Writes a fixture for the LoadGif and the ParseGif fuzz targets; returns its temporary path.
std::string WriteGifFixture(const std::string& name, const Bytes& bytes);

// The problem hook of these tests: appends each problem to the std::vector<Problem> at value.
void RecordProblem(const char* message, int frameIndex, void* value);

// Parses a fixture file with a hook that records each problem. Release the result with ReleaseGif.
GifContents* ParseFixture(const std::string& name, const Bytes& bytes, std::vector<Problem>* problems);

// "message@frame" joined by "; ", for comparisons that print both sides.
std::string Describe(const std::vector<Problem>& problems);

// A frame's pixels through its row table, top row first.
std::vector<uint8_t> DisplayPixels(const GifFrame* frame);

// An image descriptor block with the given raw LZW sub-blocks (min code size byte included).
Bytes ImageBlock(int left, int top, int width, int height, unsigned packed, const Bytes& raster);

// A raster: the minimum code size byte, then codes packed into one sub-block run.
Bytes CodeRaster(int minCodeSize, const std::vector<std::pair<int, int>>& codes, int blockSize = 255);

// Appends bytes.
void Append(Bytes& to, const Bytes& more);

// Deterministic test pixels: values below colors.
std::vector<uint8_t> NoisePixels(int count, int colors, uint32_t state);
