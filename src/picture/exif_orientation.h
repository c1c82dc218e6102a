// The orientation a camera records in a JPEG's Exif segment (tag 0x0112 of IFD0): a pure parse over
// the bytes of one APP1 segment. Depends on nothing but the C++ library; never on libjpeg.
#pragma once
#include <cstddef>
#include <cstdint>

// Whether an APP1 segment's data (the bytes after its length field) is an Exif segment: it starts
// with "Exif\0\0". XMP and other APP1 segments are not.
bool IsExifSegment(const uint8_t* data, size_t size);

// The orientation, 1 to 8, that the Exif segment's IFD0 gives in its tag 0x0112 of type SHORT with
// count 1, in the TIFF header's byte order. 1 (as stored) for anything else: no Exif header, a bad
// byte-order mark or 42, an offset or entry count reaching past the segment, no such tag, a tag of
// another type or count, a value outside 1..8. Never reads outside data[0..size).
int ExifOrientation(const uint8_t* data, size_t size);
