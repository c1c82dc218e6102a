// LoadJpeg against the bare library on a 4000 x 3000 colour and a 4000 x 3000 grey JPEG: the same
// libjpeg calls, the bare decode into one throw-away row; and LoadJpeg on a 6028 x 3391 photo
// without Exif and with an Exif orientation, with the load's peak memory. Native only (Linux's
// peak resident size); run by hand, e.g.
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

#include "common/exif_builder.h"
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

// The 6028 x 3391 camera photo (quality 92, fine grain), without Exif for 0, or with an Exif
// segment giving orientation (1-8) in front of the same bytes.
const std::string& PhotoFile(int orientation) {
  static const std::string plain = [] {
    const std::string written = "/tmp/whirlbox_jpeg_bench_photo.jpg";
    if (!WritePhotoJpeg(written, 6028, 3391, 3, false, 92, 128)) std::abort();
    return written;
  }();
  static std::string tagged[9];
  if (orientation == 0) return plain;
  std::string& path = tagged[orientation];
  if (path.empty()) {
    path = "/tmp/whirlbox_jpeg_bench_photo_o" + std::to_string(orientation) + ".jpg";
    WriteBytes(path, WithApp1(ReadBytes(plain), OrientationPayload(orientation, false)));
  }
  return path;
}

// Kilobytes of the process's resident size (VmRSS) or its peak (VmHWM); -1 if unknown.
long StatusKb(const char* field) {
  FILE* status = std::fopen("/proc/self/status", "r");
  if (status == nullptr) return -1;
  char line[256];
  long kb = -1;
  const size_t length = std::strlen(field);
  while (std::fgets(line, sizeof line, status) != nullptr) {
    if (std::strncmp(line, field, length) == 0) kb = std::strtol(line + length, nullptr, 10);
  }
  std::fclose(status);
  return kb;
}

// Starts a new peak at the present resident size (Linux's clear_refs 5); false if refused.
bool ResetPeak() {
  FILE* refs = std::fopen("/proc/self/clear_refs", "w");
  if (refs == nullptr) return false;
  const bool done = std::fputs("5", refs) >= 0;
  return std::fclose(refs) == 0 && done;
}

// Argument: 0 for the photo without Exif, else its orientation. Counter peak_MB: how far the
// resident size rose during the load, the picture's 61 MB included (the largest of the iterations).
void BM_LoadPhoto(benchmark::State& state) {
  const std::string& path = PhotoFile(static_cast<int>(state.range(0)));
  long peakKb = 0;
  for (auto _ : state) {
    if (!ResetPeak()) state.SkipWithError("the peak resident size cannot be reset");
    const long before = StatusKb("VmRSS:");
    PackedDib* picture = LoadJpeg(path.c_str());
    const long rise = StatusKb("VmHWM:") - before;
    if (rise > peakKb) peakKb = rise;
    if (picture == nullptr) state.SkipWithError("LoadJpeg refused the photo");
    benchmark::DoNotOptimize(picture);
    std::free(picture);
  }
  state.counters["peak_MB"] = static_cast<double>(peakKb) / 1024.0;
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
BENCHMARK(BM_LoadPhoto)->Arg(0)->Arg(2)->Arg(3)->Arg(4)->Arg(6)->Arg(8)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BareDecode)->Arg(3)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BareDecodeIntoFreshBlock)->Arg(3)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BareDecodePlainSwap)->Arg(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BareDecodeStraightIntoBlock)->Arg(3)->Arg(1)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
  // Without --warm-heap every block of 64 KB or more (the picture, libjpeg's larger pools) comes
  // fresh from the system and goes back when freed, so that the peak resident size of a load shows
  // all of its own memory; the C library's default would keep some of it from earlier loads.
  mallopt(M_MMAP_THRESHOLD, 64 << 10);
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
