// The face pictures loading side by side: the fatal error is the one of reading the file one line
// and one picture at a time, whichever load ends first (no picture left unreachable, which the
// AddressSanitizer build's leak check sees); and the real readers run at once give the very pictures
// they give alone (the ThreadSanitizer build runs this one).
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "common/test_files.h"
#include "common/bmp_builder.h"
#include "common/gif_encoder.h"
#include "common/jpeg_codec.h"
#include "picture/readers.h"
#include "render/face_levels.h"
#include "settings/death_test_helpers.h"
#include "settings/face_loads.h"
#include "settings/settings_file.h"
#include "settings/settings_fixtures.h"

namespace {

// A name holding "slow" takes 60 ms to load; one holding "broken" gives null, after the wait if it
// is slow too. Every other load gives a block of its own, which the loader must keep or free.
PackedDib* TimedLoad(const char* path) {
  if (std::strstr(path, "slow") != nullptr) std::this_thread::sleep_for(std::chrono::milliseconds(60));
  if (std::strstr(path, "broken") != nullptr) return nullptr;
  return static_cast<PackedDib*>(std::calloc(1, sizeof(PackedDib)));
}

const PictureReaders kTimedReaders = {TimedLoad, TimedLoad, TimedLoad, nullptr};

struct FatalOrderCase {
  const char* text;  // the settings file
  int code;
  const char* message;
};

const FatalOrderCase kFatalOrderCases[] = {
    // A face that fails is reported before a later line's fault, even one found long before.
    {"slow-broken.bmp\nb.bmp\nx.png\n", 571, "can't load image slow-broken.bmp"},
    {"slow.bmp\nb.bmp\nbroken.jpg\nd.bmp\npicture\n", 571, "can't load image broken.jpg"},
    {"slow.bmp\nslow-broken.gif\n", 571, "can't load image slow-broken.gif"},
    // The first failure in the file's order, not the first to happen.
    {"slow-broken.bmp\nbroken.gif\nc.bmp\nd.bmp\ne.bmp\nf.bmp\n", 571, "can't load image slow-broken.bmp"},
    // Faces after a failed one, loaded meanwhile, are freed.
    {"a.bmp\nslow-broken.jpg\nc.gif\nd.bmp\ne.jpg\nf.bmp\n1 2\n", 571, "can't load image slow-broken.jpg"},
    {"a.bmp\nb.bmp\nc.bmp\nd.bmp\ne.bmp\nslow-broken.gif\n", 571, "can't load image slow-broken.gif"},
    // A line's own fault once the faces before it loaded.
    {"slow.bmp\nslow.gif\na.b\n", 559, "null file name on line 3 of whirlbox.ini"},
    {"slow.bmp\nslow.jpg\n", 555, "read error on line 3 of whirlbox.ini\nexpecting a file name"},
    {"a.bmp\nb.bmp\nc.bmp\nd.bmp\nslow.bmp\nface.jpeg\n", 569,
     "expected file name on line 6 of whirlbox.ini\nto end in .bmp, .gif, or .jpg but found\nface.jpeg"},
};

TEST(FaceLoads, FatalErrorIsTheFirstInReadingOrderWhateverLoadEndsFirst) {
  for (int threads : {1, 2, kFaceCount}) {
    FaceLoadThreads = threads;
    for (const FatalOrderCase& row : kFatalOrderCases) {
      const std::string path = WriteSettingsFile("order.ini", row.text);
      EXPECT_FATAL(LoadSettingsFrom(path.c_str(), kTimedReaders), row.code, row.message)
          << threads << " threads, file:\n" << row.text;
    }
  }
  FaceLoadThreads = 0;
}

// The whole block of a picture: header, colour table and rows.
std::string TopBytes(const PictureLevels& levels) {
  if (levels.top == nullptr) return "(none)";
  return std::to_string(levels.topWidth) + "x" + std::to_string(levels.topHeight) +
         std::string(reinterpret_cast<const char*>(levels.top), 4 * static_cast<size_t>(levels.topWidth) * levels.topHeight);
}

std::string Block(const PackedDib* picture) {
  if (picture == nullptr) return "(none)";
  const int colors = DibColorCount(picture);
  const size_t rows = static_cast<size_t>(DibRowStride(picture->biWidth, picture->biBitCount)) *
                      static_cast<size_t>(std::abs(picture->biHeight));
  const char* bytes = reinterpret_cast<const char*>(picture);
  return std::string(bytes, sizeof(PackedDib) + 4 * static_cast<size_t>(colors) + rows);
}

std::string WriteJpeg(const std::string& name, int width, int height, int components, bool progressive) {
  JpegOptions options;
  options.width = width;
  options.height = height;
  options.components = components;
  options.progressive = progressive;
  const std::string path = TempPath(name);
  WriteBytes(path, EncodeJpeg(options));
  return path;
}

std::string WriteGif(const std::string& name, int width, int height) {
  std::vector<uint8_t> pixels;
  for (int i = 0; i < width * height; ++i) pixels.push_back(static_cast<uint8_t>((i * 7 + i / width) & 0xff));
  const std::string path = TempPath(name);
  WriteBytes(path, EncodeScreenGif(width, height, pixels));
  return path;
}

std::string WriteBmp(const std::string& name, int width, int height, int bitCount) {
  BmpFields fields;
  fields.width = width;
  fields.height = height;
  fields.bitCount = static_cast<uint16_t>(bitCount);
  fields.entries = bitCount == 8 ? 256 : 0;
  const std::string path = TempPath(name);
  WriteBytes(path, BuildBmp(fields));
  return path;
}

TEST(FaceLoads, RealReadersSideBySideGiveThePicturesEachGivesAlone) {
  const std::string paths[kFaceCount] = {
      WriteJpeg("side_progressive.jpg", 400, 300, 3, true), WriteJpeg("side_baseline.jpg", 320, 400, 3, false),
      WriteGif("side.gif", 300, 200),                      WriteBmp("side24.bmp", 333, 222, 24),
      WriteJpeg("side_grey.jpg", 300, 300, 1, true),       WriteBmp("side8.bmp", 255, 100, 8)};
  std::string text;
  for (const std::string& path : paths) text += path + "\n";
  const std::string settings = WriteSettingsFile("side.ini", text + "60 40\n");
  // Each reader's picture alone and its top level; the JPEGs are kept as their top levels only,
  // made as they are decoded, and those must be the levels of the pictures.
  std::string alone[kFaceCount], aloneTop[kFaceCount];
  for (int i = 0; i < kFaceCount; ++i) {
    const bool jpeg = i != 2 && i != 3 && i != 5;
    PackedDib* picture = i == 2 ? LoadGif(paths[i].c_str()) : !jpeg ? LoadBmp(paths[i].c_str()) : LoadJpeg(paths[i].c_str());
    ASSERT_NE(picture, nullptr) << paths[i];
    alone[i] = jpeg ? Block(nullptr) : Block(picture);
    PictureLevels levels;
    ASSERT_TRUE(BuildPictureLevels(picture, kTopLevelSide, &levels));
    aloneTop[i] = TopBytes(levels);
    FreePictureLevels(&levels);
    std::free(picture);
  }
  for (int threads : {2, kFaceCount}) {
    FaceLoadThreads = threads;
    LoadSettingsFrom(settings.c_str(), kPictureReaders);
    for (int i = 0; i < kFaceCount; ++i) {
      EXPECT_TRUE(Block(FacePictures[i]) == alone[i]) << "face " << i + 1 << " at " << threads << " threads";
      EXPECT_TRUE(TopBytes(FaceLevels[i]) == aloneTop[i]) << "face " << i + 1 << " at " << threads << " threads";
      std::free(FacePictures[i]);
      FacePictures[i] = nullptr;
    }
    EXPECT_EQ(SizeSetting, 60);
    EXPECT_EQ(SpeedSetting, 40);
  }
  FaceLoadThreads = 0;
}

}  // namespace
