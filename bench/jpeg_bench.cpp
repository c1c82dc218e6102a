// LoadJpeg against the bare library on a 4000 x 3000 colour and a 4000 x 3000 grey JPEG: the same
// libjpeg calls, the bare decode into one throw-away row. Native only; run by hand, e.g.
//   build/native/bench/jpeg_bench --benchmark_repetitions=10 --benchmark_enable_random_interleaving=true
// With --warm-heap the C library keeps freed picture blocks for the next load instead of returning
// them to the system, so the figures leave out the kernel's first-touch page faults, which every
// reader that builds a picture pays alike (the saver loads each picture once, at start-up).
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <jpeglib.h>

#include "photo_jpeg.h"
#include "picture/jpeg_reader.h"
#include "picture/row_copy.h"

namespace {

constexpr int kWidth = 4000;
constexpr int kHeight = 3000;

const std::string& BenchFile(int components) {
  static std::string paths[2];
  std::string& path = paths[components == 1 ? 0 : 1];
  if (path.empty()) {
    path = std::string("/tmp/whirlbox_jpeg_bench_") + (components == 1 ? "grey" : "colour") + ".jpg";
    if (!WritePhotoJpeg(path, kWidth, kHeight, components, false)) std::abort();
  }
  return path;
}

// What the bare decode does with each scanline.
enum RowUse {
  kDropRow,       // nothing: the library's own cost
  kCopyRow,       // copied unchanged into its bottom-up place in a fresh zero-filled block of the
                  // picture's size: the cost of the picture's memory alone (first-touch page faults)
  kPlainSwapRow,  // the same place, colour rows swapped one byte at a time (CopyRgbAsBgrPlain)
  kStraightRow,   // no sample row: the library writes each scanline straight into its place in the
                  // block, unchanged; what storing the picture costs when the library does it itself
};

struct BareJob {
  FILE* file;
  RowUse use;
};

// The bare decode's steps: the reader's libjpeg calls, every scanline into one row from the image
// pool (or straight into the block).
bool BareSteps(j_common_ptr common, void* data) {
  auto* cinfo = reinterpret_cast<j_decompress_ptr>(common);
  const auto* job = static_cast<const BareJob*>(data);
  const RowUse use = job->use;
  jpeg_create_decompress(cinfo);
  jpeg_stdio_src(cinfo, job->file);
  jpeg_read_header(cinfo, TRUE);
  jpeg_start_decompress(cinfo);
  const JDIMENSION samples = cinfo->image_width * static_cast<JDIMENSION>(cinfo->num_components);
  JSAMPARRAY row = (*cinfo->mem->alloc_sarray)(common, JPOOL_IMAGE, samples, 1);
  const size_t stride = (samples + 3u) & ~size_t{3};
  // The rows start where a grey picture's would: after the header and 256 colour entries.
  const size_t rowsAt = kDibHeaderSize + 4 * 256;
  uint8_t* block = use != kDropRow ? static_cast<uint8_t*>(std::calloc(1, stride * cinfo->image_height + rowsAt)) : nullptr;
  while (cinfo->output_scanline < cinfo->image_height) {
    if (use == kStraightRow) {
      JSAMPROW place[1] = {block + rowsAt + (cinfo->image_height - 1 - cinfo->output_scanline) * stride};
      jpeg_read_scanlines(cinfo, place, 1);
      continue;
    }
    jpeg_read_scanlines(cinfo, row, 1);
    if (block == nullptr) continue;
    uint8_t* dest = block + rowsAt + (cinfo->image_height - cinfo->output_scanline) * stride;
    if (use == kPlainSwapRow && cinfo->output_components == 3) {
      CopyRgbAsBgrPlain(dest, row[0], cinfo->image_width);
    } else {
      std::memcpy(dest, row[0], samples);
    }
  }
  benchmark::DoNotOptimize(row[0][0]);
  benchmark::DoNotOptimize(block);
  std::free(block);
  jpeg_finish_decompress(cinfo);
  return true;
}

// The bare decode of the file at path; false when the library refuses it.
bool BareDecode(const char* path, RowUse use) {
  FILE* file = std::fopen(path, "rb");
  if (file == nullptr) return false;
  BareJob job = {file, use};
  jpeg_decompress_struct cinfo;
  const bool done = RunJpegSteps(reinterpret_cast<j_common_ptr>(&cinfo), BareSteps, &job);
  std::fclose(file);
  return done;
}

void BM_LoadJpeg(benchmark::State& state) {
  const std::string& path = BenchFile(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    PackedDib* picture = LoadJpeg(path.c_str());
    if (picture == nullptr) state.SkipWithError("LoadJpeg refused the file");
    benchmark::DoNotOptimize(picture);
    std::free(picture);
  }
}

// Argument: components, 3 for the colour file, 1 for the grey one.
void RunBareDecode(benchmark::State& state, RowUse use) {
  const std::string& path = BenchFile(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    if (!BareDecode(path.c_str(), use)) state.SkipWithError("the library refused the file");
  }
}

void BM_BareDecode(benchmark::State& state) { RunBareDecode(state, kDropRow); }
void BM_BareDecodeIntoFreshBlock(benchmark::State& state) { RunBareDecode(state, kCopyRow); }
void BM_BareDecodePlainSwap(benchmark::State& state) { RunBareDecode(state, kPlainSwapRow); }
void BM_BareDecodeStraightIntoBlock(benchmark::State& state) { RunBareDecode(state, kStraightRow); }

}  // namespace

BENCHMARK(BM_LoadJpeg)->Arg(3)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BareDecode)->Arg(3)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BareDecodeIntoFreshBlock)->Arg(3)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BareDecodePlainSwap)->Arg(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BareDecodeStraightIntoBlock)->Arg(3)->Arg(1)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--warm-heap") == 0) {
      mallopt(M_MMAP_THRESHOLD, 256 << 20);
      mallopt(M_TRIM_THRESHOLD, 512 << 20);
      for (int j = i; j + 1 < argc; ++j) argv[j] = argv[j + 1];
      --argc;
      break;
    }
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
