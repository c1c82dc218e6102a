// libFuzzer target for the JPEG reader: each input is read from memory (fmemopen) by ReadJpeg, the
// work LoadJpeg does on its open file, and the picture it returns must keep the packed DIB
// invariants; inputs declaring large pictures, or many scans over them, are skipped. Portable core
// only, plus POSIX fmemopen.
#include <algorithm>
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

// What an input may cost, checked before the reader is called. libjpeg decodes every row the frame
// header declares however little data follows (missing data decodes as grey), and each scan of a
// progressive or multi-scan file passes over every block of its components again, so an input's time
// is its declared pixels times its scans, not its length: 600 bytes can declare 700 x 14337, 4 KiB
// can hold a hundred scans. Inputs declaring more than kFuzzLargestPicture pixels, or more pixels
// times scans than kFuzzPixelScans, are skipped, unless a side lies outside the reader's 8..16384,
// which it refuses before decoding. 8192 pixels (90 x 90, 700 x 8, 8 x 1024) take every fixture of
// the unit tests but 16384 x 8 and 8 x 16384, whose rows the reader decodes as it does any other's.
// The reader keeps its own limits; only this target applies these.
const int64_t kFuzzLargestPicture = int64_t{1} << 13;
const int64_t kFuzzPixelScans = int64_t{1} << 16;

// True for the markers without a length: SOI, RST0 to RST7 and TEM.
bool StandsAlone(uint8_t marker) { return marker == 0xD8 || (marker >= 0xD0 && marker <= 0xD7) || marker == 0x01; }

// The frame header libjpeg reads, found as it finds markers: from after SOI, segments are stepped
// over by their length, and anything else up to the next 0xFF followed by a byte other than 0 and
// 0xFF is passed over as it is (libjpeg warns and goes on). The first SOF0 to SOF15 (not DHT, JPG or
// DAC) before the first SOS or EOI; its offset, or size when there is none.
size_t FrameHeaderAt(const uint8_t* data, size_t size) {
  size_t at = 2;
  while (at + 1 < size) {
    const uint8_t marker = data[at + 1];
    if (data[at] != 0xFF || marker == 0x00 || marker == 0xFF || StandsAlone(marker)) {
      at += data[at] == 0xFF && StandsAlone(marker) ? 2 : 1;  // a byte between segments, or a fill byte
      continue;
    }
    if (marker == 0xDA || marker == 0xD9) return size;
    if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC) return at;
    if (at + 4 > size) return size;
    at += 2 + static_cast<size_t>(data[at + 2] << 8 | data[at + 3]);
  }
  return size;
}

// The SOS markers anywhere in the input: at least as many as the scans libjpeg can find in it.
int64_t ScanMarkers(const uint8_t* data, size_t size) {
  int64_t scans = 0;
  for (size_t i = 0; i + 1 < size; ++i) scans += data[i] == 0xFF && data[i + 1] == 0xDA;
  return scans;
}

// True when the input is cheap enough to be read: see kFuzzLargestPicture.
bool FuzzInputTaken(const uint8_t* data, size_t size) {
  const size_t at = FrameHeaderAt(data, size);
  if (at + 9 > size) return true;  // libjpeg fails before decoding a row
  const int64_t height = data[at + 5] << 8 | data[at + 6], width = data[at + 7] << 8 | data[at + 8];
  if (width < kPictureMinSide || width > kPictureMaxSide || height < kPictureMinSide || height > kPictureMaxSide) {
    return true;  // the reader refuses the size before decoding
  }
  const int64_t pixels = width * height;
  return pixels <= kFuzzLargestPicture && pixels * std::max<int64_t>(1, ScanMarkers(data, size)) <= kFuzzPixelScans;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (!FuzzInputTaken(data, size)) return 0;
  FILE* file = fmemopen(const_cast<uint8_t*>(data), size, "rb");
  if (file == nullptr) std::abort();
  PackedDib* picture = ReadJpeg(file);
  std::fclose(file);
  if (picture != nullptr) CheckPicture(picture);
  std::free(picture);
  return 0;
}
