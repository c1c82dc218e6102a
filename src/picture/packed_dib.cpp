// The packed DIB helpers: row stride, colour count, pixel address, the block builder, the grey
// ramp and the readers' named-file wrapper. Standard library only.
#include "picture/packed_dib.h"

#include <cstdlib>

int DibRowStride(int width, int bitCount) { return ((width * bitCount + 31) / 32) * 4; }

int64_t DibRowStride64(int64_t width, int bitCount) {
  if (width < 0) return -1;
  return ((width * bitCount + 31) / 32) * 4;
}

int DibColorCount(const PackedDib* header) {
  switch (header->biBitCount) {
    case 1: return header->biClrUsed != 0 ? static_cast<int>(header->biClrUsed) : 2;
    case 4: return header->biClrUsed != 0 ? static_cast<int>(header->biClrUsed) : 16;
    case 8: return header->biClrUsed != 0 ? static_cast<int>(header->biClrUsed) : 256;
    case 24: return 0;
    case 32: return 3;
    default: return -1;
  }
}

uint8_t* DibBits(PackedDib* header) {
  return reinterpret_cast<uint8_t*>(header) + kDibHeaderSize + 4 * DibColorCount(header);
}

const uint8_t* DibBits(const PackedDib* header) {
  return reinterpret_cast<const uint8_t*>(header) + kDibHeaderSize + 4 * DibColorCount(header);
}

int64_t PackedDibBytes(const PackedDib* header) {
  return kDibHeaderSize + 4 * int64_t{DibColorCount(header)} + int64_t{header->biSizeImage};
}

PackedDib* NewPackedDib(int32_t width, int32_t height, int bitCount, int32_t colors, int64_t largest) {
  if (width < 0 || height < 0 || colors < 0) return nullptr;
  const int64_t pixelBytes = DibRowStride64(width, bitCount) * height;
  const int64_t bytes = kDibHeaderSize + 4 * int64_t{colors} + pixelBytes;
  if (bytes > largest || static_cast<uint64_t>(bytes) > SIZE_MAX) return nullptr;
  auto* picture = static_cast<PackedDib*>(std::calloc(1, static_cast<size_t>(bytes)));
  if (picture == nullptr) return nullptr;
  *picture = PackedDibHeader(width, height, bitCount, colors);
  return picture;
}

PackedDib PackedDibHeader(int32_t width, int32_t height, int bitCount, int32_t colors) {
  const int64_t pixelBytes = DibRowStride64(width, bitCount) * height;
  return PackedDib{kDibHeaderSize, width, height, 1, static_cast<uint16_t>(bitCount), 0, static_cast<uint32_t>(pixelBytes),
                   0, 0, static_cast<uint32_t>(colors), 0};
}

void FillGreyRamp(DibColor* table, int count) {
  for (int i = 0; i < count; ++i) {
    const uint8_t grey = static_cast<uint8_t>(i * 255 / (count - 1));
    table[i] = DibColor{grey, grey, grey, 0};
  }
}

PackedDib* ReadPictureFile(const char* path, PackedDib* (*read)(FILE* file)) {
  FILE* file = std::fopen(path, "rb");
  if (file == nullptr) return nullptr;
  PackedDib* picture = read(file);
  std::fclose(file);
  return picture;
}
