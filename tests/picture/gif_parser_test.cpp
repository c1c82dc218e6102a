// Tests of the GIF block parser: signature, screen, block loop, extensions, pending frame and name,
// problems and their recovery, and release of the parsed records.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "gif_test_support.h"
#include "picture/gif_parser.h"

namespace {

// A 1 x 1 frame whose raster (minimum code size 2) holds the single pixel 1.
Bytes OnePixelFrame() { return ImageBlock(0, 0, 1, 1, 0, CodeRaster(2, {{4, 3}, {1, 3}, {5, 3}})); }

Bytes HeaderWithFrame() {
  Bytes bytes = GifHeaderBytes(1, 1, 4, 0);
  Append(bytes, OnePixelFrame());
  return bytes;
}

Bytes GraphicControl(unsigned packed, unsigned delay, unsigned index) {
  Bytes out = {0x21, 0xF9, 4, static_cast<uint8_t>(packed)};
  Put16(out, delay);
  Put8(out, index);
  Put8(out, 0);
  return out;
}

struct Parsed {
  GifContents* contents = nullptr;
  std::vector<Problem> problems;
  ~Parsed() { ReleaseGif(contents); }
};

void Parse(Parsed& parsed, const std::string& name, const Bytes& bytes) {
  parsed.contents = ParseFixture(name, bytes, &parsed.problems);
  ASSERT_NE(parsed.contents, nullptr) << name;
}

}  // namespace

TEST(GifParser, SignatureMismatchStopsAfterTheMismatchedByte) {
  const struct {
    const char* text;
    long offset;
  } cases[] = {{"XIF89a", 1}, {"GXF89a", 2}, {"GIX89a", 3}};
  for (const auto& item : cases) {
    Bytes bytes(item.text, item.text + 6);
    Append(bytes, Bytes(20, 0));
    std::string path = WriteGifFixture(std::string("signature_") + item.text, bytes);
    FILE* file = std::fopen(path.c_str(), "rb");
    ASSERT_NE(file, nullptr);
    std::vector<Problem> problems;
    EXPECT_EQ(ParseGifFile(file, nullptr, &problems), nullptr) << item.text;
    EXPECT_EQ(std::ftell(file), item.offset) << item.text;
    std::fclose(file);
  }
  EXPECT_EQ(ParseGifFile(nullptr, nullptr, nullptr), nullptr);
}

TEST(GifParser, AnyVersionBytesAreAccepted) {
  Bytes bytes = HeaderWithFrame();
  std::memcpy(bytes.data() + 3, "xyz", 3);
  Put8(bytes, 0x3B);
  Parsed parsed;
  Parse(parsed, "version_xyz", bytes);
  EXPECT_EQ(parsed.contents->frameCount, 1);
  EXPECT_EQ(parsed.contents->refs, 0);
  EXPECT_EQ(Describe(parsed.problems), "");
}

TEST(GifParser, ScreenDescriptorAloneGivesNoFrameAndNoProblem) {
  Bytes bytes = GifHeaderBytes(300, 200, 0, 7);
  Parsed parsed;
  Parse(parsed, "screen_only", bytes);
  EXPECT_EQ(parsed.contents->screenWidth, 300);
  EXPECT_EQ(parsed.contents->screenHeight, 200);
  EXPECT_EQ(parsed.contents->background, 7);
  EXPECT_EQ(parsed.contents->globalPalette, nullptr);
  EXPECT_EQ(parsed.contents->loopCount, -1);
  EXPECT_EQ(parsed.contents->frameCount, 0);
  EXPECT_EQ(parsed.contents->errorCount, 0u);
  EXPECT_EQ(Describe(parsed.problems), "");
}

TEST(GifParser, GlobalPaletteEntriesAreReadInOrder) {
  Parsed parsed;
  Parse(parsed, "global_palette", GifHeaderBytes(2, 2, 8, 0));
  const GifPalette* palette = parsed.contents->globalPalette;
  ASSERT_NE(palette, nullptr);
  EXPECT_EQ(palette->count, 8);
  EXPECT_EQ(palette->capacity, 8);
  EXPECT_EQ(palette->refs, 1);
  EXPECT_EQ(palette->entries[5].red, TestPaletteRed(5, false));
  EXPECT_EQ(palette->entries[5].green, TestPaletteGreen(5, false));
  EXPECT_EQ(palette->entries[7].blue, TestPaletteBlue(7, false));

  // A file that ends inside the palette: the bytes past its end read as zeros.
  Bytes cut = GifHeaderBytes(2, 2, 8, 0);
  cut.resize(13 + 3 * 4 + 2);
  Parsed shortParsed;
  Parse(shortParsed, "global_palette_cut", cut);
  const GifPalette* part = shortParsed.contents->globalPalette;
  ASSERT_NE(part, nullptr);
  EXPECT_EQ(part->entries[4].green, TestPaletteGreen(4, false));
  EXPECT_EQ(part->entries[4].blue, 0);
  EXPECT_EQ(part->entries[7].red, 0);
}

TEST(GifParser, TrailingGarbageIsReportedOnlyWithoutEarlierProblems) {
  Bytes clean = HeaderWithFrame();
  Append(clean, {0x3B, 1, 2, 3});
  Parsed parsed;
  Parse(parsed, "trailing_garbage", clean);
  EXPECT_EQ(Describe(parsed.problems), "trailing garbage after GIF ignored@1");
  EXPECT_EQ(parsed.contents->errorCount, 0u);

  Bytes damaged = GifHeaderBytes(1, 1, 4, 0);
  Append(damaged, {0x21, 0xF9, 5, 0, 0, 0, 0, 0, 0});  // graphic control of the wrong length
  Append(damaged, OnePixelFrame());
  Append(damaged, {0x3B, 1, 2, 3});
  Parsed second;
  Parse(second, "trailing_after_problem", damaged);
  EXPECT_EQ(Describe(second.problems), "odd graphic extension format@0");
  EXPECT_EQ(second.contents->errorCount, 1u);

  Bytes ended = HeaderWithFrame();  // no trailer at all: no problem
  Parsed third;
  Parse(third, "no_trailer", ended);
  EXPECT_EQ(Describe(third.problems), "");
}

TEST(GifParser, StrayBytesAreReportedOnceWithTheFirstOffset) {
  Bytes bytes = HeaderWithFrame();
  size_t firstStray = bytes.size();
  Append(bytes, {0, 0, 0, 0x99});
  Append(bytes, OnePixelFrame());
  Append(bytes, {0x3B});
  Parsed parsed;
  Parse(parsed, "stray_zeros", bytes);
  EXPECT_EQ(parsed.contents->frameCount, 2);
  EXPECT_EQ(Describe(parsed.problems), "unknown block type 0 at file offset " + std::to_string(firstStray) + "@1");
}

TEST(GifParser, GraphicControlSetsTheNextFrame) {
  Bytes bytes = GifHeaderBytes(1, 1, 4, 0);
  Append(bytes, GraphicControl(0x0D, 0x1234, 9));  // disposal 3, transparent flag set
  Append(bytes, OnePixelFrame());
  Append(bytes, GraphicControl(0x08, 7, 9));  // flag clear: no transparent index whatever the byte
  Append(bytes, OnePixelFrame());
  Append(bytes, GraphicControl(0x01, 1, 2));
  Append(bytes, GraphicControl(0x01, 5, 3));  // the second one overwrites the first
  Append(bytes, OnePixelFrame());
  Parsed parsed;
  Parse(parsed, "graphic_control", bytes);
  ASSERT_EQ(parsed.contents->frameCount, 3);
  GifFrame** frames = parsed.contents->frames;
  EXPECT_EQ(frames[0]->disposal, 3);
  EXPECT_EQ(frames[0]->delay, 0x1234);
  EXPECT_EQ(frames[0]->transparent, 9);
  EXPECT_EQ(frames[1]->disposal, 2);
  EXPECT_EQ(frames[1]->transparent, -1);
  EXPECT_EQ(frames[2]->delay, 5);
  EXPECT_EQ(frames[2]->transparent, 3);
  EXPECT_EQ(Describe(parsed.problems), "");
}

TEST(GifParser, OddGraphicControlSubBlocksAreReportedAndSkipped) {
  Bytes bytes = GifHeaderBytes(1, 1, 4, 0);
  // A first sub-block of length 0 is not a terminator: the next length is a data sub-block.
  Append(bytes, {0x21, 0xF9, 0, 3, 0x01, 0x02, 0x03, 0});
  Append(bytes, OnePixelFrame());
  // Length 5: skipped, values unchanged; then one further sub-block reported again.
  Append(bytes, {0x21, 0xF9, 5, 0x01, 1, 0, 4, 0, 2, 0xAA, 0xBB, 0});
  Append(bytes, OnePixelFrame());
  // A good first sub-block followed by an extra one: values set, the extra reported.
  Bytes good = GraphicControl(0x01, 0, 6);
  good.pop_back();
  Append(good, {1, 0xEE, 0});
  Append(bytes, good);
  Append(bytes, OnePixelFrame());
  Parsed parsed;
  Parse(parsed, "graphic_control_odd", bytes);
  ASSERT_EQ(parsed.contents->frameCount, 3);
  EXPECT_EQ(parsed.contents->frames[0]->transparent, -1);
  EXPECT_EQ(parsed.contents->frames[1]->transparent, -1);
  EXPECT_EQ(parsed.contents->frames[1]->delay, 0);
  EXPECT_EQ(parsed.contents->frames[2]->transparent, 6);
  EXPECT_EQ(Describe(parsed.problems),
            "odd graphic extension format@0; odd graphic extension format@1; odd graphic extension format@1; "
            "odd graphic extension format@2");
}

TEST(GifParser, NetscapeExtensionSetsTheLoopCount) {
  Bytes good = GifHeaderBytes(1, 1, 4, 0);
  Append(good, {0x21, 0xFF, 11, 'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0', 3, 1, 5, 0, 0});
  Parsed parsed;
  Parse(parsed, "loop_good", good);
  EXPECT_EQ(parsed.contents->loopCount, 5);
  EXPECT_EQ(parsed.contents->extensions, nullptr);
  EXPECT_EQ(Describe(parsed.problems), "");

  Bytes wrongLength = GifHeaderBytes(1, 1, 4, 0);
  Append(wrongLength, {0x21, 0xFF, 11, 'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0', 4, 1, 5, 0, 0, 2, 9, 9, 0});
  Append(wrongLength, OnePixelFrame());
  Parsed second;
  Parse(second, "loop_wrong_length", wrongLength);
  EXPECT_EQ(second.contents->loopCount, -1);
  EXPECT_EQ(second.contents->frameCount, 1);
  EXPECT_EQ(Describe(second.problems), "bad loop extension@0");

  Bytes noTerminator = GifHeaderBytes(1, 1, 4, 0);
  Append(noTerminator, {0x21, 0xFF, 11, 'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0', 3, 1, 7, 1, 2, 9, 9, 0});
  Append(noTerminator, OnePixelFrame());
  Parsed third;
  Parse(third, "loop_no_terminator", noTerminator);
  EXPECT_EQ(third.contents->loopCount, 263);
  EXPECT_EQ(third.contents->frameCount, 1);
  EXPECT_EQ(Describe(third.problems), "bad loop extension@0");
}

TEST(GifParser, OtherExtensionsAreStoredInFileOrder) {
  Bytes bytes = GifHeaderBytes(1, 1, 4, 0);
  Append(bytes, {0x21, 0xFF, 11, 'X', 'M', 'P', ' ', 'D', 'a', 't', 'a', 'X', 'M', 'P', 2, 'h', 'i', 1, '!', 0});
  Append(bytes, {0x21, 0xFF, 5, 'S', 'H', 'O', 'R', 'T', 1, 'z', 0});
  Append(bytes, {0x21, 0x01, 3, 'a', 'b', 'c', 0});  // plain text: stored like any other
  Append(bytes, {0x21, 0x01, 0});                    // no data: nothing stored
  Append(bytes, {0x21, 0xFF, 4, 'E', 'M', 'P', 'T', 0});
  Append(bytes, OnePixelFrame());
  Parsed parsed;
  Parse(parsed, "other_extensions", bytes);
  const StoredExtension* first = parsed.contents->extensions;
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->kind, 255);
  EXPECT_STREQ(first->name, "XMP DataXMP");
  EXPECT_EQ(first->length, 3);
  EXPECT_STREQ(reinterpret_cast<const char*>(first->data), "hi!");
  const StoredExtension* second = first->next;
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(second->kind, 255);
  EXPECT_STREQ(second->name, "SHORT");
  EXPECT_EQ(second->length, 1);
  const StoredExtension* third = second->next;
  ASSERT_NE(third, nullptr);
  EXPECT_EQ(third->kind, 1);
  EXPECT_EQ(third->name, nullptr);
  EXPECT_STREQ(reinterpret_cast<const char*>(third->data), "abc");
  EXPECT_EQ(third->next, nullptr);
  EXPECT_EQ(parsed.contents->frameCount, 1);
  EXPECT_EQ(Describe(parsed.problems), "");
}

TEST(GifParser, CommentsGoToTheNextFrameOrTheEnd) {
  Bytes bytes = GifHeaderBytes(1, 1, 4, 0);
  for (const char* text : {"one", "two", "three"}) {
    Append(bytes, {0x21, 0xFE, static_cast<uint8_t>(std::strlen(text))});
    Append(bytes, Bytes(text, text + std::strlen(text)));
    Put8(bytes, 0);
  }
  Append(bytes, {0x21, 0xFE, 0});  // no sub-block: no comment
  Append(bytes, OnePixelFrame());
  Append(bytes, {0x21, 0xFE, 2, 'e', 'n', 2, 'd', '!', 0});
  Append(bytes, GraphicControl(0x01, 0, 1));  // after the last frame: dropped
  Append(bytes, {0x3B});
  Parsed parsed;
  Parse(parsed, "comments", bytes);
  ASSERT_EQ(parsed.contents->frameCount, 1);
  const CommentList* comments = parsed.contents->frames[0]->comments;
  ASSERT_NE(comments, nullptr);
  ASSERT_EQ(comments->count, 3);
  EXPECT_EQ(comments->capacity, 4);
  EXPECT_STREQ(comments->texts[2], "three");
  EXPECT_EQ(comments->lengths[2], 5);
  const CommentList* end = parsed.contents->endComments;
  ASSERT_NE(end, nullptr);
  ASSERT_EQ(end->count, 1);
  EXPECT_STREQ(end->texts[0], "end!");
  EXPECT_EQ(end->lengths[0], 4);
  EXPECT_EQ(Describe(parsed.problems), "");
}

TEST(GifParser, TheLatestNameExtensionNamesTheFrame) {
  Bytes bytes = GifHeaderBytes(1, 1, 4, 0);
  Append(bytes, {0x21, 0xCE, 5, 'f', 'i', 'r', 's', 't', 0});
  Append(bytes, {0x21, 0xCE, 3, 's', 'e', 'c', 2, 'o', 'n', 0});
  Append(bytes, {0x21, 0xCE, 0});  // no data: the pending name stays
  Append(bytes, OnePixelFrame());
  Append(bytes, OnePixelFrame());
  Parsed parsed;
  Parse(parsed, "names", bytes);
  ASSERT_EQ(parsed.contents->frameCount, 2);
  EXPECT_STREQ(parsed.contents->frames[0]->name, "secon");
  EXPECT_EQ(parsed.contents->frames[1]->name, nullptr);
}

TEST(GifParser, ProblemsCarryTheIndexOfTheFrameBeingRead) {
  Bytes bytes = HeaderWithFrame();
  Append(bytes, ImageBlock(0, 0, 2, 1, 0, CodeRaster(2, {{4, 3}, {1, 3}, {5, 3}})));  // one pixel short
  Append(bytes, {0x21, 0xF9, 1, 0, 0});
  Parsed parsed;
  Parse(parsed, "frame_index", bytes);
  EXPECT_EQ(parsed.contents->errorCount, 2u);
  EXPECT_EQ(Describe(parsed.problems), "not enough image data for image size@1; odd graphic extension format@2");
}

TEST(GifParser, AllocationFailureKeepsTheFramesCompletedSoFar) {
  Bytes bytes = GifHeaderBytes(4, 4, 4, 0);
  Append(bytes, OnePixelFrame());
  Append(bytes, ImageBlock(0, 0, 200, 200, 0, CodeRaster(2, {{4, 3}, {1, 3}, {5, 3}})));
  Append(bytes, OnePixelFrame());
  int64_t saved = GifLargestBlock;
  GifLargestBlock = 20000;  // the 200 x 200 frame's pixels no longer fit
  Parsed parsed;
  Parse(parsed, "allocation_failure", bytes);
  GifLargestBlock = saved;
  EXPECT_EQ(parsed.contents->frameCount, 1);
  // The parse stopped before the end of the file with no problem counted.
  EXPECT_EQ(Describe(parsed.problems), "trailing garbage after GIF ignored@1");
}

TEST(GifParser, ReleaseDestroysOnlyWhenTheLastReferenceGoes) {
  GifPalette* palette = NewGifPalette(2);
  ASSERT_NE(palette, nullptr);
  palette->refs = 2;
  ReleasePalette(palette);
  EXPECT_EQ(palette->refs, 1);  // still alive: the sanitizer build checks this read
  ReleasePalette(palette);

  GifFrame* frame = NewGifFrame();
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(frame->transparent, -1);
  frame->refs = 1;
  frame->refs += 1;
  ReleaseFrame(frame);
  EXPECT_EQ(frame->refs, 1);
  ReleaseFrame(frame);
}
