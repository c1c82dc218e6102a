// Test-side Exif segments: APP1 payloads built field by field ("Exif\0\0", the TIFF header, IFD0
// and IFD1) in either byte order, and a JPEG file with such a segment put in front. Test code only.
#pragma once
#include <cstdint>
#include <vector>

#include "common/test_files.h"

// One IFD entry. A SHORT (type 3) value fills the value field's first two bytes, any other type
// all four.
struct ExifEntry {
  uint16_t tag;
  uint16_t type;
  uint32_t count;
  uint32_t value;
};

// "Exif\0\0", the TIFF header ("II" or "MM", 42, IFD0 at 8), IFD0 with its entries and, when ifd1
// has any, IFD1 after it (IFD0's next-IFD offset pointing there).
Bytes ExifPayload(bool bigEndian, const std::vector<ExifEntry>& ifd0, const std::vector<ExifEntry>& ifd1 = {});

// The payload of a camera's Exif segment whose IFD0 gives orientation (tag 0x0112, one SHORT)
// beside two other tags.
Bytes OrientationPayload(int orientation, bool bigEndian);

// file (a JPEG from EncodeJpeg) with an APP1 segment holding payload put right after its SOI, in
// front of every segment it has.
Bytes WithApp1(const Bytes& file, const Bytes& payload);
