// Tests of LoadJpeg: the picture's layout, the size limits, refused and damaged files, and pixels
// against the library's own decode. Every file is encoded here through libjpeg's compressor.
// Portable: the same source runs natively and, cross-built, under Wine (no POSIX-only calls).
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "common/test_files.h"
#include "common/exif_builder.h"
#include "common/jpeg_codec.h"
#include "jpeg_test_support.h"
#include "picture/jpeg_reader.h"
#include "picture/row_copy.h"

namespace {

Bytes MustEncode(const JpegOptions& options) {
  Bytes file = EncodeJpeg(options);
  EXPECT_FALSE(file.empty()) << "the compressor refused " << options.width << "x" << options.height;
  return file;
}

JpegOptions Sized(int width, int height, int components) {
  JpegOptions options;
  options.width = width;
  options.height = height;
  options.components = components;
  return options;
}

size_t BlockSize(const PackedDib* picture) {
  return sizeof(PackedDib) + 4 * static_cast<size_t>(DibColorCount(picture)) + picture->biSizeImage;
}

void ExpectMatchesLibrary(const std::string& name, const Bytes& file) {
  Picture picture = LoadFixture(name, file);
  ASSERT_NE(picture, nullptr) << name << ": got null, want a picture";
  EXPECT_EQ(DescribeMismatch(picture.get(), DecodeReference(file)), "") << name;
}

TEST(JpegLayout, GreyTenByEightHasRampAndPaddedRows) {
  JpegOptions options = Sized(10, 8, 1);
  const Bytes file = MustEncode(options);
  Picture picture = LoadFixture("grey_10x8.jpg", file);
  ASSERT_NE(picture, nullptr);
  const PackedDib& header = *picture;
  EXPECT_EQ(header.biSize, 40u);
  EXPECT_EQ(header.biWidth, 10);
  EXPECT_EQ(header.biHeight, 8);
  EXPECT_EQ(header.biPlanes, 1);
  EXPECT_EQ(header.biBitCount, 8);
  EXPECT_EQ(header.biCompression, 0u);
  EXPECT_EQ(header.biSizeImage, 96u);
  EXPECT_EQ(header.biXPelsPerMeter, 0);
  EXPECT_EQ(header.biYPelsPerMeter, 0);
  EXPECT_EQ(header.biClrUsed, 256u);
  EXPECT_EQ(header.biClrImportant, 256u);
  EXPECT_EQ(BlockSize(picture.get()), 1160u);
  EXPECT_EQ(DibBits(picture.get()) - reinterpret_cast<uint8_t*>(picture.get()), 1064);
  const DibColor* ramp = DibColors(picture.get());
  for (int i = 0; i < 256; ++i) {
    ASSERT_EQ(ramp[i].blue, i) << "entry " << i;
    ASSERT_EQ(ramp[i].green, i) << "entry " << i;
    ASSERT_EQ(ramp[i].red, i) << "entry " << i;
    ASSERT_EQ(ramp[i].reserved, 0) << "entry " << i;
  }
  EXPECT_EQ(DescribeMismatch(picture.get(), DecodeReference(file)), "");
}

TEST(JpegLayout, ColourNineByEightIsBottomUpBgr) {
  JpegOptions options = Sized(9, 8, 3);
  const Bytes file = MustEncode(options);
  Picture picture = LoadFixture("colour_9x8.jpg", file);
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(picture->biBitCount, 24);
  EXPECT_EQ(picture->biClrUsed, 0u);
  EXPECT_EQ(picture->biClrImportant, 0u);
  EXPECT_EQ(picture->biSizeImage, 224u);
  EXPECT_EQ(BlockSize(picture.get()), 264u);
  const uint8_t* block = reinterpret_cast<const uint8_t*>(picture.get());
  EXPECT_EQ(DibBits(picture.get()) - block, 40);
  const ReferenceImage want = DecodeReference(file);
  ASSERT_TRUE(want.ok);
  // The first scanline the library delivers is the last row of the pixel area.
  const uint8_t* top = block + 40 + 7 * 28;
  for (int x = 0; x < 9; ++x) {
    EXPECT_EQ(top[3 * x], want.samples[3 * x + 2]) << "pixel " << x << " blue";
    EXPECT_EQ(top[3 * x + 1], want.samples[3 * x + 1]) << "pixel " << x << " green";
    EXPECT_EQ(top[3 * x + 2], want.samples[3 * x]) << "pixel " << x << " red";
  }
  for (int row = 0; row < 8; ++row) EXPECT_EQ(block[40 + row * 28 + 27], 0) << "pad byte of row " << row;
  EXPECT_EQ(DescribeMismatch(picture.get(), want), "");
}

struct SizeCase {
  int width;
  int height;
  bool accepted;
};

TEST(JpegSize, SidesFrom8To16384AreAccepted) {
  const SizeCase cases[] = {
      {7, 8, false},     {8, 7, false},     {8, 8, true},          {16384, 8, true},
      {8, 16384, true},  {16385, 8, false}, {8, 16385, false},
  };
  for (const SizeCase& c : cases) {
    JpegOptions options = Sized(c.width, c.height, 1);
    options.quality = 1;
    const std::string name = "grey_" + std::to_string(c.width) + "x" + std::to_string(c.height) + ".jpg";
    Picture picture = LoadFixture(name, MustEncode(options));
    EXPECT_EQ(picture != nullptr, c.accepted) << name;
    if (picture != nullptr) {
      EXPECT_EQ(picture->biWidth, c.width) << name;
      EXPECT_EQ(picture->biHeight, c.height) << name;
    }
  }
}

TEST(JpegRefused, ComponentCountsOtherThanOneAndThree) {
  for (int components : {2, 4}) {
    JpegOptions options;
    options.components = components;
    const std::string name = "components_" + std::to_string(components) + ".jpg";
    const Bytes file = MustEncode(options);
    ASSERT_TRUE(DecodeReference(file).ok) << name << " should be a file the library decodes";
    EXPECT_EQ(LoadFixture(name, file), nullptr) << name;
  }
}

// A 24-bit 8 x 8 BMP: file header, info header, 8 rows of 24 bytes.
Bytes SmallBmp() {
  Bytes out;
  Put8(out, 'B');
  Put8(out, 'M');
  Put32(out, 54 + 8 * 24);  // bfSize
  Put32(out, 0);            // bfReserved1, bfReserved2
  Put32(out, 54);           // bfOffBits
  Put32(out, 40);           // biSize
  Put32(out, 8);            // biWidth
  Put32(out, 8);            // biHeight
  Put16(out, 1);            // biPlanes
  Put16(out, 24);           // biBitCount
  for (int i = 0; i < 6; ++i) Put32(out, 0);  // compression .. biClrImportant
  for (int i = 0; i < 8 * 24; ++i) Put8(out, i * 3);
  return out;
}

TEST(JpegRefused, FilesThatAreNotJpegStreams) {
  EXPECT_EQ(LoadFixture("bitmap.jpg", SmallBmp()), nullptr) << "a BMP named .jpg";
  EXPECT_EQ(LoadFixture("empty.jpg", Bytes()), nullptr) << "an empty file";
  EXPECT_EQ(Picture(LoadJpeg(TempPath("missing.jpg").c_str()), std::free), nullptr) << "no file";
  const Bytes file = MustEncode(JpegOptions());
  const long scan = FindMarker(file, 0xda, 2);
  ASSERT_GT(scan, 0);
  const Bytes tablesOnly(file.begin(), file.begin() + scan);
  EXPECT_EQ(LoadFixture("no_scan.jpg", tablesOnly), nullptr) << "a stream cut before its first scan";
}

TEST(JpegRefused, ErrorAfterThePictureIsAllocated) {
  // A progressive scan whose spectral end is 64 is rejected when decompression starts, after the
  // header has been read and the picture allocated; the sanitizer build checks it is freed.
  JpegOptions options;
  options.progressive = true;
  Bytes file = MustEncode(options);
  const long scan = FindMarker(file, 0xda, 2);
  ASSERT_GT(scan, 0);
  const size_t components = file[static_cast<size_t>(scan) + 4];
  const size_t spectralEnd = static_cast<size_t>(scan) + 5 + 2 * components + 1;
  file[spectralEnd] = 64;
  EXPECT_TRUE(ReadsHeader(file)) << "the damage must lie beyond the header";
  EXPECT_EQ(LoadFixture("bad_progression.jpg", file), nullptr);
}

TEST(JpegSize, LargestGreyPictureLoadsWhole) {
  // 16384 x 16384 grey: a 268 MB picture (the colour one would take 805 MB and is not tried here).
  JpegOptions options = Sized(16384, 16384, 1);
  options.quality = 1;
  // Not kept as a fuzz starting input: every run of it would cost the fuzzer 268 MB.
  const std::string path = TempPath("grey_16384x16384.jpg");
  WriteBytes(path, MustEncode(options));
  Picture picture(LoadJpeg(path.c_str()), std::free);
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(picture->biWidth, 16384);
  EXPECT_EQ(picture->biHeight, 16384);
  EXPECT_EQ(picture->biSizeImage, 16384u * 16384u);
  std::remove(path.c_str());
}

TEST(JpegDamage, CutInImageDataGivesFullSizePicture) {
  for (int components : {1, 3}) {
    JpegOptions options = Sized(64, 48, components);
    const Bytes whole = MustEncode(options);
    const long scan = FindMarker(whole, 0xda, 2);
    ASSERT_GT(scan, 0);
    const size_t cut = (static_cast<size_t>(scan) + whole.size()) / 2;
    const Bytes file(whole.begin(), whole.begin() + static_cast<long>(cut));
    const std::string name = "cut_" + std::to_string(components) + ".jpg";
    Picture picture = LoadFixture(name, file);
    ASSERT_NE(picture, nullptr) << name;
    EXPECT_EQ(picture->biWidth, 64);
    EXPECT_EQ(picture->biHeight, 48);
    EXPECT_EQ(DescribeMismatch(picture.get(), DecodeReference(file)), "") << name;
    // The top scanlines come from data the file still holds; further down the cut shows.
    ReferenceImage full = DecodeReference(whole);
    EXPECT_NE(DescribeMismatch(picture.get(), full), "") << name << ": the cut lost nothing";
    // The top 8 scanlines are the last 8 rows: move them to the front and compare them alone.
    const size_t stride = static_cast<size_t>(DibRowStride(64, components * 8));
    std::memmove(DibBits(picture.get()), DibBits(picture.get()) + 40 * stride, 8 * stride);
    picture->biHeight = 8;
    full.height = 8;
    EXPECT_EQ(DescribeMismatch(picture.get(), full), "") << name << ": top 8 scanlines";
  }
}

TEST(JpegDifferential, PixelsMatchTheLibraryDecode) {
  struct Case {
    const char* name;
    int width, height, components, quality;
    bool progressive;
    int restartRows;
    bool fullChroma;
  };
  const Case cases[] = {
      {"grey_33x17.jpg", 33, 17, 1, 90, false, 0, false},
      {"colour_33x17.jpg", 33, 17, 3, 90, false, 0, false},
      {"colour_444_40x24.jpg", 40, 24, 3, 100, false, 0, true},
      {"colour_q20_57x31.jpg", 57, 31, 3, 20, false, 0, false},
      {"grey_progressive.jpg", 45, 29, 1, 85, true, 0, false},
      {"colour_progressive.jpg", 45, 29, 3, 85, true, 0, false},
      {"grey_restart.jpg", 45, 40, 1, 85, false, 1, false},
      {"colour_restart.jpg", 45, 40, 3, 85, false, 1, false},
  };
  for (const Case& c : cases) {
    JpegOptions options = Sized(c.width, c.height, c.components);
    options.quality = c.quality;
    options.progressive = c.progressive;
    options.restartRows = c.restartRows;
    options.fullChroma = c.fullChroma;
    const Bytes file = MustEncode(options);
    // The fixture holds what its name says: a progressive frame (SOF2) or restart markers.
    if (c.progressive) {
      EXPECT_GE(FindMarker(file, 0xc2, 2), 0) << c.name;
    }
    if (c.restartRows > 0) {
      EXPECT_GE(FindMarker(file, 0xd1, 2), 0) << c.name;
    }
    ExpectMatchesLibrary(c.name, file);
  }
}

TEST(JpegDifferential, ComparisonCatchesOneWrongByte) {
  JpegOptions options = Sized(9, 8, 3);
  const Bytes file = MustEncode(options);
  Picture picture = LoadFixture("colour_9x8_altered.jpg", file);
  ASSERT_NE(picture, nullptr);
  const ReferenceImage want = DecodeReference(file);
  DibBits(picture.get())[28 + 4] ^= 1;
  EXPECT_EQ(DescribeMismatch(picture.get(), want).rfind("scanline 6 byte 4: got", 0), 0u);
  DibBits(picture.get())[28 + 4] ^= 1;
  DibBits(picture.get())[27] = 1;
  EXPECT_EQ(DescribeMismatch(picture.get(), want), "scanline 7 byte 27: got 1, want 0");
}

TEST(RgbToBgr, BothSwapsMatchAPlainSwapForEveryTailLength) {
  for (auto* swap : {&CopyRgbAsBgr, &CopyRgbAsBgrPlain}) {
    const char* which = swap == &CopyRgbAsBgr ? "CopyRgbAsBgr" : "CopyRgbAsBgrPlain";
    for (uint32_t pixels = 0; pixels <= 23; ++pixels) {
      Bytes source(3 * pixels);
      for (size_t i = 0; i < source.size(); ++i) source[i] = static_cast<uint8_t>(i * 37 + 5);
      Bytes dest(3 * pixels + 4, 0xee);
      swap(dest.data(), source.data(), pixels);
      for (uint32_t i = 0; i < pixels; ++i) {
        ASSERT_EQ(dest[3 * i], source[3 * i + 2]) << which << ", " << pixels << " pixels, pixel " << i;
        ASSERT_EQ(dest[3 * i + 1], source[3 * i + 1]) << which << ", " << pixels << " pixels, pixel " << i;
        ASSERT_EQ(dest[3 * i + 2], source[3 * i]) << which << ", " << pixels << " pixels, pixel " << i;
      }
      for (size_t i = 3 * pixels; i < dest.size(); ++i) {
        ASSERT_EQ(dest[i], 0xee) << which << ", " << pixels << " pixels, byte " << i << " beyond the row";
      }
    }
  }
}

}  // namespace

namespace {

// The rows a sink was given and the header it was offered, as one picture block.
struct Collected {
  bool take = true;
  std::string block;
  size_t rowBytes = 0;
  std::vector<std::string> rows;  // from the top
};

bool CollectStart(void* context, const PackedDib* header) {
  auto* got = static_cast<Collected*>(context);
  got->block.assign(reinterpret_cast<const char*>(header), sizeof(PackedDib) + 4 * static_cast<size_t>(DibColorCount(header)));
  got->rowBytes = static_cast<size_t>(DibRowStride(header->biWidth, header->biBitCount));
  return got->take;
}

void CollectRow(void* context, const uint8_t* bits) {
  auto* got = static_cast<Collected*>(context);
  // The whole row: its padding is zero, as the picture's is.
  got->rows.emplace_back(reinterpret_cast<const char*>(bits), got->rowBytes);
}

// The same block as a picture: header, colours, rows bottom-up.
std::string AsPicture(const Collected& got) {
  std::string block = got.block;
  for (size_t i = got.rows.size(); i-- > 0;) block += got.rows[i];
  return block;
}

}  // namespace

// Whatever the file, ReadJpegToSink's verdict is ReadJpeg's; an upright file the sink takes reaches
// it row by row as exactly ReadJpeg's picture, any other (turned, or declined) comes back as that
// picture.
TEST(JpegSink, GivesReadJpegsPictureRowByRowOrWhole) {
  JpegOptions grey = Sized(37, 29, 1);
  grey.progressive = true;
  const Bytes colour = MustEncode(Sized(61, 43, 3));
  const long scan = FindMarker(colour, 0xda, 2);
  ASSERT_GT(scan, 0);
  struct Case {
    const char* name;
    Bytes file;
    bool take;
    bool streamed;  // the rows reach the sink
  };
  const Case cases[] = {
      {"colour, odd sides", colour, true, true},
      {"grey, progressive", MustEncode(grey), true, true},
      {"cut in its image data", Bytes(colour.begin(), colour.begin() + (scan + static_cast<long>(colour.size())) / 2), true, true},
      {"declined by the sink", colour, false, false},
      {"turned by its orientation", WithApp1(colour, OrientationPayload(6, false)), true, false},
      {"mirrored by its orientation", WithApp1(colour, OrientationPayload(2, true)), true, false},
      {"too narrow", MustEncode(Sized(7, 16, 3)), true, false},
      {"not a JPEG", SmallBmp(), true, false},
      {"cut before its scan", Bytes(colour.begin(), colour.begin() + scan), true, false},
  };
  for (const Case& c : cases) {
    const std::string path = TempPath("sink.jpg");
    WriteBytes(path, c.file);
    Picture want(LoadJpeg(path.c_str()), std::free);
    Collected got;
    got.take = c.take;
    const JpegRowSink sink = {CollectStart, CollectRow, &got};
    PackedDib* returned = nullptr;
    const bool read = LoadJpegToSink(path.c_str(), &sink, &returned);
    Picture picture(returned, std::free);
    ASSERT_EQ(read, want != nullptr) << c.name;
    if (!read) {
      EXPECT_EQ(picture, nullptr) << c.name;
      continue;
    }
    const std::string wantBlock(reinterpret_cast<const char*>(want.get()), BlockSize(want.get()));
    if (c.streamed) {
      EXPECT_EQ(picture, nullptr) << c.name;
      EXPECT_EQ(got.rows.size(), static_cast<size_t>(want->biHeight)) << c.name;
      EXPECT_TRUE(AsPicture(got) == wantBlock) << c.name;
    } else {
      EXPECT_TRUE(got.rows.empty()) << c.name;
      ASSERT_NE(picture, nullptr) << c.name;
      EXPECT_TRUE(std::string(reinterpret_cast<const char*>(picture.get()), BlockSize(picture.get())) == wantBlock) << c.name;
    }
  }
}
