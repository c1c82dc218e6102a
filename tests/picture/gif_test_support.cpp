// Helpers shared by the GIF reader tests (fixtures, recorded problems, display-order pixels).
#include "gif_test_support.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "picture/gif_parser.h"

std::string WriteGifFixture(const std::string& name, const Bytes& bytes) {
  WriteFixture(name + ".gif", bytes, "gif_parse");
  return WriteFixture(name + ".gif", bytes, "gif");
}

void RecordProblem(const char* message, int frameIndex, void* value) {
  static_cast<std::vector<Problem>*>(value)->push_back(Problem{message, frameIndex});
}

GifContents* ParseFixture(const std::string& name, const Bytes& bytes, std::vector<Problem>* problems) {
  std::string path = WriteGifFixture(name, bytes);
  FILE* file = std::fopen(path.c_str(), "rb");
  EXPECT_NE(file, nullptr) << path;
  if (file == nullptr) return nullptr;
  GifContents* contents = ParseGifFile(file, RecordProblem, problems);
  std::fclose(file);
  return contents;
}

std::string Describe(const std::vector<Problem>& problems) {
  std::string text;
  for (const Problem& problem : problems) {
    if (!text.empty()) text += "; ";
    text += problem.message + "@" + std::to_string(problem.frame);
  }
  return text;
}

std::vector<uint8_t> DisplayPixels(const GifFrame* frame) {
  std::vector<uint8_t> pixels;
  for (int r = 0; r < frame->height; ++r) pixels.insert(pixels.end(), frame->rows[r], frame->rows[r] + frame->width);
  return pixels;
}

Bytes ImageBlock(int left, int top, int width, int height, unsigned packed, const Bytes& raster) {
  Bytes out = {0x2C};
  Put16(out, static_cast<unsigned>(left));
  Put16(out, static_cast<unsigned>(top));
  Put16(out, static_cast<unsigned>(width));
  Put16(out, static_cast<unsigned>(height));
  Put8(out, packed);
  Append(out, raster);
  return out;
}

Bytes CodeRaster(int minCodeSize, const std::vector<std::pair<int, int>>& codes, int blockSize) {
  Bytes out = {static_cast<uint8_t>(minCodeSize)};
  Append(out, SubBlocks(PackCodes(codes), blockSize));
  return out;
}

void Append(Bytes& to, const Bytes& more) { to.insert(to.end(), more.begin(), more.end()); }

std::vector<uint8_t> NoisePixels(int count, int colors, uint32_t state) {
  std::vector<uint8_t> pixels(static_cast<size_t>(count));
  for (uint8_t& pixel : pixels) {
    state = state * 1664525u + 1013904223u;
    pixel = static_cast<uint8_t>((state >> 16) % static_cast<uint32_t>(colors));
  }
  return pixels;
}
