// Fuzz target for LoadBmp: each input is written to a private temporary file and loaded; a returned
// picture must keep the packed DIB invariants. Depends on the portable core only.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "picture/readers.h"

static std::string InputPath() {
  const char* folder = std::getenv("TMPDIR");
  std::string path = folder != nullptr && *folder != '\0' ? folder : "/tmp";
  return path + "/whirlbox-fuzz-bmp-" + std::to_string(getpid()) + ".bmp";
}

static void RemoveInput() { std::remove(InputPath().c_str()); }

// The checks every picture LoadBmp returns must pass; any failure stops the fuzzer.
static void CheckPicture(const PackedDib* picture, size_t inputSize) {
  int colours = DibColorCount(picture);
  int64_t stride = DibRowStride64(picture->biWidth, picture->biBitCount);
  int64_t pixelBytes = stride * picture->biHeight;
  int64_t blockBytes = 40 + 4 * int64_t{colours} + pixelBytes;
  const auto* block = reinterpret_cast<const uint8_t*>(picture);
  bool good = picture->biSize == 40 && picture->biPlanes == 1 && picture->biCompression == 0 &&
              picture->biWidth >= 8 && picture->biWidth <= 16384 && picture->biHeight >= 8 &&
              picture->biHeight <= 16384 && colours >= 0 && picture->biSizeImage == pixelBytes &&
              DibBits(picture) == block + 40 + 4 * colours &&
              // every pixel byte came from the file, so the block can never outgrow it by much
              pixelBytes <= static_cast<int64_t>(inputSize);
  if (!good) {
    std::fprintf(stderr, "bad picture: %dx%d %d-bit, %d colours, biSizeImage %u\n", picture->biWidth,
                 picture->biHeight, picture->biBitCount, colours, picture->biSizeImage);
    std::abort();
  }
  // Touch the first and last byte of the block so AddressSanitizer checks its true extent.
  volatile uint8_t first = block[0];
  volatile uint8_t last = block[blockBytes - 1];
  (void)first;
  (void)last;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path = InputPath();
  static const int removeAtExit = std::atexit(RemoveInput);
  (void)removeAtExit;
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) std::abort();
  if (size != 0 && std::fwrite(data, 1, size, file) != size) std::abort();
  std::fclose(file);
  PackedDib* picture = LoadBmp(path.c_str());
  if (picture != nullptr) CheckPicture(picture, size);
  std::free(picture);
  return 0;
}
