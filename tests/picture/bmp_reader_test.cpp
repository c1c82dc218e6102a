// LoadBmp on well-formed files and on the cases the format's rules single out: how the spare bytes
// become colour entries, bfOffBits 0 and non-0, the 32-bit table, and files without any table.
#include <gtest/gtest.h>

#include <cstring>

#include "common/bmp_builder.h"
#include "picture/bmp_fixture.h"
#include "picture/calloc_probe.h"
#include "picture/bmp_reader.h"

static int64_t PixelBytes(const BmpFields& f) { return f.height * RowBytes(f.width, f.bitCount); }

static Bytes Slice(const Bytes& bytes, int64_t offset, int64_t count) {
  if (offset < 0 || count < 0 || offset + count > static_cast<int64_t>(bytes.size())) return {};
  return Bytes(bytes.begin() + offset, bytes.begin() + offset + count);
}

// Checks a picture loaded from file: the header the reader builds from fields, a block of exactly
// the right size, the colour table copied from tableOffset and the rows copied from pixelOffset.
static void ExpectLoadedFrom(const PackedDib* picture, const BmpFields& fields, const Bytes& file,
                             int colours, int64_t tableOffset, int64_t pixelOffset) {
  ASSERT_NE(picture, nullptr) << "the file was refused";
  int64_t pixelBytes = PixelBytes(fields);
  EXPECT_EQ(picture->biSize, 40u);
  EXPECT_EQ(picture->biWidth, fields.width);
  EXPECT_EQ(picture->biHeight, fields.height);
  EXPECT_EQ(picture->biPlanes, 1);
  EXPECT_EQ(picture->biBitCount, fields.bitCount);
  EXPECT_EQ(picture->biCompression, 0u);
  EXPECT_EQ(picture->biSizeImage, pixelBytes);
  EXPECT_EQ(picture->biXPelsPerMeter, 0);
  EXPECT_EQ(picture->biYPelsPerMeter, 0);
  EXPECT_EQ(picture->biClrUsed, static_cast<uint32_t>(colours));
  EXPECT_EQ(picture->biClrImportant, 0u);
  EXPECT_EQ(DibColorCount(picture), colours);
  EXPECT_EQ(LastCallocBytes(), 40 + 4 * colours + pixelBytes) << "block size";
  const auto* block = reinterpret_cast<const uint8_t*>(picture);
  if (tableOffset >= 0) {
    EXPECT_EQ(Bytes(block + 40, block + 40 + 4 * colours), Slice(file, tableOffset, 4 * colours)) << "table";
  }
  EXPECT_EQ(DibBits(picture), block + 40 + 4 * colours);
  EXPECT_EQ(Bytes(DibBits(picture), DibBits(picture) + pixelBytes), Slice(file, pixelOffset, pixelBytes)) << "rows";
}

// Builds the file from fields, loads it and checks it with ExpectLoadedFrom.
static PictureOwner ExpectLoads(const std::string& name, const BmpFields& fields, int colours, int64_t tableOffset,
                                int64_t pixelOffset) {
  Bytes file = BuildBmp(fields);
  PictureOwner picture = LoadBmpFixture(name, file);
  ExpectLoadedFrom(picture.get(), fields, file, colours, tableOffset, pixelOffset);
  return picture;
}

TEST(LoadBmp, TrueColourFileLoadsWithItsOwnRowPadding) {
  BmpFields fields;  // 9 x 8 at 24 bits: rows of 27 pixel bytes and one pad byte
  Bytes file = BuildBmp(fields);
  ASSERT_EQ(file.size(), 278u);
  PictureOwner picture = LoadBmpFixture("rgb24_9x8", file);
  ExpectLoadedFrom(picture.get(), fields, file, 0, -1, 54);
  EXPECT_EQ(LastCallocBytes(), 264);
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(picture->biSizeImage, 224u);
}

TEST(LoadBmp, SpareBytesAfterTrueColourPixelsMustBeWholeEntries) {
  BmpFields fields;
  fields.trailing = 2;
  EXPECT_EQ(LoadBmpFixture("rgb24_spare2", BuildBmp(fields)), nullptr);
  fields.trailing = 4;
  PictureOwner picture = ExpectLoads("rgb24_spare4", fields, 0, -1, 54);
  EXPECT_EQ(LastCallocBytes(), 264);
}

TEST(LoadBmp, TrueColourIgnoresClrUsedAndTheFieldsItRecomputes) {
  BmpFields fields;
  fields.clrUsed = 77;
  Bytes file = BuildBmp(fields);  // the builder also writes resolutions, biClrImportant and biSizeImage
  file[34] = 0x99;                // biSizeImage disagrees with the pixel array
  file[26] = 3;                   // biPlanes 3
  PictureOwner picture = LoadBmpFixture("rgb24_ignored_fields", file);
  ExpectLoadedFrom(picture.get(), fields, file, 0, -1, 54);
}

TEST(LoadBmp, EightBitTableSizeComesFromTheFileLength) {
  BmpFields fields;
  fields.bitCount = 8;
  fields.entries = 256;
  PictureOwner picture = ExpectLoads("pal8_256_clr0", fields, 256, 54, 54 + 1024);

  fields.clrUsed = 256;
  picture = ExpectLoads("pal8_256_clr256", fields, 256, 54, 54 + 1024);

  fields.clrUsed = 255;
  EXPECT_EQ(LoadBmpFixture("pal8_256_clr255", BuildBmp(fields)), nullptr);
  fields.clrUsed = 257;
  EXPECT_EQ(LoadBmpFixture("pal8_256_clr257", BuildBmp(fields)), nullptr);
}

TEST(LoadBmp, ShortEightBitTableKeepsThePixelsRightAfterIt) {
  BmpFields fields;
  fields.bitCount = 8;
  fields.width = 13;
  fields.entries = 16;
  PictureOwner picture = ExpectLoads("pal8_16_entries", fields, 16, 54, 54 + 64);
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(DibBits(picture.get()) - reinterpret_cast<uint8_t*>(picture.get()), 40 + 64);
}

TEST(LoadBmp, TrailingBytesOfAnIndexedFileBecomeExtraEntries) {
  BmpFields fields;  // 16 real entries, 8 bytes after the pixels: the table reads 18 entries
  fields.bitCount = 4;
  fields.entries = 16;
  fields.trailing = 8;
  // Entries 16 and 17 are the first 8 bytes of the pixel array; the reader seeks back for the rows.
  PictureOwner picture = ExpectLoads("pal4_trailing8", fields, 18, 54, 54 + 64);
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(DibColors(picture.get())[17].blue, PixelByte(4));
}

TEST(LoadBmp, ThirtyTwoBitTableIsTheTwelveBytesAfterTheHeaders) {
  BmpFields fields;
  fields.bitCount = 32;
  fields.offBits = 54;
  // The three entries are the first pixel bytes; the rows are read again from offset 54.
  PictureOwner picture = ExpectLoads("rgb32_off54", fields, 3, 54, 54);

  // Without an offset the rows follow the table at 66, so the file needs 12 bytes more.
  fields.offBits = 0;
  EXPECT_EQ(LoadBmpFixture("rgb32_off0_short", BuildBmp(fields)), nullptr);
  fields.trailing = 12;
  picture = ExpectLoads("rgb32_off0", fields, 3, 54, 66);
}

TEST(LoadBmp, GapBeforeTheRowsIsTableInIndexedFilesAndSkippedInTrueColour) {
  BmpFields fields;
  fields.bitCount = 8;
  fields.entries = 4;
  Bytes file = BuildBmp(fields);
  file.insert(file.begin() + 54 + 16, {0xAB, 0xAB, 0xAB, 0xAB, 0xAB, 0xAB, 0xAB, 0xAB});  // 2 more "entries"
  file[10] = 54 + 16 + 8;  // bfOffBits
  PictureOwner picture = LoadBmpFixture("pal8_gap", file);
  ExpectLoadedFrom(picture.get(), fields, file, 6, 54, 78);

  fields.bitCount = 24;  // the same gap in a true-colour file is skipped by the seek
  fields.entries = 0;
  file = BuildBmp(fields);
  file.insert(file.begin() + 54, {1, 2, 3, 4});
  file[10] = 58;
  picture = LoadBmpFixture("rgb24_gap", file);
  ExpectLoadedFrom(picture.get(), fields, file, 0, -1, 58);
}

// A 1-, 4- or 8-bit file with no bytes for entries gets a table of the default size filled with a
// grey ramp, so the rows sit where DibBits says and nothing is read outside the block.
TEST(LoadBmp, IndexedFileWithoutEntriesGetsAGreyRamp) {
  for (uint16_t bits : {1, 4, 8}) {
    BmpFields fields;
    fields.bitCount = bits;
    int colours = 1 << bits;
    PictureOwner picture = ExpectLoads("grey_ramp_" + std::to_string(bits), fields, colours, -1, 54);
    ASSERT_NE(picture, nullptr) << bits << " bits";
    const DibColor* table = DibColors(picture.get());
    EXPECT_EQ(table[0].red, 0);
    EXPECT_EQ(table[colours - 1].red, 255);
    for (int i = 0; i < colours; ++i) {
      int want = i * 255 / (colours - 1);
      ASSERT_EQ(table[i].blue, want) << bits << " bits, entry " << i;
      ASSERT_EQ(table[i].green, want);
      ASSERT_EQ(table[i].red, want);
      ASSERT_EQ(table[i].reserved, 0);
    }
  }
}

TEST(LoadBmp, SmallestAndLargestSidesLoad) {
  struct Case {
    int32_t width, height;
    uint16_t bits;
  };
  // One-bit pictures keep the largest fixtures small (16384 rows of 4 bytes, or 8 rows of 2048).
  const Case cases[] = {{8, 8, 24}, {16384, 8, 1}, {8, 16384, 1}, {8, 8, 32}, {16384, 8, 4}};
  for (const Case& c : cases) {
    BmpFields fields;
    fields.width = c.width;
    fields.height = c.height;
    fields.bitCount = c.bits;
    fields.entries = c.bits == 24 || c.bits == 32 ? 0 : 2;
    if (c.bits == 32) fields.offBits = 54;
    std::string name = "side_" + std::to_string(c.width) + "x" + std::to_string(c.height) + "_" +
                       std::to_string(c.bits);
    ExpectLoads(name, fields, c.bits == 32 ? 3 : fields.entries, 54, c.bits == 32 ? 54 : 54 + 4 * fields.entries);
  }
}

TEST(LoadBmp, MissingFileAndDirectoryAreRefused) {
  EXPECT_EQ(LoadBmp(TempPath("no_such_file.bmp").c_str()), nullptr);
  TempPath("x");  // makes sure the folder exists
  std::string folder = TempPath("");
  EXPECT_EQ(LoadBmp(folder.c_str()), nullptr);
}
