// Damage tests: every truncation of a small two-frame file parses without a sanitizer report, with
// the problems the cut predicts, and keeps the frames completed before the cut.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "gif_test_support.h"
#include "picture/gif_loader.h"

namespace {

// The file and the offsets of its parts.
struct Layout {
  Bytes bytes;
  size_t loopLength;                       // the NETSCAPE extension's first data length byte
  size_t descriptor[2], codeSize[2], end[2];  // 0x2C, minimum code size byte, after the terminator
};

Layout SmallFile() {
  Layout layout;
  Bytes& b = layout.bytes;
  b = GifHeaderBytes(5, 4, 4, 3);
  Append(b, {0x21, 0xFF, 11, 'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0'});
  layout.loopLength = b.size();
  Append(b, {3, 1, 0, 0, 0});
  Append(b, {0x21, 0xFE, 3, 'c', 'u', 't', 0});
  std::vector<uint8_t> first = NoisePixels(20, 4, 21), second = NoisePixels(20, 4, 22);
  for (int f = 0; f < 2; ++f) {
    if (f == 1) Append(b, {0x21, 0xF9, 4, 1, 0, 0, 2, 0});
    layout.descriptor[f] = b.size();
    Append(b, {0x2C, 0, 0, 0, 0, 5, 0, 4, 0});
    if (f == 0) {
      Put8(b, 0);
    } else {
      Put8(b, 0x80 | 0x40 | 1);  // interlaced, local palette of 4
      Append(b, Bytes(12, 0x55));
    }
    layout.codeSize[f] = b.size();
    Put8(b, 2);
    Append(b, SubBlocks(LzwEncode(f == 0 ? first : second, 2, true), 4));
    layout.end[f] = b.size();
  }
  Put8(b, 0x3B);
  return layout;
}

// Width times height of a descriptor cut at length: the bytes past the cut read as 0.
int CutFrameSize(const Bytes& bytes, size_t descriptor, size_t length) {
  auto at = [&](size_t i) { return i < length ? bytes[i] : 0; };
  int width = at(descriptor + 5) | at(descriptor + 6) << 8;
  int height = at(descriptor + 7) | at(descriptor + 8) << 8;
  return width * height;
}

}  // namespace

TEST(GifDamage, EveryTruncationGivesThePredictedProblems) {
  Layout layout = SmallFile();
  std::vector<Problem> none;
  GifContents* whole = ParseFixture("damage_whole", layout.bytes, &none);
  ASSERT_NE(whole, nullptr);
  ASSERT_EQ(whole->frameCount, 2);
  EXPECT_EQ(Describe(none), "");
  for (size_t length = 0; length <= layout.bytes.size(); ++length) {
    Bytes cut(layout.bytes.begin(), layout.bytes.begin() + static_cast<long>(length));
    std::string name = "damage_cut_" + std::to_string(length);
    std::vector<Problem> problems;
    GifContents* contents = ParseFixture(name, cut, &problems);
    if (length < 3) {
      EXPECT_EQ(contents, nullptr) << name;
      continue;
    }
    ASSERT_NE(contents, nullptr) << name;
    int frames = (length > layout.descriptor[0]) + (length > layout.descriptor[1]);
    ASSERT_EQ(contents->frameCount, frames) << name;
    std::string want;
    if (length == layout.loopLength) want = "bad loop extension@0";
    for (int f = 0; f < 2; ++f) {
      if (length <= layout.descriptor[f] || length > layout.codeSize[f]) continue;
      // The minimum code size byte is missing: it reads as 0, and no data follows it.
      std::string at = "@" + std::to_string(f);
      want = "min_code_size too small" + at;
      if (CutFrameSize(layout.bytes, layout.descriptor[f], length) > 0) {
        want += "; not enough image data for image size" + at;
      }
    }
    bool inData = false;
    for (int f = 0; f < 2; ++f) {
      if (length <= layout.codeSize[f] || length >= layout.end[f]) continue;
      // Inside the data: only problems of this frame, "not enough" at most once and last. Codes
      // read from the bytes a short sub-block leaves in the bit buffer may be unexpected too.
      inData = true;
      for (size_t i = 0; i < problems.size(); ++i) {
        EXPECT_EQ(problems[i].frame, f) << name;
        bool last = i + 1 == problems.size();
        if (!(problems[i].message == "too much image data" || problems[i].message == "unexpected code" ||
              (last && problems[i].message == "not enough image data for image size"))) {
          ADD_FAILURE() << name << ": got " << Describe(problems);
        }
      }
    }
    if (!inData) {
      EXPECT_EQ(Describe(problems), want) << name;
    }
    for (int f = 0; f < frames; ++f) {
      if (length < layout.end[f]) continue;
      EXPECT_EQ(DisplayPixels(contents->frames[f]), DisplayPixels(whole->frames[f])) << name << " frame " << f;
    }
    PackedDib* picture = LoadGif(TempPath(name + ".gif").c_str());
    EXPECT_EQ(picture != nullptr, frames > 0) << name;
    std::free(picture);
    ReleaseGif(contents);
  }
  ReleaseGif(whole);
}

TEST(GifDamage, CorruptedLengthBytesNeverReadOutsideTheFile) {
  // Each length-like byte of the file set to 0, 1 and 255 in turn: the parse must survive with
  // every frame fully laid out (the sanitizer build checks the reads and writes).
  Layout layout = SmallFile();
  for (size_t at = 6; at < layout.bytes.size(); ++at) {
    for (uint8_t value : {0, 1, 255}) {
      Bytes damaged = layout.bytes;
      damaged[at] = value;
      std::vector<Problem> problems;
      GifContents* contents = ParseFixture("damage_byte", damaged, &problems);
      ASSERT_NE(contents, nullptr);
      if (contents->errorCount == 0 && problems.size() == 1) {
        EXPECT_EQ(problems[0].message, "trailing garbage after GIF ignored");
      } else {
        EXPECT_EQ(problems.size(), contents->errorCount) << "byte " << at << " = " << int{value};
      }
      for (int f = 0; f < contents->frameCount; ++f) {
        const GifFrame* frame = contents->frames[f];
        EXPECT_EQ(frame->rows[frame->height], nullptr);
        EXPECT_EQ(DisplayPixels(frame).size(), static_cast<size_t>(frame->width) * frame->height);
      }
      ReleaseGif(contents);
    }
  }
}
