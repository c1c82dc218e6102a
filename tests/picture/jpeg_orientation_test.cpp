// Tests of the Exif orientation: JPEG files with an APP1 segment made here are loaded upright (the
// library's decode of the untagged file turned by the test's own turn), or as stored when the
// segment gives no valid orientation; and the parse alone at its bounds.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/exif_builder.h"
#include "common/jpeg_codec.h"
#include "jpeg_test_support.h"
#include "picture/exif_orientation.h"

namespace {

// The stored picture's three elementary moves, in the order they are applied.
ReferenceImage Transposed(const ReferenceImage& in) {
  ReferenceImage out = in;
  out.width = in.height;
  out.height = in.width;
  for (int y = 0; y < out.height; ++y) {
    for (int x = 0; x < out.width; ++x) {
      for (int c = 0; c < in.components; ++c) {
        out.samples[(static_cast<size_t>(y) * out.width + x) * in.components + c] =
            in.samples[(static_cast<size_t>(x) * in.width + y) * in.components + c];
      }
    }
  }
  return out;
}

ReferenceImage Mirrored(const ReferenceImage& in, bool leftRight) {
  ReferenceImage out = in;
  for (int y = 0; y < in.height; ++y) {
    for (int x = 0; x < in.width; ++x) {
      const int fromX = leftRight ? in.width - 1 - x : x;
      const int fromY = leftRight ? y : in.height - 1 - y;
      for (int c = 0; c < in.components; ++c) {
        out.samples[(static_cast<size_t>(y) * in.width + x) * in.components + c] =
            in.samples[(static_cast<size_t>(fromY) * in.width + fromX) * in.components + c];
      }
    }
  }
  return out;
}

// The upright picture: 6 (90 degrees clockwise) is the transpose mirrored left-right, 8 the
// transpose mirrored top-bottom, 7 the transpose turned 180 degrees.
ReferenceImage Turned(const ReferenceImage& stored, int orientation) {
  struct Moves {
    bool transpose, leftRight, topBottom;
  };
  const Moves moves[9] = {{false, false, false}, {false, false, false}, {false, true, false},
                          {false, true, true},   {false, false, true},  {true, false, false},
                          {true, true, false},   {true, true, true},    {true, false, true}};
  const Moves& m = moves[orientation];
  ReferenceImage out = m.transpose ? Transposed(stored) : stored;
  if (m.leftRight) out = Mirrored(out, true);
  if (m.topBottom) out = Mirrored(out, false);
  return out;
}

JpegOptions Photo(int width, int height, int components, bool fullChroma) {
  JpegOptions options;
  options.width = width;
  options.height = height;
  options.components = components;
  options.fullChroma = fullChroma;
  return options;
}

TEST(JpegOrientation, EveryOrientationLoadsUpright) {
  struct Format {
    const char* name;
    JpegOptions options;
  };
  // 4:2:0 is the compressor's default sampling; 8 x 700 turned by a quarter takes 22 bands, the
  // last one partial.
  const Format formats[] = {
      {"grey_37x23", Photo(37, 23, 1, false)},   {"420_37x23", Photo(37, 23, 3, false)},
      {"444_37x23", Photo(37, 23, 3, true)},     {"420_700x8", Photo(700, 8, 3, false)},
      {"grey_8x700", Photo(8, 700, 1, false)},   {"444_29x77", Photo(29, 77, 3, true)},
  };
  for (const Format& format : formats) {
    const Bytes stored = EncodeJpeg(format.options);
    const ReferenceImage want = DecodeReference(stored);
    ASSERT_TRUE(want.ok) << format.name;
    for (int orientation = 1; orientation <= 8; ++orientation) {
      for (bool bigEndian : {false, true}) {
        const std::string name = std::string(format.name) + "_o" + std::to_string(orientation) +
                                 (bigEndian ? "_mm" : "_ii") + ".jpg";
        const Bytes payload = OrientationPayload(orientation, bigEndian);
        if (format.options.width == 37) WriteFixture(name + ".exif", payload, "exif");
        Picture picture = LoadFixture(name, WithApp1(stored, payload));
        ASSERT_NE(picture, nullptr) << name;
        EXPECT_EQ(DescribeMismatch(picture.get(), Turned(want, orientation)), "") << name;
        // A turn that changed nothing would pass the comparison above only for orientation 1.
        if (orientation != 1) {
          EXPECT_NE(DescribeMismatch(picture.get(), want), "") << name;
        }
      }
    }
  }
}

Bytes Xmp() {
  const std::string text =
      std::string("http://ns.adobe.com/xap/1.0/") + '\0' +
      "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\"><rdf:RDF><rdf:Description tiff:Orientation=\"6\"/></rdf:RDF></x:xmpmeta>";
  return Bytes(text.begin(), text.end());
}

// The camera's orientation-6 segment with one field changed.
Bytes Damaged(size_t at, std::vector<uint8_t> bytes) {
  Bytes payload = OrientationPayload(6, false);
  for (size_t i = 0; i < bytes.size(); ++i) payload[at + i] = bytes[i];
  return payload;
}

Bytes Cut(Bytes payload, size_t from, size_t to) {
  payload.erase(payload.begin() + static_cast<long>(from), payload.begin() + static_cast<long>(to));
  return payload;
}

TEST(JpegOrientation, SegmentsWithoutAValidIfd0OrientationLeaveThePictureAsStored) {
  struct Case {
    const char* name;
    std::vector<Bytes> segments;  // APP1 payloads in file order
    int want;
  };
  const Bytes six = OrientationPayload(6, false);
  // Offsets in the payload: "Exif\0\0" 0-5, byte order 6-7, 42 at 8, IFD0's offset at 10, its
  // entry count at 14.
  const Case cases[] = {
      {"xmp_before_exif", {Xmp(), six}, 6},
      {"xmp_only", {Xmp()}, 1},
      {"ifd1_only", {ExifPayload(false, {{0x010f, 2, 6, 0x80}}, {{0x0112, 3, 1, 6}})}, 1},
      {"ifd0_offset_past_end", {Damaged(10, {static_cast<uint8_t>(six.size() - 6), 0, 0, 0})}, 1},
      {"bad_byte_order_mark", {Damaged(6, {'I', 'M'})}, 1},
      {"truncated_tiff_header", {Cut(six, 13, six.size())}, 1},
      {"missing_exif_header", {Cut(six, 0, 6)}, 1},
      {"entry_count_past_end", {Damaged(14, {4, 0})}, 1},
      {"damaged_exif_hides_a_later_one", {Damaged(8, {43, 0}), six}, 1},
  };
  const Bytes stored = EncodeJpeg(Photo(37, 23, 3, false));
  const ReferenceImage want = DecodeReference(stored);
  for (const Case& c : cases) {
    Bytes file = stored;
    // Each segment goes in front of the ones after it.
    for (size_t i = c.segments.size(); i-- > 0;) {
      WriteFixture(std::string(c.name) + "_" + std::to_string(i) + ".exif", c.segments[i], "exif");
      file = WithApp1(file, c.segments[i]);
    }
    Picture picture = LoadFixture(std::string("exif_") + c.name + ".jpg", file);
    ASSERT_NE(picture, nullptr) << c.name;
    EXPECT_EQ(DescribeMismatch(picture.get(), Turned(want, c.want)), "") << c.name;
  }
}

TEST(ExifOrientation, ParseAtItsBounds) {
  struct Case {
    const char* name;
    Bytes payload;
    int want;
  };
  const Bytes eight = OrientationPayload(8, true);
  // IFD0 with the orientation as its only entry and no next-IFD offset: its value field ends the
  // segment.
  const Bytes lastBytes = Cut(ExifPayload(false, {{0x0112, 3, 1, 3}}), 28, 32);
  const Case cases[] = {
      {"big_endian_8", eight, 8},
      {"value_field_ends_the_segment", lastBytes, 3},
      {"entry_one_byte_short", Cut(lastBytes, 27, 28), 1},
      {"value_0", ExifPayload(false, {{0x0112, 3, 1, 0}}), 1},
      {"value_9", ExifPayload(true, {{0x0112, 3, 1, 9}}), 1},
      {"type_long", ExifPayload(false, {{0x0112, 4, 1, 6}}), 1},
      {"count_2", ExifPayload(false, {{0x0112, 3, 2, 6}}), 1},
      {"no_entries", ExifPayload(false, {}), 1},
      {"ifd0_offset_wraps", Damaged(10, {0xff, 0xff, 0xff, 0xff}), 1},
      {"header_only", Cut(eight, 6, eight.size()), 1},
      {"empty", Bytes(), 1},
  };
  for (const Case& c : cases) {
    WriteFixture(std::string(c.name) + ".exif", c.payload, "exif");
    EXPECT_EQ(ExifOrientation(c.payload.data(), c.payload.size()), c.want) << c.name;
  }
}

}  // namespace
