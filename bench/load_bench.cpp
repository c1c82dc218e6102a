// LoadSettings with six large generated pictures (baseline and progressive JPEG photos of 12 to 24
// megapixels, a 12-megapixel GIF and a 24-bit BMP) on a pool of 1, 2 and 6 threads, each iteration
// beside its peer: the same six loads one after another through the readers, whose sum and largest
// single load it reports. Native only; run by hand:
//   build/native/bench/load_bench                 the table
//   build/native/bench/load_bench --write-jpeg PATH WIDTH HEIGHT baseline|progressive QUALITY GRAIN
// The second form only writes one photo-like JPEG (bench/saver_under_wine.sh uses it).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "common/bmp_builder.h"
#include "common/gif_encoder.h"
#include "photo_jpeg.h"
#include "picture/readers.h"
#include "settings/face_loads.h"
#include "settings/settings_file.h"

namespace {

struct Face {
  const char* name;
  int width;
  int height;
  PackedDib* (*reader)(const char* path);
};

// The JPEGs at quality 92 with 128 levels of grain: about 5 bits a pixel, and about the decoding
// time of camera photos of their size.
const Face kFaces[kFaceCount] = {
    {"progressive-4096x4096-q92.jpg", 4096, 4096, LoadJpeg}, {"baseline-6028x3391-q92.jpg", 6028, 3391, LoadJpeg},
    {"progressive-4000x3000-q92.jpg", 4000, 3000, LoadJpeg}, {"baseline-5656x4242-q92.jpg", 5656, 4242, LoadJpeg},
    {"photo-4000x3000.gif", 4000, 3000, LoadGif},            {"photo-4000x3000.bmp", 4000, 3000, LoadBmp}};

std::filesystem::path Folder() { return std::filesystem::temp_directory_path() / "whirlbox-load-bench"; }
std::string PathOf(int face) { return (Folder() / kFaces[face].name).string(); }

bool WriteFile(const std::string& path, const Bytes& bytes) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && written;
}

// An 8-bit photo reduced to 256 colours: gradients with grain, so LZW finds short strings.
Bytes PhotoGif(int width, int height) {
  std::vector<uint8_t> pixels(static_cast<size_t>(width) * static_cast<size_t>(height));
  uint32_t noise = 777;
  for (size_t i = 0; i < pixels.size(); ++i) {
    noise = noise * 1664525u + 1013904223u;
    const int x = static_cast<int>(i % static_cast<size_t>(width)), y = static_cast<int>(i / static_cast<size_t>(width));
    pixels[i] = static_cast<uint8_t>((x / 16 + y / 12) + static_cast<int>((noise >> 28) & 7));
  }
  return EncodeScreenGif(width, height, std::move(pixels));
}

// Writes the six files once; later runs reuse them.
void MakeFiles() {
  std::filesystem::create_directories(Folder());
  for (int face = 0; face < kFaceCount; ++face) {
    const Face& f = kFaces[face];
    const std::string path = PathOf(face);
    if (std::filesystem::exists(path) && std::filesystem::file_size(path) > 0) continue;
    bool ok = false;
    if (f.reader == LoadJpeg) ok = WritePhotoJpeg(path, f.width, f.height, 3, std::strstr(f.name, "progressive") != nullptr, 92, 128);
    if (f.reader == LoadGif) ok = WriteFile(path, PhotoGif(f.width, f.height));
    if (f.reader == LoadBmp) {
      BmpFields fields;
      fields.width = f.width;
      fields.height = f.height;
      ok = WriteFile(path, BuildBmp(fields));
    }
    if (!ok) {
      std::fprintf(stderr, "cannot write %s\n", path.c_str());
      std::exit(1);
    }
  }
  std::string text, tiny;
  for (int face = 0; face < kFaceCount; ++face) text += PathOf(face) + "\n";
  WriteFile((Folder() / "whirlbox.ini").string(), Bytes(text.begin(), text.end()));
  // Six 8 x 8 pictures: loading them costs next to nothing but what the pool itself adds.
  BmpFields small;
  small.width = small.height = 8;
  WriteFile((Folder() / "tiny.bmp").string(), BuildBmp(small));
  for (int face = 0; face < kFaceCount; ++face) tiny += (Folder() / "tiny.bmp").string() + "\n";
  WriteFile((Folder() / "tiny.ini").string(), Bytes(tiny.begin(), tiny.end()));
}

double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// The peer: the six loads one after another. Returns their sum; *largest gets the longest one.
double SequentialLoads(double* largest) {
  double sum = 0;
  *largest = 0;
  for (int face = 0; face < kFaceCount; ++face) {
    const auto start = std::chrono::steady_clock::now();
    PackedDib* picture = kFaces[face].reader(PathOf(face).c_str());
    const double took = Seconds(start);
    if (picture == nullptr) std::exit(1);
    std::free(picture);
    sum += took;
    *largest = std::max(*largest, took);
  }
  return sum;
}

// The pool's loads; returns their time, and *cpu the processor time all threads spent meanwhile.
double PoolLoads(double* cpu) {
  const std::clock_t cpuStart = std::clock();  // of the whole process, every thread
  const auto start = std::chrono::steady_clock::now();
  LoadSettingsFrom((Folder() / "whirlbox.ini").string().c_str(), kPictureReaders);
  const double took = Seconds(start);
  *cpu = static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
  for (PackedDib*& picture : FacePictures) {
    std::free(picture);
    picture = nullptr;
  }
  return took;
}

// What the pool adds to the loads themselves at the given threads (starting and ending its threads,
// handing the faces over): the median, over 21 tries, of loading six 8 x 8 pictures through
// LoadSettings less loading them one after another.
double PoolOverhead(int threads) {
  const std::string tiny = (Folder() / "tiny.bmp").string();
  const std::string ini = (Folder() / "tiny.ini").string();
  FaceLoadThreads = threads;
  std::vector<double> extra;
  for (int i = 0; i < 21; ++i) {
    auto start = std::chrono::steady_clock::now();
    for (int face = 0; face < kFaceCount; ++face) std::free(LoadBmp(tiny.c_str()));
    const double alone = Seconds(start);
    start = std::chrono::steady_clock::now();
    LoadSettingsFrom(ini.c_str(), kPictureReaders);
    extra.push_back(Seconds(start) - alone);
    for (PackedDib*& picture : FacePictures) std::free(picture), picture = nullptr;
  }
  return Median(extra);
}

// Argument: the pool's threads. Each iteration times the pool and its peer back to back, in
// alternating order; on a shared machine the median of the per-iteration figures is what a busy
// moment disturbs least. Counters (medians): the peer's sum and largest load, the pool's time over
// the sum (the figure that stays near 1 when the loads do not overlap), the processors the pool got
// (below its thread count when the machine is busy), and the six-processor target 1.3 x largest +
// 0.1 x the rest with, at six threads, an estimate for it: the largest load plus what the pool of
// six adds (PoolOverhead), as if each face had a processor of its own and the loads did not slow
// one another down.
void BM_LoadSettings(benchmark::State& state) {
  MakeFiles();
  FaceLoadThreads = static_cast<int>(state.range(0));
  std::vector<double> sums, largests, ratios, used;
  for (auto _ : state) {
    double largest = 0, sum = 0, pool = 0, cpu = 0;
    if (sums.size() % 2 == 0) {
      sum = SequentialLoads(&largest);
      pool = PoolLoads(&cpu);
    } else {
      pool = PoolLoads(&cpu);
      sum = SequentialLoads(&largest);
    }
    state.SetIterationTime(pool);
    sums.push_back(sum), largests.push_back(largest), ratios.push_back(pool / sum), used.push_back(cpu / pool);
  }
  FaceLoadThreads = 0;
  const double sum = Median(sums), largest = Median(largests);
  state.counters["sequential_s"] = sum;
  state.counters["largest_s"] = largest;
  state.counters["pool_over_sequential"] = Median(ratios);
  state.counters["pool_processors_used"] = Median(used);
  state.counters["six_cpu_target_s"] = 1.3 * largest + 0.1 * (sum - largest);
  if (state.range(0) == kFaceCount) state.counters["six_cpu_estimate_s"] = largest + PoolOverhead(kFaceCount);
  state.counters["processors"] = static_cast<double>(std::thread::hardware_concurrency());
}

}  // namespace

BENCHMARK(BM_LoadSettings)->Arg(1)->Arg(2)->Arg(kFaceCount)->Iterations(9)->UseManualTime()->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
  if (argc == 8 && std::strcmp(argv[1], "--write-jpeg") == 0) {
    const bool progressive = std::strcmp(argv[5], "progressive") == 0;
    return WritePhotoJpeg(argv[2], std::atoi(argv[3]), std::atoi(argv[4]), 3, progressive, std::atoi(argv[6]),
                          std::atoi(argv[7])) ? 0 : 1;
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
