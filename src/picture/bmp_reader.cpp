// The BMP reader: the checks of the two headers against the file length, then one allocation and
// one read of the whole pixel array. Standard runtime only.
#include "picture/bmp_reader.h"

#include <cstdlib>

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

static bool SideInRange(int32_t side) { return side >= kPictureMinSide && side <= kPictureMaxSide; }

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
  if (headers.infoSize != kDibHeaderSize) return false;
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
  layout->blockBytes = kDibHeaderSize + 4 * layout->colorCount + layout->pixelBytes;
  return layout->blockBytes <= kBmpMaxBlockBytes;
}

// Seeks in 64 bits (_fseeki64 on Windows runtimes, fseeko elsewhere), so files beyond 2 GiB are
// measured right also where long has 32 bits (every Windows build).
static bool SeekTo(FILE* file, int64_t offset, int origin) {
#ifdef _WIN32
  return _fseeki64(file, offset, origin) == 0;
#else
  static_assert(sizeof(off_t) == 8, "64-bit file offsets");
  return fseeko(file, static_cast<off_t>(offset), origin) == 0;
#endif
}

// The stream's length, by seeking to its end and back to its start; -1 if the runtime cannot tell.
static int64_t StreamLength(FILE* file) {
  if (!SeekTo(file, 0, SEEK_END)) return -1;
#ifdef _WIN32
  int64_t length = _ftelli64(file);
#else
  int64_t length = ftello(file);
#endif
  if (!SeekTo(file, 0, SEEK_SET)) return -1;
  return length;
}

// Reads the colour entries from the current position (just after the headers), then the pixel
// array from layout.pixelOffset. False on a short read or a failed seek.
static bool ReadTableAndRows(FILE* file, PackedDib* picture, const BmpLayout& layout) {
  size_t entries = static_cast<size_t>(layout.colorsInFile);
  if (entries != 0 && std::fread(DibColors(picture), sizeof(DibColor), entries, file) != entries) return false;
  if (layout.greyRamp) FillGreyRamp(DibColors(picture), static_cast<int>(layout.colorCount));
  int64_t position = kBmpHeadersSize + 4 * layout.colorsInFile;
  if (layout.pixelOffset != position && (layout.pixelOffset < 0 || !SeekTo(file, layout.pixelOffset, SEEK_SET))) {
    return false;
  }
  size_t bytes = static_cast<size_t>(layout.pixelBytes);
  return std::fread(DibBits(picture), 1, bytes, file) == bytes;
}

PackedDib* ReadBmp(FILE* file) {
  int64_t length = StreamLength(file);
  if (length <= kBmpHeadersSize) return nullptr;
  uint8_t fileHeader[kBmpFileHeaderSize];
  if (std::fread(fileHeader, 1, sizeof fileHeader, file) != sizeof fileHeader) return nullptr;
  BmpHeaders headers{};
  DecodeBmpFileHeader(fileHeader, &headers);
  if (headers.type != kBmpType) return nullptr;
  uint8_t infoHeader[kDibHeaderSize];
  if (std::fread(infoHeader, 1, sizeof infoHeader, file) != sizeof infoHeader) return nullptr;
  DecodeBmpInfoHeader(infoHeader, &headers);
  BmpLayout layout{};
  if (!PlanBmp(headers, length, &layout)) return nullptr;

  // PlanBmp has checked the block against kBmpMaxBlockBytes already.
  PackedDib* picture = NewPackedDib(headers.width, headers.height, headers.bitCount,
                                    static_cast<int32_t>(layout.colorCount), kBmpMaxBlockBytes);
  if (picture == nullptr) return nullptr;
  if (!ReadTableAndRows(file, picture, layout)) {
    std::free(picture);
    return nullptr;
  }
  return picture;
}

PackedDib* LoadBmp(const char* path) { return ReadPictureFile(path, ReadBmp); }
