// libFuzzer target for the JPEG reader: each input is read from memory (fmemopen) by ReadJpeg, the
// work LoadJpeg does on its open file, and the picture it returns must keep the packed DIB
// invariants; inputs declaring large pictures are skipped. Portable core only, plus POSIX fmemopen.
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

// Inputs whose frame header declares more pixels than this are skipped before the reader is called:
// libjpeg decodes every declared row however little data follows, so a 16384 x 16384 header costs
// seconds and most of the fuzzer's memory. 256 x 256 still leaves every sampling and size path.
const int64_t kLargestFuzzedPicture = int64_t{1} << 16;

// The pixels the first frame header (SOF0 to SOF15, which are not DHT, JPG or DAC) declares, found by
// walking the marker segments from the start; 0 when none is found that way. libjpeg also skips
// stray bytes between segments, so a header found only that way is read at full cost.
int64_t DeclaredPixels(const uint8_t* data, size_t size) {
  size_t at = 2;  // after SOI
  while (at + 9 <= size && data[at] == 0xFF) {
    const uint8_t marker = data[at + 1];
    if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC) {
      const int64_t height = data[at + 5] << 8 | data[at + 6], width = data[at + 7] << 8 | data[at + 8];
      return width * height;
    }
    if (marker == 0xFF || marker == 0xD8 || (marker >= 0xD0 && marker <= 0xD7)) {
      at += marker == 0xFF ? 1 : 2;  // fill byte, or a marker without a length
      continue;
    }
    at += 2 + static_cast<size_t>(data[at + 2] << 8 | data[at + 3]);
  }
  return 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (DeclaredPixels(data, size) > kLargestFuzzedPicture) return 0;
  FILE* file = fmemopen(const_cast<uint8_t*>(data), size, "rb");
  if (file == nullptr) std::abort();
  PackedDib* picture = ReadJpeg(file);
  std::fclose(file);
  if (picture != nullptr) CheckPicture(picture);
  std::free(picture);
  return 0;
}
