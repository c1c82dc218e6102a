// whirlbox-tool render: runs the saver's frame steps on heap surfaces with six pictures loaded by the
// saver's own readers and writes the back buffer of the chosen frames as 24-bit BMP files. Portable
// core only; no Windows headers.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "render/draw_cube.h"
#include "render/face_levels.h"
#include "render/surface.h"
#include "settings/derived_settings.h"
#include "settings/settings_file.h"
#include "shell/fatal.h"
#include "shell/saver_rules.h"
#include "tool_args.h"
#include "tool_commands.h"

const char kRenderUsage[] =
    "whirlbox-tool render --view <W>x<H> [--half-edge <E> | --preview] --frames <A>[-<B>] --out <DIR> "
    "(FACE1 ... FACE6 | --settings FILE)";

namespace {

struct RenderArgs {
  int width = 0;
  int height = 0;
  int halfEdge = HalfEdgeForSize(kDefaultSetting);  // what a settings file without numbers gives
  bool preview = false;
  bool halfEdgeGiven = false;
  int first = 0;
  int last = 0;
  const char* out = nullptr;
  const char* settings = nullptr;  // a settings file in place of the six faces
  const char* faces[kFaceCount] = {};
  int faceCount = 0;
};

bool ParseRenderArgs(int argc, char** argv, RenderArgs* args) {
  for (int i = 0; i < argc; ++i) {
    const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
    bool ok = true;
    if (std::strcmp(argv[i], "--view") == 0) {
      ok = ParseViewSize(value, &args->width, &args->height);
    } else if (std::strcmp(argv[i], "--half-edge") == 0) {
      ok = ParseBoundedInt(value, 0, kMaxHalfEdge, &args->halfEdge);
      args->halfEdgeGiven = true;
    } else if (std::strcmp(argv[i], "--frames") == 0) {
      ok = ParseFrames(value, &args->first, &args->last);
    } else if (std::strcmp(argv[i], "--out") == 0) {
      ok = value != nullptr;
      args->out = value;
    } else if (std::strcmp(argv[i], "--settings") == 0) {
      ok = value != nullptr && args->settings == nullptr;
      args->settings = value;
    } else if (std::strcmp(argv[i], "--preview") == 0) {
      args->preview = true;
      continue;
    } else if (argv[i][0] != '-' && args->faceCount < kFaceCount) {
      args->faces[args->faceCount++] = argv[i];
      continue;
    } else {
      ok = false;
    }
    if (!ok) return false;
    ++i;
  }
  bool sizeChosenTwice = args->preview && args->halfEdgeGiven;
  // A settings file gives the pictures and the half edge; it replaces both the faces and --half-edge.
  bool facesGiven = args->settings != nullptr ? args->faceCount == 0 && !args->halfEdgeGiven
                                              : args->faceCount == kFaceCount;
  return args->width > 0 && args->first > 0 && args->out != nullptr && facesGiven && !sizeChosenTwice;
}

// Face k's picture and levels read as the settings loader's threads read a face. A picture that
// cannot be loaded ends the tool as it ends the saver (fatal 571); false for a name of another ending.
bool LoadFace(int k, const char* path) {
  FaceFormat format = FaceFormatOf(path);
  if (format == kFaceNoFormat) {
    std::fprintf(stderr, "render: %s: expected a name ending in .bmp, .gif or .jpg\n", path);
    return false;
  }
  if (!LoadFacePicture(kPictureReaders, format, path, &FacePictures[k], &FaceLevels[k])) Abort(kFatalLoadImage, path);
  return true;
}

void Put16(unsigned char* at, unsigned value) {
  at[0] = static_cast<unsigned char>(value);
  at[1] = static_cast<unsigned char>(value >> 8);
}

void Put32(unsigned char* at, uint32_t value) {
  for (int i = 0; i < 4; ++i) at[i] = static_cast<unsigned char>(value >> (8 * i));
}

// The back buffer as a 24-bit bottom-up BMP: the surface's rows are already laid out as the file's.
bool WriteFrame(const char* dir, int n) {
  char path[4096];
  if (std::snprintf(path, sizeof path, "%s/frame-%04d.bmp", dir, n) >= static_cast<int>(sizeof path)) return false;
  uint64_t pixels = static_cast<uint64_t>(BackSurface.stride) * static_cast<uint64_t>(BackSurface.height);
  if (pixels > 0xFFFFFFFFu - 54) return false;
  unsigned char header[54] = {'B', 'M'};
  Put32(header + 2, static_cast<uint32_t>(54 + pixels));
  Put32(header + 10, 54);
  Put32(header + 14, 40);
  Put32(header + 18, static_cast<uint32_t>(BackSurface.width));
  Put32(header + 22, static_cast<uint32_t>(BackSurface.height));
  Put16(header + 26, 1);
  Put16(header + 28, 24);
  Put32(header + 34, static_cast<uint32_t>(pixels));
  FILE* file = std::fopen(path, "wb");
  if (file == nullptr) {
    std::fprintf(stderr, "render: cannot write %s\n", path);
    return false;
  }
  bool written = std::fwrite(header, 1, sizeof header, file) == sizeof header &&
                 std::fwrite(BackSurface.bits, 1, pixels, file) == pixels;
  bool closed = std::fclose(file) == 0;
  if (!written || !closed) std::fprintf(stderr, "render: cannot write %s\n", path);
  return written && closed;
}

}  // namespace

int RunRender(int argc, char** argv) {
  RenderArgs args;
  if (!ParseRenderArgs(argc, argv, &args)) {
    std::fprintf(stderr, "usage: %s\n", kRenderUsage);
    return 2;
  }
  // Start-up as the saver does it: pictures, view, half edge, surfaces, then the whole view dirty.
  if (args.settings != nullptr) {
    LoadSettingsFrom(args.settings, kPictureReaders);  // ends the tool as it ends the saver
  } else {
    for (int k = 0; k < kFaceCount; ++k) {
      if (!LoadFace(k, args.faces[k])) return 1;
    }
    CubeHalfEdge = args.halfEdge;
  }
  ViewWidth = args.width;
  ViewHeight = args.height;
  if (args.preview) CubeHalfEdge = PreviewHalfEdge(args.height);
  KeepShownLevels(CubeHalfEdge);  // as the saver does once its role fixes the half edge
  std::error_code ignored;
  std::filesystem::create_directories(args.out, ignored);  // a new folder is made for the frames
  if (!AllocateSurface(ViewWidth, ViewHeight, &BackSurface) || !AllocateSurface(ViewWidth, ViewHeight, &FaceSurface)) {
    std::fprintf(stderr, "render: not enough memory for a %dx%d view\n", ViewWidth, ViewHeight);
    return 1;
  }
  ResetCubeState();
  DirtyRect = Rect{0, 0, ViewWidth, ViewHeight};
  for (int n = 1; n <= args.last; ++n) {
    DrawCube();
    if (n >= args.first && !WriteFrame(args.out, n)) return 1;
  }
  return 0;
}
