// The frame step (DrawCube with its erase, then the copy of the changed area into a plain buffer) over
// whole 360-frame cycles, beside the memory floor of each frame measured in the same run: the same erase and copy,
// with the stretch and transfer bytes moved by memcpy. Frames alternate between the two.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <random>
#include <vector>

#include "render/draw_cube.h"
#include "render/face_levels.h"
#include "render/painter.h"
#include "render/surface.h"
#include "settings/settings_file.h"
#include "shell/saver_rules.h"

namespace {

constexpr int kCycle = 360;

std::vector<uint32_t> PictureWords[kFaceCount];

void MakePictures(int bits, int side) {
  std::mt19937 random(bits);
  int colours = bits == 8 ? 256 : 0;
  int64_t stride = DibRowStride64(side, bits);
  size_t bytes = 40 + 4 * static_cast<size_t>(colours) + static_cast<size_t>(stride) * side;
  for (int k = 0; k < kFaceCount; ++k) {
    PictureWords[k].assign((bytes + 3) / 4, 0);
    for (size_t i = 10; i < PictureWords[k].size(); ++i) PictureWords[k][i] = random();
    PackedDib* header = reinterpret_cast<PackedDib*>(PictureWords[k].data());
    *header = PackedDib{40, side, side, 1, static_cast<uint16_t>(bits), 0,
                        static_cast<uint32_t>(stride * side), 0, 0, static_cast<uint32_t>(colours), 0};
    FacePictures[k] = header;
  }
  ForgetFaceLevels();  // the first frame makes the new pictures' levels
}

void StartSaver(int width, int height, int halfEdge) {
  ViewWidth = width;
  ViewHeight = height;
  CubeHalfEdge = halfEdge;
  FreeSurface(&BackSurface);
  FreeSurface(&FaceSurface);
  if (!AllocateSurface(width, height, &BackSurface) || !AllocateSurface(width, height, &FaceSurface)) std::abort();
  ResetCubeState();
  DirtyRect = Rect{0, 0, width, height};
}

// Copies the copy area, clipped to the view, into the window stand-in (same row layout).
void CopyToWindow(Rect area, uint8_t* window) {
  int left = std::max(area.left, 0), right = std::min(area.right, BackSurface.width);
  int top = std::max(area.top, 0), bottom = std::min(area.bottom, BackSurface.height);
  for (int y = top; y < bottom; ++y) {
    size_t offset = static_cast<size_t>(BackSurface.height - 1 - y) * BackSurface.stride + 3 * static_cast<size_t>(left);
    std::memcpy(window + offset, BackSurface.bits + offset, 3 * static_cast<size_t>(std::max(right - left, 0)));
  }
}

// What one frame moved, for the floor: the erased rectangle, the copy area, and per drawn face the
// stretch bytes (3 * w * hh, clipped to the scratch surface) and the transfer bytes (3 * the
// parallelogram's area, clipped to the view).
struct FrameBytes {
  Rect erased;
  Rect copied;
  int faces;
  int picture[kCubeFaceCount];
  size_t stretched[kCubeFaceCount];
  size_t transferred[kCubeFaceCount];
  size_t firstRow[kCubeFaceCount];  // byte offset of the face's top row in the back buffer
};

FrameBytes MeasureFrame(Rect erased, Rect copied) {
  FrameBytes bytes{erased, copied, 0, {}, {}, {}, {}};
  for (int k = 0; k < kCubeFaceCount; ++k) {
    FacePlacement face;
    if (!PlaceFace(k, ScreenPoints, &face)) continue;
    size_t w = static_cast<size_t>(std::min(face.w, FaceSurface.width));
    size_t hh = static_cast<size_t>(std::min(face.hh, FaceSurface.height));
    int64_t ax = face.corners[0].x, ay = face.corners[0].y;
    int64_t area = std::llabs((face.corners[1].x - ax) * (face.corners[2].y - ay) -
                              (face.corners[1].y - ay) * (face.corners[2].x - ax));
    size_t transferred = 3 * static_cast<size_t>(std::min<int64_t>(area, int64_t{ViewWidth} * ViewHeight));
    int top = std::min(std::max(std::min({face.corners[0].y, face.corners[1].y, face.corners[2].y}), 0), ViewHeight - 1);
    size_t firstRow = static_cast<size_t>(BackSurface.height - 1 - top) * BackSurface.stride;
    // Rows run bottom-up: the face's bytes lie below its top row's offset in memory.
    firstRow = firstRow >= transferred ? firstRow - transferred : 0;
    bytes.picture[bytes.faces] = k;
    bytes.stretched[bytes.faces] = 3 * w * hh;
    bytes.transferred[bytes.faces] = transferred;
    bytes.firstRow[bytes.faces] = firstRow;
    ++bytes.faces;
  }
  return bytes;
}

// The stretch bytes come from the face's own picture (as the stretch reads it), repeated when the
// picture holds fewer bytes than the face; the transfer bytes go to the face's rows of the back buffer.
void FloorFrame(const FrameBytes& bytes, uint8_t* window) {
  FillSurfaceRect(BackSurface, bytes.erased, kBlack);
  for (int i = 0; i < bytes.faces; ++i) {
    const PackedDib* picture = FacePictures[bytes.picture[i]];
    const uint8_t* pixels = DibBits(picture);
    size_t done = 0;
    while (done < bytes.stretched[i]) {
      size_t chunk = std::min<size_t>(bytes.stretched[i] - done, picture->biSizeImage);
      std::memcpy(FaceSurface.bits + done, pixels, chunk);
      done += chunk;
    }
    std::memcpy(BackSurface.bits + bytes.firstRow[i], FaceSurface.bits, bytes.transferred[i]);
  }
  CopyToWindow(bytes.copied, window);
}

// Per-frame times are this thread's CPU time: on a shared machine wall time mostly measures the
// other processes.
double Now() {
  timespec now;
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + 1e-9 * static_cast<double>(now.tv_nsec);
}

double Percentile(std::vector<double> values, double fraction) {
  std::sort(values.begin(), values.end());
  size_t index = static_cast<size_t>(fraction * static_cast<double>(values.size() - 1) + 0.5);
  return values[index];
}

// One benchmark iteration is one whole cycle; per frame ours and the floor run back to back.
void FrameStep(benchmark::State& state) {
  int width = static_cast<int>(state.range(0)), height = static_cast<int>(state.range(1));
  MakePictures(static_cast<int>(state.range(3)), static_cast<int>(state.range(4)));
  StartSaver(width, height, static_cast<int>(state.range(2)));
  std::vector<uint8_t> window(static_cast<size_t>(BackSurface.stride) * height);
  for (int n = 0; n < kCycle; ++n) CopyToWindow(DrawCube(), window.data());  // warm every page
  std::vector<double> ours, memoryFloor;
  for (auto _ : state) {
    for (int n = 0; n < kCycle; ++n) {
      Rect erased = DirtyRect;
      double start = Now();
      Rect copied = DrawCube();
      CopyToWindow(copied, window.data());
      ours.push_back(Now() - start);
      FrameBytes bytes = MeasureFrame(erased, copied);
      start = Now();
      FloorFrame(bytes, window.data());
      memoryFloor.push_back(Now() - start);
    }
  }
  state.counters["ours_median_ms"] = 1e3 * Percentile(ours, 0.5);
  state.counters["ours_p95_ms"] = 1e3 * Percentile(ours, 0.95);
  state.counters["floor_median_ms"] = 1e3 * Percentile(memoryFloor, 0.5);
  state.counters["floor_p95_ms"] = 1e3 * Percentile(memoryFloor, 0.95);
  state.counters["median_ratio"] = Percentile(ours, 0.5) / Percentile(memoryFloor, 0.5);
  // The two halves of each pair run back to back, so the ratio per frame is the least disturbed by
  // other processes on a shared machine.
  std::vector<double> ratios;
  for (size_t i = 0; i < ours.size(); ++i) ratios.push_back(ours[i] / memoryFloor[i]);
  state.counters["pair_ratio_median"] = Percentile(ratios, 0.5);
}

}  // namespace

BENCHMARK(FrameStep)
    ->ArgNames({"w", "h", "edge", "bits", "side"})
    ->ArgsProduct({{1920}, {1080}, {122, 480}, {24, 8}, {1024}})
    ->ArgsProduct({{3840}, {2160}, {122, 480}, {24, 8}, {1024}})
    // Smaller pictures, as the bundled samples are: they stay in the processor's caches.
    ->ArgsProduct({{1920}, {1080}, {480}, {24, 8}, {256}})
    ->ArgsProduct({{3840}, {2160}, {480}, {24, 8}, {256, 512}})
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
