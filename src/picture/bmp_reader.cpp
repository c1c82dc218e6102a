// LoadBmp: reads an uncompressed BMP file straight into a packed DIB, one allocation and one read of
// the whole pixel array. The checks live in bmp_layout.cpp; this file only does the file work.
// Standard runtime only; no Windows headers.
#include <cstdio>
#include <cstdlib>

#include "picture/bmp_layout.h"
#include "picture/file_pos64.h"
#include "picture/readers.h"

// Entry i of a count-entry table holds the grey i * 255 / (count - 1): black to white.
static void FillGreyRamp(DibColor* table, int64_t count) {
  for (int64_t i = 0; i < count; ++i) {
    uint8_t grey = static_cast<uint8_t>(i * 255 / (count - 1));
    table[i] = DibColor{grey, grey, grey, 0};
  }
}

static void FillHeader(PackedDib* picture, const BmpHeaders& headers, const BmpLayout& layout) {
  picture->biSize = kBmpInfoHeaderSize;
  picture->biWidth = headers.width;
  picture->biHeight = headers.height;
  picture->biPlanes = 1;
  picture->biBitCount = headers.bitCount;
  picture->biCompression = 0;
  picture->biSizeImage = static_cast<uint32_t>(layout.pixelBytes);
  picture->biClrUsed = static_cast<uint32_t>(layout.colorCount);
}

// Reads the colour entries from the current position (just after the headers), then the pixel
// array from layout.pixelOffset. False on a short read or a failed seek.
static bool ReadTableAndRows(FILE* file, PackedDib* picture, const BmpLayout& layout) {
  size_t entries = static_cast<size_t>(layout.colorsInFile);
  if (entries != 0 && std::fread(DibColors(picture), sizeof(DibColor), entries, file) != entries) return false;
  if (layout.greyRamp) FillGreyRamp(DibColors(picture), layout.colorCount);
  int64_t position = kBmpHeadersSize + 4 * layout.colorsInFile;
  if (layout.pixelOffset != position && !SeekFile64(file, layout.pixelOffset)) return false;
  size_t bytes = static_cast<size_t>(layout.pixelBytes);
  return std::fread(DibBits(picture), 1, bytes, file) == bytes;
}

// The steps after a successful open; the caller closes the file.
static PackedDib* ReadBmp(FILE* file) {
  int64_t length = FileLength64(file);
  if (length <= kBmpHeadersSize) return nullptr;
  uint8_t fileHeader[kBmpFileHeaderSize];
  if (std::fread(fileHeader, 1, sizeof fileHeader, file) != sizeof fileHeader) return nullptr;
  BmpHeaders headers{};
  DecodeBmpFileHeader(fileHeader, &headers);
  if (headers.type != kBmpType) return nullptr;
  uint8_t infoHeader[kBmpInfoHeaderSize];
  if (std::fread(infoHeader, 1, sizeof infoHeader, file) != sizeof infoHeader) return nullptr;
  DecodeBmpInfoHeader(infoHeader, &headers);
  BmpLayout layout{};
  if (!PlanBmp(headers, length, &layout)) return nullptr;

  auto* picture = static_cast<PackedDib*>(std::calloc(1, static_cast<size_t>(layout.blockBytes)));
  if (picture == nullptr) return nullptr;
  FillHeader(picture, headers, layout);
  if (!ReadTableAndRows(file, picture, layout)) {
    std::free(picture);
    return nullptr;
  }
  return picture;
}

PackedDib* LoadBmp(const char* path) {
  FILE* file = std::fopen(path, "rb");
  if (file == nullptr) return nullptr;
  PackedDib* picture = ReadBmp(file);
  std::fclose(file);
  return picture;
}
