// Fuzz target for the BMP reader: each input is read from memory (fmemopen) by ReadBmp, the work
// LoadBmp does on its open file; a returned picture must keep the packed DIB invariants. Portable
// core only, plus POSIX fmemopen.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "picture/bmp_reader.h"

// The checks every picture LoadBmp returns must pass; any failure stops the fuzzer.
static void CheckPicture(const PackedDib* picture, size_t inputSize) {
  int colours = DibColorCount(picture);
  int64_t stride = DibRowStride64(picture->biWidth, picture->biBitCount);
  int64_t pixelBytes = stride * picture->biHeight;
  int64_t blockBytes = kDibHeaderSize + 4 * int64_t{colours} + pixelBytes;
  const auto* block = reinterpret_cast<const uint8_t*>(picture);
  bool good = picture->biSize == kDibHeaderSize && picture->biPlanes == 1 && picture->biCompression == 0 &&
              picture->biWidth >= kPictureMinSide && picture->biWidth <= kPictureMaxSide &&
              picture->biHeight >= kPictureMinSide && picture->biHeight <= kPictureMaxSide && colours >= 0 &&
              picture->biSizeImage == pixelBytes && DibBits(picture) == block + kDibHeaderSize + 4 * colours &&
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
  FILE* file = fmemopen(const_cast<uint8_t*>(data), size, "rb");
  if (file == nullptr) std::abort();
  PackedDib* picture = ReadBmp(file);
  std::fclose(file);
  if (picture != nullptr) CheckPicture(picture, size);
  std::free(picture);
  return 0;
}
