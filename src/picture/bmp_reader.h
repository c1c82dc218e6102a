// The BMP reader: an uncompressed BMP file straight into a packed DIB, with its decisions made from
// the two file headers and the file length before anything is allocated.
#pragma once
#include <cstdint>
#include <cstdio>

#include "picture/packed_dib.h"

constexpr int kBmpFileHeaderSize = 14;  // BITMAPFILEHEADER; the info header is kDibHeaderSize
constexpr int kBmpHeadersSize = kBmpFileHeaderSize + kDibHeaderSize;
constexpr uint16_t kBmpType = 0x4D42;  // "BM"
// The largest block the reader builds: DibColorCount returns an int and DibBits adds 4 times it, and
// a 32-bit build cannot hold more anyway. Every picture of legal size fits with room to spare.
constexpr int64_t kBmpMaxBlockBytes = INT32_MAX;

// Returns a new PackedDib owned by the caller (free it with std::free), or null for every failure,
// with no message of its own: the file opened "rb", read by ReadBmp and closed on every path.
PackedDib* LoadBmp(const char* path);

// The same on an open binary stream, read from its start (its length is taken by seeking to its end
// and back); the stream stays open and its position is left where the reads ended.
PackedDib* ReadBmp(FILE* file);

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
// allocated that the file cannot fill. On true, layout says what to allocate and read. Every size
// is computed in 64 bits, so no header can overflow them in any build.
bool PlanBmp(const BmpHeaders& headers, int64_t fileLength, BmpLayout* layout);
