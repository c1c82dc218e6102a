// The BMP reader's decisions, made from the two file headers and the file length alone: whether the
// file can become a packed DIB, its colour count, where its pixels start and the block's size.
// No file access, no allocation, no Windows headers.
#pragma once
#include <cstdint>

constexpr int kBmpFileHeaderSize = 14;  // BITMAPFILEHEADER
constexpr int kBmpInfoHeaderSize = 40;  // BITMAPINFOHEADER
constexpr int kBmpHeadersSize = kBmpFileHeaderSize + kBmpInfoHeaderSize;
constexpr uint16_t kBmpType = 0x4D42;  // "BM"
constexpr int kBmpMinSide = 8;
constexpr int kBmpMaxSide = 16384;
// The largest block the reader builds: DibColorCount returns an int and DibBits adds 4 times it, and
// a 32-bit build cannot hold more anyway. Every picture of legal size fits with room to spare.
constexpr int64_t kBmpMaxBlockBytes = INT32_MAX;

// The header fields the reader uses, decoded from the file's little-endian bytes.
struct BmpHeaders {
  uint16_t type;         // bfType
  uint32_t offBits;      // bfOffBits, 0 when the pixels follow the colour entries
  uint32_t infoSize;     // biSize
  int32_t width;         // biWidth
  int32_t height;        // biHeight
  uint16_t bitCount;     // biBitCount
  uint32_t compression;  // biCompression
  uint32_t clrUsed;      // biClrUsed
};

// How a BMP file that passed every check becomes a packed DIB.
struct BmpLayout {
  int64_t pixelBytes;    // biHeight rows of DibRowStride bytes
  int64_t colorCount;    // entries of the picture's colour table, stored as biClrUsed
  int64_t colorsInFile;  // entries read from offset 54: 0 for 24 bits and for a grey ramp
  bool greyRamp;         // a 1-, 4- or 8-bit file without colour entries gets a grey table
  int64_t pixelOffset;   // the file offset the pixel array is read from
  int64_t blockBytes;    // 40 + 4 * colorCount + pixelBytes
};

// Decode the 14-byte file header and the 40-byte info header into headers.
void DecodeBmpFileHeader(const uint8_t* bytes, BmpHeaders* headers);
void DecodeBmpInfoHeader(const uint8_t* bytes, BmpHeaders* headers);

// Applies every check from the info header's size on, in the reader's order, and refuses (false)
// any file whose colour entries or pixel array would reach past fileLength, so that nothing is
// allocated that the file cannot fill. On true, layout says what to allocate and read.
bool PlanBmp(const BmpHeaders& headers, int64_t fileLength, BmpLayout* layout);
