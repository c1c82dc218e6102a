// Test-side Exif segments: payloads field by field, and the segment put into a JPEG file. Test code
// only.
#include "common/exif_builder.h"

namespace {

void PutOrdered16(Bytes& out, unsigned value, bool bigEndian) {
  if (bigEndian) {
    Put8(out, (value >> 8) & 0xff);
    Put8(out, value & 0xff);
  } else {
    Put16(out, value);
  }
}

void PutOrdered32(Bytes& out, uint32_t value, bool bigEndian) {
  PutOrdered16(out, bigEndian ? value >> 16 : value & 0xffff, bigEndian);
  PutOrdered16(out, bigEndian ? value & 0xffff : value >> 16, bigEndian);
}

void PutIfd(Bytes& out, const std::vector<ExifEntry>& entries, uint32_t next, bool bigEndian) {
  PutOrdered16(out, static_cast<unsigned>(entries.size()), bigEndian);
  for (const ExifEntry& entry : entries) {
    PutOrdered16(out, entry.tag, bigEndian);
    PutOrdered16(out, entry.type, bigEndian);
    PutOrdered32(out, entry.count, bigEndian);
    if (entry.type == 3) {
      PutOrdered16(out, entry.value, bigEndian);
      PutOrdered16(out, 0, bigEndian);
    } else {
      PutOrdered32(out, entry.value, bigEndian);
    }
  }
  PutOrdered32(out, next, bigEndian);  // offset of the next IFD, 0 for none
}

}  // namespace

Bytes ExifPayload(bool bigEndian, const std::vector<ExifEntry>& ifd0, const std::vector<ExifEntry>& ifd1) {
  Bytes out = {'E', 'x', 'i', 'f', 0, 0};
  const uint8_t mark = bigEndian ? 'M' : 'I';
  Put8(out, mark);
  Put8(out, mark);
  PutOrdered16(out, 42, bigEndian);
  PutOrdered32(out, 8, bigEndian);  // IFD0 right after the TIFF header
  const uint32_t ifd1At = ifd1.empty() ? 0 : static_cast<uint32_t>(8 + 2 + 12 * ifd0.size() + 4);
  PutIfd(out, ifd0, ifd1At, bigEndian);
  if (!ifd1.empty()) PutIfd(out, ifd1, 0, bigEndian);
  return out;
}

Bytes OrientationPayload(int orientation, bool bigEndian) {
  // Make (ASCII, its text elsewhere), the orientation, and XResolution (RATIONAL) as a camera
  // writes them, in ascending tag order.
  return ExifPayload(bigEndian, {{0x010f, 2, 6, 0x80}, {0x0112, 3, 1, static_cast<uint32_t>(orientation)},
                                 {0x011a, 5, 1, 0x90}});
}

Bytes WithApp1(const Bytes& file, const Bytes& payload) {
  Bytes out(file.begin(), file.begin() + 2);  // SOI
  Put8(out, 0xff);
  Put8(out, 0xe1);
  const size_t length = payload.size() + 2;  // the length field counts itself
  Put8(out, static_cast<unsigned>(length >> 8) & 0xff);
  Put8(out, static_cast<unsigned>(length) & 0xff);
  out.insert(out.end(), payload.begin(), payload.end());
  out.insert(out.end(), file.begin() + 2, file.end());
  return out;
}
