// The packed DIB helpers: row stride, colour count and pixel address. No Windows headers.
#include "picture/packed_dib.h"

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
  return reinterpret_cast<uint8_t*>(header) + sizeof(PackedDib) + 4 * DibColorCount(header);
}

const uint8_t* DibBits(const PackedDib* header) {
  return reinterpret_cast<const uint8_t*>(header) + sizeof(PackedDib) + 4 * DibColorCount(header);
}
