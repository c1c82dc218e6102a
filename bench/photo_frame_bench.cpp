// The saver's start-up and frames with six large photos, as one process: LoadSettings on the face
// pool (levels made on its threads), the role's half edge, then whole 360-frame cycles of DrawCube.
// Prints the load time, the first frame's, per-frame p50 and p95 (this thread's CPU time), and the
// process's peak and held resident memory. Builds against the tree before faces were filtered too,
// so that bench/frame_compare.sh can run both alternately:
//   photo_frame_bench <W>x<H> <half edge> [<photo width>x<photo height>]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "photo_jpeg.h"
#include "render/draw_cube.h"
#include "render/surface.h"
#include "settings/settings_file.h"
#include "shell/saver_rules.h"
#if __has_include("render/face_levels.h")
#include "render/face_levels.h"
#define WHIRLBOX_FACE_LEVELS 1
#endif

namespace {

double ThreadSeconds() {
  timespec now;
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + 1e-9 * static_cast<double>(now.tv_nsec);
}

double WallSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

long StatusMb(const char* key) {
  std::FILE* file = std::fopen("/proc/self/status", "r");
  char line[256];
  long kb = -1;
  while (file != nullptr && std::fgets(line, sizeof line, file) != nullptr) {
    if (std::strncmp(line, key, std::strlen(key)) == 0) kb = std::atol(line + std::strlen(key) + 1);
  }
  if (file != nullptr) std::fclose(file);
  return kb / 1024;
}

double Percentile(std::vector<double> values, double fraction) {
  std::sort(values.begin(), values.end());
  return values[static_cast<size_t>(fraction * static_cast<double>(values.size() - 1) + 0.5)];
}

}  // namespace

int main(int argc, char** argv) {
  int width = 1920, height = 1080, halfEdge = 122, photoWidth = 6000, photoHeight = 4000;
  if (argc < 3 || std::sscanf(argv[1], "%dx%d", &width, &height) != 2 || std::sscanf(argv[2], "%d", &halfEdge) != 1 ||
      (argc > 3 && std::sscanf(argv[3], "%dx%d", &photoWidth, &photoHeight) != 2)) {
    std::fprintf(stderr, "usage: photo_frame_bench <W>x<H> <half edge> [<photo W>x<photo H>]\n");
    return 2;
  }
  std::filesystem::path folder = std::filesystem::temp_directory_path() / "whirlbox-photo-frame-bench";
  std::filesystem::create_directories(folder);
  std::string ini = (folder / "whirlbox.ini").string(), text;
  for (int k = 0; k < kFaceCount; ++k) {
    std::string photo = (folder / (std::to_string(photoWidth) + "x" + std::to_string(photoHeight) + "-" +
                                   std::to_string(k) + ".jpg")).string();
    // Six different photos (the grain differs), so no face shares another's memory or cache lines.
    if (!std::filesystem::exists(photo) && !WritePhotoJpeg(photo, photoWidth, photoHeight, 3, false, 92, 32 << (k % 3))) {
      std::fprintf(stderr, "cannot write %s\n", photo.c_str());
      return 1;
    }
    text += photo + "\n";
  }
  std::FILE* file = std::fopen(ini.c_str(), "w");
  if (file == nullptr) return 1;
  std::fputs(text.c_str(), file);
  std::fclose(file);

  const auto start = std::chrono::steady_clock::now();
  LoadSettingsFrom(ini.c_str(), kPictureReaders);
  const double loaded = WallSince(start);
  ViewWidth = width;
  ViewHeight = height;
  CubeHalfEdge = halfEdge;
#ifdef WHIRLBOX_FACE_LEVELS
  KeepShownLevels(CubeHalfEdge);
#endif
  if (!AllocateSurface(width, height, &BackSurface) || !AllocateSurface(width, height, &FaceSurface)) return 1;
  ResetCubeState();
  DirtyRect = Rect{0, 0, width, height};
  DrawCube();
  const double first = WallSince(start);
  const long peak = StatusMb("VmHWM:");
  for (int n = 1; n < 360; ++n) DrawCube();  // warm every page
  std::vector<double> frames;
  for (int n = 0; n < 720; ++n) {
    double at = ThreadSeconds();
    DrawCube();
    frames.push_back(ThreadSeconds() - at);
  }
  std::printf("view %dx%d half-edge %d photos %dx%d: loaded %.3f s, first frame %.3f s, frame p50 %.3f ms p95 %.3f ms, "
              "peak %ld MB, held %ld MB\n",
              width, height, halfEdge, photoWidth, photoHeight, loaded, first, 1e3 * Percentile(frames, 0.5),
              1e3 * Percentile(frames, 0.95), peak, StatusMb("VmRSS:"));
  return 0;
}
