// The Exif orientation parse: the "Exif\0\0" header, the TIFF header, IFD0 and its entries, each
// bounds-checked against the segment. Pure; depends on nothing but the C++ library.
#include "picture/exif_orientation.h"

#include <cstring>

namespace {

constexpr uint8_t kExifHeader[6] = {'E', 'x', 'i', 'f', 0, 0};
constexpr uint16_t kOrientationTag = 0x0112;
constexpr uint16_t kTypeShort = 3;
constexpr uint64_t kEntryBytes = 12;

// The TIFF data after the Exif header, in its own byte order; offsets count from its first byte.
struct Tiff {
  const uint8_t* bytes;
  uint64_t size;
  bool bigEndian;
};

// Callers have checked that at + 2 (or at + 4) <= tiff.size.
uint16_t Read16(const Tiff& tiff, uint64_t at) {
  const uint8_t* p = tiff.bytes + at;
  return static_cast<uint16_t>(tiff.bigEndian ? (p[0] << 8) | p[1] : (p[1] << 8) | p[0]);
}

uint32_t Read32(const Tiff& tiff, uint64_t at) {
  const uint32_t high = Read16(tiff, tiff.bigEndian ? at : at + 2);
  const uint32_t low = Read16(tiff, tiff.bigEndian ? at + 2 : at);
  return (high << 16) | low;
}

}  // namespace

bool IsExifSegment(const uint8_t* data, size_t size) {
  return size >= sizeof kExifHeader && std::memcmp(data, kExifHeader, sizeof kExifHeader) == 0;
}

int ExifOrientation(const uint8_t* data, size_t size) {
  if (!IsExifSegment(data, size)) return 1;
  Tiff tiff = {data + sizeof kExifHeader, size - sizeof kExifHeader, false};
  // Byte-order mark, 42, and the offset of IFD0: eight bytes.
  if (tiff.size < 8) return 1;
  if (tiff.bytes[0] == 'M' && tiff.bytes[1] == 'M') {
    tiff.bigEndian = true;
  } else if (tiff.bytes[0] != 'I' || tiff.bytes[1] != 'I') {
    return 1;
  }
  if (Read16(tiff, 2) != 42) return 1;
  const uint64_t ifd = Read32(tiff, 4);
  if (ifd + 2 > tiff.size) return 1;
  const uint64_t count = Read16(tiff, ifd);
  // An entry table that claims more than the segment holds is damaged as a whole.
  if (ifd + 2 + count * kEntryBytes > tiff.size) return 1;
  for (uint64_t i = 0; i < count; ++i) {
    const uint64_t entry = ifd + 2 + i * kEntryBytes;
    if (Read16(tiff, entry) != kOrientationTag) continue;
    // Only the form the Exif standard gives: one SHORT in the first two bytes of the value field.
    if (Read16(tiff, entry + 2) != kTypeShort || Read32(tiff, entry + 4) != 1) return 1;
    const int value = Read16(tiff, entry + 8);
    return value >= 1 && value <= 8 ? value : 1;
  }
  return 1;
}
