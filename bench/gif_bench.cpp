// Benchmark of the GIF face loader against giflib (DGifSlurp plus the same placement into a
// bottom-up 8-bit picture) on four generated files, with the peak heap use of each load.
// giflib and the test GIF writer are linked here only; the saver never uses them.
#include <benchmark/benchmark.h>
#include <gif_lib.h>
#include <malloc.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "picture/gif_loader.h"
#include "common/gif_encoder.h"

// Heap accounting: every malloc-family call of the process goes through these wrappers, so a
// load's peak is the highest sum of live block sizes above the level before it started.
extern "C" void* __libc_malloc(size_t size);
extern "C" void* __libc_calloc(size_t count, size_t size);
extern "C" void* __libc_realloc(void* block, size_t size);
extern "C" void __libc_free(void* block);

static int64_t HeapNow = 0;
static int64_t HeapPeak = 0;

static void* Counted(void* block) {
  if (block != nullptr) {
    HeapNow += static_cast<int64_t>(malloc_usable_size(block));
    if (HeapNow > HeapPeak) HeapPeak = HeapNow;
  }
  return block;
}

extern "C" void* malloc(size_t size) { return Counted(__libc_malloc(size)); }
extern "C" void* calloc(size_t count, size_t size) { return Counted(__libc_calloc(count, size)); }
extern "C" void free(void* block) {
  if (block != nullptr) HeapNow -= static_cast<int64_t>(malloc_usable_size(block));
  __libc_free(block);
}
extern "C" void* realloc(void* block, size_t size) {
  int64_t old = block != nullptr ? static_cast<int64_t>(malloc_usable_size(block)) : 0;
  void* grown = __libc_realloc(block, size);
  if (grown == nullptr) return nullptr;
  HeapNow -= old;
  return Counted(grown);
}

namespace {

struct BenchFile {
  const char* name;
  std::string path;
  int64_t pixels;  // decoded pixels of all frames
};

BenchFile Files[4] = {{"photo_4000x3000", "", 0}, {"flat_4000x3000", "", 0},
                      {"interlaced_2000x2000", "", 0}, {"animation_100x800x600", "", 0}};

uint32_t NoiseState = 12345;
int Noise(int amplitude) {
  NoiseState = NoiseState * 1664525u + 1013904223u;
  return static_cast<int>((NoiseState >> 16) % static_cast<uint32_t>(2 * amplitude + 1)) - amplitude;
}

// Smooth shapes with grain, like a photo reduced to 256 colours with dithering.
std::vector<uint8_t> PhotoPixels(int width, int height, int grain, int shift) {
  std::vector<uint8_t> pixels(static_cast<size_t>(width) * static_cast<size_t>(height));
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      double value = 128 + 60 * std::sin((x + shift) / 97.0) + 50 * std::cos(y / 63.0) + 15 * std::sin((x + y) / 31.0);
      int v = static_cast<int>(value) + Noise(grain);
      pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)] =
          static_cast<uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v);
    }
  }
  return pixels;
}

// Large flat areas in 16 colours: rectangles and discs, as in a chart or a logo.
std::vector<uint8_t> FlatPixels(int width, int height) {
  std::vector<uint8_t> pixels(static_cast<size_t>(width) * static_cast<size_t>(height));
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      int value = (x / 400 + (y / 300) * 3) % 16;
      int dx = x % 500 - 250, dy = y % 500 - 250;
      if (dx * dx + dy * dy < 150 * 150) value = 15 - value;
      pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)] = static_cast<uint8_t>(value);
    }
  }
  return pixels;
}

TestFrame FullFrame(int width, int height, std::vector<uint8_t> pixels, bool interlaced) {
  TestFrame frame;
  frame.width = width;
  frame.height = height;
  frame.interlaced = interlaced;
  frame.pixels = std::move(pixels);
  return frame;
}

void Save(BenchFile& file, const TestGif& gif) {
  std::filesystem::path folder = std::filesystem::temp_directory_path() / "whirlbox-gif-bench";
  std::filesystem::create_directories(folder);
  file.path = (folder / (std::string(file.name) + ".gif")).string();
  Bytes bytes = EncodeGif(gif);
  std::ofstream(file.path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                   static_cast<std::streamsize>(bytes.size()));
  file.pixels = 0;
  for (const TestFrame& frame : gif.frames) file.pixels += static_cast<int64_t>(frame.width) * frame.height;
}

void MakeFiles() {
  TestGif photo;
  photo.width = 4000;
  photo.height = 3000;
  photo.frames.push_back(FullFrame(4000, 3000, PhotoPixels(4000, 3000, 12, 0), false));
  Save(Files[0], photo);
  TestGif flat = photo;
  flat.frames[0] = FullFrame(4000, 3000, FlatPixels(4000, 3000), false);
  Save(Files[1], flat);
  TestGif interlaced;
  interlaced.width = interlaced.height = 2000;
  interlaced.frames.push_back(FullFrame(2000, 2000, PhotoPixels(2000, 2000, 4, 0), true));
  Save(Files[2], interlaced);
  TestGif animation;
  animation.width = 800;
  animation.height = 600;
  for (int f = 0; f < 100; ++f) animation.frames.push_back(FullFrame(800, 600, PhotoPixels(800, 600, 6, 8 * f), false));
  Save(Files[3], animation);
}

// The peer: giflib decodes every frame, then the first one is placed into a picture exactly as
// the face loader places it (background fill, bottom-up rows, colour table of its palette).
PackedDib* GiflibLoad(const char* path) {
  int error = 0;
  GifFileType* gif = DGifOpenFileName(path, &error);
  if (gif == nullptr) return nullptr;
  if (DGifSlurp(gif) != GIF_OK || gif->ImageCount < 1) {
    DGifCloseFile(gif, &error);
    return nullptr;
  }
  const SavedImage& image = gif->SavedImages[0];
  const ColorMapObject* map = image.ImageDesc.ColorMap != nullptr ? image.ImageDesc.ColorMap : gif->SColorMap;
  int n = map != nullptr ? map->ColorCount : 256;
  PackedDib* picture = NewPackedDib(gif->SWidth, gif->SHeight, 8, n, INT32_MAX);
  if (picture == nullptr) {
    DGifCloseFile(gif, &error);
    return nullptr;
  }
  const int64_t stride = DibRowStride64(gif->SWidth, 8);
  const int64_t imageSize = picture->biSizeImage;
  DibColor* colors = DibColors(picture);
  if (map == nullptr) FillGreyRamp(colors, n);
  for (int i = 0; map != nullptr && i < n; ++i) {
    const GifColorType& color = map->Colors[i];
    colors[i] = DibColor{color.Blue, color.Green, color.Red, 0};
  }
  uint8_t* bits = DibBits(picture);
  std::memset(bits, gif->SBackGroundColor, static_cast<size_t>(imageSize));
  const GifImageDesc& desc = image.ImageDesc;
  int64_t columns = std::min<int64_t>(desc.Width, std::max<int64_t>(0, gif->SWidth - desc.Left));
  for (int64_t r = 0; r < desc.Height && desc.Top + r < gif->SHeight && columns > 0; ++r) {
    std::memcpy(bits + (gif->SHeight - 1 - (desc.Top + r)) * stride + desc.Left,
                image.RasterBits + r * desc.Width, static_cast<size_t>(columns));
  }
  DGifCloseFile(gif, &error);
  return picture;
}

template <PackedDib* (*Load)(const char*)>
void BM_Load(benchmark::State& state) {
  const BenchFile& file = Files[state.range(0)];
  state.SetLabel(file.name);
  int64_t peak = 0;
  for (auto _ : state) {
    int64_t before = HeapNow;
    HeapPeak = HeapNow;
    PackedDib* picture = Load(file.path.c_str());
    if (picture == nullptr) state.SkipWithError("load failed");
    benchmark::DoNotOptimize(picture);
    peak = HeapPeak - before;
    std::free(picture);
  }
  state.SetItemsProcessed(state.iterations() * file.pixels);
  state.counters["peak_MB"] = static_cast<double>(peak) / 1e6;
}

void BM_LoadGif(benchmark::State& state) { BM_Load<LoadGif>(state); }
void BM_Giflib(benchmark::State& state) { BM_Load<GiflibLoad>(state); }

}  // namespace

int main(int argc, char** argv) {
  MakeFiles();
  // Parsed frames (pixels and row tables) plus one picture: the bound for the animation's peak.
  double frames = 100.0 * (800 * 600 + 601 * sizeof(uint8_t*));
  double bound = (frames + 40 + 4 * 256 + 800.0 * 600) / 1e6;
  std::printf("animation bound (parsed frames + one picture): %.2f MB\n", bound);
  for (int i = 0; i < 4; ++i) {
    // Alternating registration: ours, then giflib, file by file.
    benchmark::RegisterBenchmark("LoadGif", BM_LoadGif)->Arg(i)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("giflib", BM_Giflib)->Arg(i)->Unit(benchmark::kMillisecond);
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
