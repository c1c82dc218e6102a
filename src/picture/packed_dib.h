// The packed DIB picture every reader produces and the renderer draws: header, colour table and
// bottom-up pixel rows in one heap block (see PackedDib in picture/win_records.h). No Windows headers.
#pragma once
#include <cstdint>

#include "picture/win_records.h"

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
