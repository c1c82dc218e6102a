// The packed DIB picture every reader produces and the renderer draws (PackedDib in win_records.h):
// its helpers, the side limits of BMP and JPEG pictures, the one builder of a new block, and the
// named-file wrapper of the readers that work on an open stream.
#pragma once
#include <cstdint>
#include <cstdio>

#include "picture/win_records.h"

// The widths and heights the BMP and JPEG readers accept (GIF pictures take the file's screen size).
constexpr int kPictureMinSide = 8;
constexpr int kPictureMaxSide = 16384;

// Bytes of one pixel row, padded to a multiple of 4: ((width * bitCount + 31) / 32) * 4 in 32-bit
// arithmetic, as GDI computes it. Callers keep width * bitCount + 31 within 32 bits (widths of at
// most 16384, or a GIF screen width of at most 65535 at 8 bits).
int DibRowStride(int width, int bitCount);

// The same in 64 bits, for sizes checked before an allocation; -1 for a negative width.
int64_t DibRowStride64(int64_t width, int bitCount);

// Colour-table entries of a header: biClrUsed (or the default 2, 16, 256) for 1, 4, 8 bits, 0 for
// 24, 3 for 32, and -1 for any other bit count.
int DibColorCount(const PackedDib* header);

// The start of the pixel rows: the header's address + 40 + 4 * DibColorCount(header).
uint8_t* DibBits(PackedDib* header);
const uint8_t* DibBits(const PackedDib* header);

// The colour table that follows the header.
inline DibColor* DibColors(PackedDib* header) { return reinterpret_cast<DibColor*>(header + 1); }
inline const DibColor* DibColors(const PackedDib* header) { return reinterpret_cast<const DibColor*>(header + 1); }

// The whole block's length: header, DibColorCount entries and biSizeImage bytes of rows.
int64_t PackedDibBytes(const PackedDib* header);

// A new zero-filled block of a width x height picture at bitCount with a table of colors entries:
// biSize 40, the size, biPlanes 1, the bit count, biCompression 0, biSizeImage (height rows of
// DibRowStride bytes) and biClrUsed colors; the table, the rows and every other field are zero. The
// block's size is computed in 64 bits first; null when a count is negative, the size is above
// largest, or the allocation fails. The caller owns the block (std::free).
PackedDib* NewPackedDib(int32_t width, int32_t height, int bitCount, int32_t colors, int64_t largest);

// The header NewPackedDib writes, for a block whose size the caller has already checked.
PackedDib PackedDibHeader(int32_t width, int32_t height, int bitCount, int32_t colors);

// Fills count (2 or more) colour entries with greys from black to white: entry i is
// i * 255 / (count - 1), so a 256-entry table holds grey i in entry i.
void FillGreyRamp(DibColor* table, int count);

// The named-file entry of a reader: opens path "rb", returns read(file) and closes the file on
// every path; null when the file cannot be opened.
PackedDib* ReadPictureFile(const char* path, PackedDib* (*read)(FILE* file));
