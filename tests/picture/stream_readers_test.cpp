// The readers' stream entries: ReadBmp, ReadJpeg, ReadGif and ReadGifFrames on the bytes in memory
// (fmemopen, as the fuzz targets feed them) give exactly the blocks that the named-file entries
// give for the same file, refusals included. Native only (POSIX fmemopen).
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "common/bmp_builder.h"
#include "common/gif_encoder.h"
#include "common/jpeg_codec.h"
#include "picture/readers.h"

namespace {

// The whole block of a picture, or nothing for null.
Bytes Block(const PackedDib* picture) {
  if (picture == nullptr) return {};
  const auto* bytes = reinterpret_cast<const uint8_t*>(picture);
  return Bytes(bytes, bytes + PackedDibBytes(picture));
}

FILE* OpenMemory(const Bytes& bytes) {
  return fmemopen(const_cast<uint8_t*>(bytes.data()), bytes.size(), "rb");
}

TestGif TwoFrameGif() {
  TestGif gif;
  gif.width = 12;
  gif.height = 9;
  gif.background = 3;
  for (int f = 0; f < 2; ++f) {
    TestFrame frame;
    frame.left = f;
    frame.top = 2 * f;
    frame.width = 10;
    frame.height = 6;
    frame.transparent = f == 1 ? 5 : -1;
    for (int i = 0; i < frame.width * frame.height; ++i) frame.pixels.push_back(static_cast<uint8_t>((i * 7 + f) % 11));
    gif.frames.push_back(frame);
  }
  return gif;
}

struct StreamCase {
  const char* name;
  Bytes file;
  PackedDib* (*load)(const char* path);
  PackedDib* (*read)(FILE* file);
  bool loads;
};

TEST(StreamReaders, MemoryGivesTheNamedFilesBlock) {
  BmpFields eightBit;
  eightBit.bitCount = 8;
  eightBit.entries = 16;
  Bytes cutBmp = BuildBmp(BmpFields{});
  cutBmp.resize(cutBmp.size() - 4);
  JpegOptions grey;
  grey.width = 10;
  grey.height = 8;
  grey.components = 1;
  Bytes gif = EncodeGif(TwoFrameGif());
  const StreamCase cases[] = {
      {"stream_24.bmp", BuildBmp(BmpFields{}), LoadBmp, ReadBmp, true},
      {"stream_8.bmp", BuildBmp(eightBit), LoadBmp, ReadBmp, true},
      {"stream_cut.bmp", cutBmp, LoadBmp, ReadBmp, false},
      {"stream_empty.bmp", Bytes{}, LoadBmp, ReadBmp, false},
      {"stream_colour.jpg", EncodeJpeg(JpegOptions{}), LoadJpeg, ReadJpeg, true},
      {"stream_grey.jpg", EncodeJpeg(grey), LoadJpeg, ReadJpeg, true},
      {"stream_not.jpg", BuildBmp(BmpFields{}), LoadJpeg, ReadJpeg, false},
      {"stream.gif", gif, LoadGif, ReadGif, true},
      {"stream_not.gif", Bytes{'G', 'I', 'X'}, LoadGif, ReadGif, false},
  };
  for (const StreamCase& item : cases) {
    std::string path = WriteFixture(item.name, item.file, nullptr);
    PackedDib* fromFile = item.load(path.c_str());
    FILE* memory = OpenMemory(item.file);
    ASSERT_NE(memory, nullptr) << item.name;
    PackedDib* fromMemory = item.read(memory);
    std::fclose(memory);
    EXPECT_EQ(fromFile != nullptr, item.loads) << item.name;
    EXPECT_EQ(Block(fromMemory), Block(fromFile)) << item.name;
    std::free(fromFile);
    std::free(fromMemory);
  }
}

TEST(StreamReaders, GifFramesFromMemoryMatchTheNamedFile) {
  Bytes file = EncodeGif(TwoFrameGif());
  std::string path = WriteFixture("stream_frames.gif", file, nullptr);
  GifFrameSet fromFile = LoadGifFrames(path.c_str());
  FILE* memory = OpenMemory(file);
  ASSERT_NE(memory, nullptr);
  GifFrameSet fromMemory = ReadGifFrames(memory);
  std::fclose(memory);
  ASSERT_EQ(fromFile.count, 2);
  ASSERT_EQ(fromMemory.count, fromFile.count);
  for (int32_t i = 0; i < fromFile.count; ++i) {
    EXPECT_EQ(Block(fromMemory.pictures[i]), Block(fromFile.pictures[i])) << "frame " << i;
  }
  ReleaseGifFrameSet(&fromFile);
  ReleaseGifFrameSet(&fromMemory);
}

}  // namespace
