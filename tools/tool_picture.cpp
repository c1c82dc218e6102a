// whirlbox-tool picture: loads a picture with the reader the saver picks for its name, says what it
// holds or that it is refused, and can write the loaded block. Portable core only.
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "picture/readers.h"
#include "settings/settings_file.h"
#include "tool_commands.h"
#include "tool_picture_gif.h"

const char kPictureUsage[] = "whirlbox-tool picture FILE [--dib OUT] [--frame N]";

// The picture the saver would load for the file's format (kFaceNoFormat: none). frame is -1 unless
// --frame gave one; only GIF files take it, and the GIF loader prints every problem of the parse
// as "problem: <message> (frame <index>)".
static PackedDib* LoadPicture(FaceFormat format, const char* path, int frame) {
  switch (format) {
    case kFaceBmp: return LoadBmp(path);
    case kFaceGif: return LoadGifForTool(path, frame);
    case kFaceJpeg: return LoadJpeg(path);
    default: return nullptr;
  }
}

struct PictureArgs {
  const char* file = nullptr;
  const char* dibPath = nullptr;
  int frame = -1;
  bool frameGiven = false;
};

static int PictureUsage() {
  std::fprintf(stderr, "usage: %s\n", kPictureUsage);
  return 2;
}

// A frame number: decimal digits only, at most INT_MAX.
static bool ParseFrame(const char* text, int* frame) {
  if (*text == '\0') return false;
  long long value = 0;
  for (const char* c = text; *c != '\0'; ++c) {
    if (*c < '0' || *c > '9') return false;
    value = value * 10 + (*c - '0');
    if (value > INT_MAX) return false;
  }
  *frame = static_cast<int>(value);
  return true;
}

// FILE and each option at most once, in any order. False for anything else.
static bool ParsePictureArgs(int argc, char** argv, PictureArgs* args) {
  for (int i = 0; i < argc; ++i) {
    const char* arg = argv[i];
    bool hasValue = i + 1 < argc;
    if (std::strcmp(arg, "--dib") == 0) {
      if (!hasValue || args->dibPath != nullptr) return false;
      args->dibPath = argv[++i];
    } else if (std::strcmp(arg, "--frame") == 0) {
      if (!hasValue || args->frameGiven || !ParseFrame(argv[++i], &args->frame)) return false;
      args->frameGiven = true;
    } else if (arg[0] == '-' || args->file != nullptr) {
      return false;
    } else {
      args->file = arg;
    }
  }
  return args->file != nullptr;
}

// Writes the whole block: header, colour table and rows, as held in memory.
static bool WriteDib(const char* path, const PackedDib* picture) {
  int64_t bytes = PackedDibBytes(picture);
  FILE* file = std::fopen(path, "wb");
  if (file == nullptr) return false;
  size_t size = static_cast<size_t>(bytes);
  bool written = std::fwrite(picture, 1, size, file) == size;
  return std::fclose(file) == 0 && written;
}

int RunPicture(int argc, char** argv) {
  PictureArgs args;
  if (!ParsePictureArgs(argc, argv, &args)) return PictureUsage();
  // The saver's own rule: the text from the last '.' of the name, in any case.
  FaceFormat format = FaceFormatOf(args.file);
  if (format == kFaceNoFormat) {
    std::printf("unsupported extension\n");
    return 2;
  }
  if (args.frameGiven && format != kFaceGif) return PictureUsage();
  PackedDib* picture = LoadPicture(format, args.file, args.frame);
  if (picture == nullptr) {
    std::printf("refused\n");
    return 1;
  }
  int status = 0;
  if (args.dibPath != nullptr && !WriteDib(args.dibPath, picture)) {
    std::fprintf(stderr, "cannot write %s\n", args.dibPath);
    status = 1;
  } else {
    std::printf("loaded %dx%d %d-bit %d colours\n", picture->biWidth, picture->biHeight, picture->biBitCount,
                DibColorCount(picture));
  }
  std::free(picture);
  return status;
}
