// libFuzzer target for the JPEG reader: each input is read from memory (fmemopen) by ReadJpeg, the
// work LoadJpeg does on its open file, and the picture it returns must keep the packed DIB
// invariants. Portable core only, plus POSIX fmemopen.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "picture/jpeg_reader.h"

namespace {

// Ends the run (a crash libFuzzer reports) when an invariant does not hold.
void Require(bool holds, const char* what) {
  if (!holds) {
    std::fprintf(stderr, "fuzz_jpeg: invariant broken: %s\n", what);
    std::abort();
  }
}

void CheckPicture(PackedDib* picture) {
  Require(picture->biSize == kDibHeaderSize && picture->biPlanes == 1 && picture->biCompression == 0,
          "fixed header fields");
  Require(picture->biWidth >= kPictureMinSide && picture->biWidth <= kPictureMaxSide, "width within 8..16384");
  Require(picture->biHeight >= kPictureMinSide && picture->biHeight <= kPictureMaxSide, "height within 8..16384");
  const bool grey = picture->biBitCount == 8;
  Require(grey || picture->biBitCount == 24, "8 or 24 bits");
  Require(picture->biClrUsed == (grey ? 256u : 0u) && picture->biClrImportant == picture->biClrUsed,
          "colour counts");
  const int stride = DibRowStride(picture->biWidth, picture->biBitCount);
  Require(picture->biSizeImage == static_cast<uint32_t>(stride) * static_cast<uint32_t>(picture->biHeight),
          "biSizeImage");
  const DibColor* ramp = DibColors(picture);
  for (uint32_t i = 0; i < picture->biClrUsed; ++i) {
    Require(ramp[i].blue == i && ramp[i].green == i && ramp[i].red == i && ramp[i].reserved == 0, "grey ramp");
  }
  // The bytes after each row's pixels are zero; reading them, and the area's last byte, also lets
  // the sanitizer check that the block really is as long as its header says.
  const uint8_t* bits = DibBits(picture);
  const int used = picture->biWidth * (picture->biBitCount / 8);
  for (int y = 0; y < picture->biHeight; ++y) {
    const uint8_t* row = bits + static_cast<size_t>(y) * stride;
    for (int i = used; i < stride; ++i) Require(row[i] == 0, "zero row padding");
  }
  const volatile uint8_t last = bits[picture->biSizeImage - 1];
  (void)last;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FILE* file = fmemopen(const_cast<uint8_t*>(data), size, "rb");
  if (file == nullptr) std::abort();
  PackedDib* picture = ReadJpeg(file);
  std::fclose(file);
  if (picture != nullptr) CheckPicture(picture);
  std::free(picture);
  return 0;
}
