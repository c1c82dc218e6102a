// The BMP reader's decisions from the headers and the file length: every size in 64 bits, so no
// header can overflow them in any build. No file access, no allocation, no Windows headers.
#include "picture/bmp_layout.h"

#include "picture/packed_dib.h"

static uint16_t Get16(const uint8_t* bytes) { return static_cast<uint16_t>(bytes[0] | bytes[1] << 8); }

static uint32_t Get32(const uint8_t* bytes) {
  return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
         static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

void DecodeBmpFileHeader(const uint8_t* bytes, BmpHeaders* headers) {
  headers->type = Get16(bytes + 0);
  headers->offBits = Get32(bytes + 10);
}

void DecodeBmpInfoHeader(const uint8_t* bytes, BmpHeaders* headers) {
  headers->infoSize = Get32(bytes + 0);
  headers->width = static_cast<int32_t>(Get32(bytes + 4));
  headers->height = static_cast<int32_t>(Get32(bytes + 8));
  headers->bitCount = Get16(bytes + 14);
  headers->compression = Get32(bytes + 16);
  headers->clrUsed = Get32(bytes + 32);
}

static bool SideInRange(int32_t side) { return side >= kBmpMinSide && side <= kBmpMaxSide; }

// The colour table of a file whose pixel array is pixelBytes long: for 1, 4 and 8 bits the spare
// bytes after the headers count as colour entries. False refuses the file.
static bool PlanColors(const BmpHeaders& headers, int64_t spare, BmpLayout* layout) {
  layout->greyRamp = false;
  if (headers.bitCount == 24) {
    layout->colorCount = layout->colorsInFile = 0;
    return true;
  }
  if (headers.bitCount == 32) {
    layout->colorCount = layout->colorsInFile = 3;
    return true;
  }
  if (spare < 0) return false;
  int64_t entries = spare / 4;
  if (headers.clrUsed != 0 && static_cast<int64_t>(headers.clrUsed) != entries) return false;
  layout->colorsInFile = entries;
  layout->colorCount = entries;
  if (entries == 0) {
    // No entries at all, while DibColorCount would expect the default table: give the picture one
    // of that size so the rows never start outside the block, and fill it with greys.
    layout->greyRamp = true;
    layout->colorCount = int64_t{1} << headers.bitCount;
  }
  return true;
}

bool PlanBmp(const BmpHeaders& headers, int64_t fileLength, BmpLayout* layout) {
  if (headers.infoSize != kBmpInfoHeaderSize) return false;
  int bits = headers.bitCount;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) return false;
  if (!SideInRange(headers.width) || !SideInRange(headers.height)) return false;
  if (headers.compression != 0) return false;
  layout->pixelBytes = headers.height * DibRowStride64(headers.width, bits);
  int64_t spare = fileLength - kBmpHeadersSize - layout->pixelBytes;
  if (spare % 4 != 0) return false;
  if (!PlanColors(headers, spare, layout)) return false;
  // Refuse here what the reads would refuse later, before the block is allocated: colour entries
  // or a pixel array that reach past the end of the file.
  int64_t colorsEnd = kBmpHeadersSize + 4 * layout->colorsInFile;
  layout->pixelOffset = headers.offBits != 0 ? headers.offBits : colorsEnd;
  if (colorsEnd > fileLength || layout->pixelOffset + layout->pixelBytes > fileLength) return false;
  layout->blockBytes = kBmpInfoHeaderSize + 4 * layout->colorCount + layout->pixelBytes;
  return layout->blockBytes <= kBmpMaxBlockBytes;
}
