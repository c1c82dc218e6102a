// libFuzzer target for the JPEG reader: each input is read from memory (fmemopen) by ReadJpegToSink,
// the work LoadJpeg and LoadJpegToSink do on their open file, with a sink that takes the rows of
// inputs whose last byte is odd; the picture it returns, or the header and rows the sink gets, must
// keep the packed DIB invariants. Inputs declaring large pictures, or many scans over them, are
// skipped. Portable core only, plus POSIX fmemopen.
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

// The header fields, and the grey ramp after them, of a picture or of the header a sink is offered.
void CheckHeader(const PackedDib* picture) {
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
}

// The bytes after a row's pixels are zero.
void CheckRowPadding(const PackedDib* header, const uint8_t* row) {
  const int stride = DibRowStride(header->biWidth, header->biBitCount);
  for (int i = header->biWidth * (header->biBitCount / 8); i < stride; ++i) Require(row[i] == 0, "zero row padding");
}

void CheckPicture(const PackedDib* picture) {
  CheckHeader(picture);
  // Reading each row's padding, and the area's last byte, also lets the sanitizer check that the
  // block really is as long as its header says.
  const uint8_t* bits = DibBits(picture);
  const size_t stride = static_cast<size_t>(DibRowStride(picture->biWidth, picture->biBitCount));
  for (int y = 0; y < picture->biHeight; ++y) CheckRowPadding(picture, bits + static_cast<size_t>(y) * stride);
  const volatile uint8_t last = bits[picture->biSizeImage - 1];
  (void)last;
}

// What the sink was offered and has been given.
struct SinkRecord {
  bool take;
  bool started;
  PackedDib header;
  int32_t rows;
};

bool StartRows(void* context, const PackedDib* header) {
  auto* record = static_cast<SinkRecord*>(context);
  Require(!record->started, "one start per read");
  CheckHeader(header);
  record->started = true;
  record->header = *header;
  return record->take;
}

void TakeRow(void* context, const uint8_t* bits) {
  auto* record = static_cast<SinkRecord*>(context);
  Require(record->started && record->take, "rows only after a start that takes them");
  Require(record->rows < record->header.biHeight, "no more rows than the header's height");
  // The padding's last byte is the row's: the sanitizer checks the whole row is there.
  CheckRowPadding(&record->header, bits);
  const volatile uint8_t last = bits[DibRowStride(record->header.biWidth, record->header.biBitCount) - 1];
  (void)last;
  ++record->rows;
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
  SinkRecord record = {size != 0 && (data[size - 1] & 1) != 0, false, {}, 0};
  const JpegRowSink sink = {StartRows, TakeRow, &record};
  PackedDib* picture = nullptr;
  const bool read = ReadJpegToSink(file, &sink, &picture);
  std::fclose(file);
  const bool streamed = record.started && record.take;
  Require(read || picture == nullptr, "no picture from a failed read");
  Require(!streamed || picture == nullptr, "no picture for rows the sink took");
  if (read && streamed) Require(record.rows == record.header.biHeight, "every row reaches the sink");
  if (read && !streamed) Require(picture != nullptr, "a picture for rows the sink did not take");
  if (picture != nullptr) CheckPicture(picture);
  std::free(picture);
  return 0;
}
