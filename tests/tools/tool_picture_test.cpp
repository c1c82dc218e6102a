// whirlbox-tool picture, run as a program on fixture files: the lines it prints, its exit codes and
// the block that --dib writes.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "common/test_files.h"
#include "common/bmp_builder.h"
#include "common/exif_builder.h"
#include "common/gif_encoder.h"
#include "common/jpeg_codec.h"
#include "picture/readers.h"
#include "tools/tool_run.h"

static std::string Fixture(const std::string& name, const BmpFields& fields) {
  return WriteFixture(name, BuildBmp(fields), "bmp");
}

TEST(ToolPicture, LoadedPicturesAreDescribed) {
  BmpFields rgb;
  ToolRun run = RunTool({"picture", Fixture("tool_rgb24.bmp", rgb)});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.out, "loaded 9x8 24-bit 0 colours\n");

  BmpFields indexed;
  indexed.width = 13;
  indexed.height = 10;
  indexed.bitCount = 8;
  indexed.entries = 16;
  run = RunTool({"picture", Fixture("tool_pal8.BMP", indexed)});  // extension case is ignored
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.out, "loaded 13x10 8-bit 16 colours\n");

  BmpFields noTable;
  noTable.bitCount = 4;
  run = RunTool({"picture", Fixture("tool_pal4_no_table.Bmp", noTable)});
  EXPECT_EQ(run.out, "loaded 9x8 4-bit 16 colours\n");

  BmpFields rgb32;
  rgb32.bitCount = 32;
  rgb32.offBits = 54;
  run = RunTool({"picture", Fixture("tool.rgb32.bmp", rgb32)});  // only the last '.' counts
  EXPECT_EQ(run.out, "loaded 9x8 32-bit 3 colours\n");
}

TEST(ToolPicture, RefusedFilesExitWithOne) {
  BmpFields tooSmall;
  tooSmall.width = 7;
  ToolRun run = RunTool({"picture", Fixture("tool_width7.bmp", tooSmall)});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.out, "refused\n");
  run = RunTool({"picture", TempPath("tool_missing.bmp")});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.out, "refused\n");
}

TEST(ToolPicture, DibOptionWritesTheBlockAsLoaded) {
  BmpFields fields;  // 4 bytes after the rows become entries 16 and 17 of the table
  fields.bitCount = 4;
  fields.entries = 16;
  fields.trailing = 8;
  std::string path = Fixture("tool_dib.bmp", fields);
  std::string out = TempPath("tool_dib.dib");
  ToolRun run = RunTool({"picture", path, "--dib", out});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.out, "loaded 9x8 4-bit 18 colours\n");

  PackedDib* picture = LoadBmp(path.c_str());
  ASSERT_NE(picture, nullptr);
  const auto* block = reinterpret_cast<const uint8_t*>(picture);
  Bytes want(block, block + 40 + 18 * 4 + 8 * 8);
  std::free(picture);
  EXPECT_EQ(ReadBytes(out), want);
  // The file's own bytes: its table from offset 54 and its rows, behind the rebuilt header.
  Bytes file = BuildBmp(fields);
  EXPECT_EQ(Bytes(want.begin() + 40, want.begin() + 40 + 72), Bytes(file.begin() + 54, file.begin() + 54 + 72));
  EXPECT_EQ(Bytes(want.begin() + 112, want.end()), Bytes(file.begin() + 118, file.begin() + 118 + 64));

  run = RunTool({"picture", path, "--dib", TempPath("no_such_folder/x.dib")});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_NE(run.err.find("cannot write"), std::string::npos) << run.err;
}

TEST(ToolPicture, OtherExtensionsAreUnsupported) {
  std::string bmpBytes = Fixture("tool_ext.bmp", BmpFields{});
  Bytes bytes = ReadBytes(bmpBytes);
  for (const char* name : {"tool_ext.png", "tool_ext.jpeg", "tool_ext", "tool_ext.bmp "}) {
    std::string path = WriteFixture(name, bytes, nullptr);
    ToolRun run = RunTool({"picture", path});
    EXPECT_EQ(run.exitCode, 2) << name;
    EXPECT_EQ(run.out, "unsupported extension\n") << name;
  }
}

TEST(ToolPicture, BadArgumentsGiveTheUsage) {
  std::string path = Fixture("tool_usage.bmp", BmpFields{});
  const std::vector<std::vector<std::string>> bad = {
      {"picture"},
      {"picture", path, path},
      {"picture", path, "--dib"},
      {"picture", path, "--dib", "a", "--dib", "b"},
      {"picture", path, "--frame", "0"},  // frames belong to GIF files
      {"picture", path, "--frame"},
      {"picture", path, "--size", "3"},
      {"pictures", path},
  };
  for (const std::vector<std::string>& args : bad) {
    ToolRun run = RunTool(args);
    std::string shown;
    for (const std::string& arg : args) shown += " " + arg;
    EXPECT_EQ(run.exitCode, 2) << shown;
    EXPECT_EQ(run.out, "") << shown;
    EXPECT_NE(run.err.find("usage"), std::string::npos) << shown << ": " << run.err;
  }
}

TEST(ToolPicture, FrameMustBeANumberFromZero) {
  std::string path = WriteFixture("tool_frame.gif", Bytes{'G', 'I', 'F'}, nullptr);
  for (const char* frame : {"-1", "x", "", "1x", "2147483648"}) {
    ToolRun run = RunTool({"picture", path, "--frame", frame});
    EXPECT_EQ(run.exitCode, 2) << frame;
    EXPECT_NE(run.err.find("usage"), std::string::npos) << frame;
  }
  for (const char* frame : {"0", "2147483647"}) {  // accepted: the answer is about the GIF file
    ToolRun run = RunTool({"picture", path, "--frame", frame});
    EXPECT_EQ(run.err, "") << frame;
  }
}

TEST(ToolPicture, JpegFilesGoToTheJpegReader) {
  JpegOptions grey;
  grey.width = 10;
  grey.height = 8;
  grey.components = 1;
  ToolRun run = RunTool({"picture", WriteFixture("tool_grey.JPG", EncodeJpeg(grey), nullptr)});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.out, "loaded 10x8 8-bit 256 colours\n");

  JpegOptions colour;
  colour.width = 9;
  colour.height = 8;
  colour.components = 3;
  run = RunTool({"picture", WriteFixture("tool_colour.jpg", EncodeJpeg(colour), nullptr)});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.out, "loaded 9x8 24-bit 0 colours\n");

  // A photo stored sideways with orientation 6 is described with its upright size.
  colour.width = 12;
  const Bytes sideways = WithApp1(EncodeJpeg(colour), OrientationPayload(6, true));
  run = RunTool({"picture", WriteFixture("tool_orientation6.jpg", sideways, nullptr)});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.out, "loaded 8x12 24-bit 0 colours\n");

  // A BMP file named .jpg goes to the JPEG reader, which refuses it.
  run = RunTool({"picture", WriteFixture("tool_bmp_named.jpg", ReadBytes(Fixture("tool_jpg_src.bmp", BmpFields{})), nullptr)});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.out, "refused\n");
}

TEST(ToolPicture, GifFilesListTheirProblemsThenThePicture) {
  TestGif gif;
  gif.width = 12;
  gif.height = 9;
  gif.globalColors = 4;
  for (int shift = 0; shift < 2; ++shift) {
    TestFrame frame;
    frame.width = 12;
    frame.height = 9;
    frame.minCodeSize = 2;
    for (int i = 0; i < 12 * 9; ++i) frame.pixels.push_back(static_cast<uint8_t>((i + shift) % 4));
    gif.frames.push_back(frame);
  }
  Bytes bytes = EncodeGif(gif);
  std::string clean = WriteFixture("tool_two.gif", bytes, nullptr);
  ToolRun run = RunTool({"picture", clean});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.out, "loaded 12x9 8-bit 4 colours\n");
  run = RunTool({"picture", clean, "--frame", "1"});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.out, "loaded 12x9 8-bit 4 colours\n");
  run = RunTool({"picture", clean, "--frame", "2"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.out, "refused\n");

  // Two stray bytes before the trailer: one problem, reported with the frame count so far.
  Bytes damaged(bytes.begin(), bytes.end() - 1);
  long offset = static_cast<long>(damaged.size());
  damaged.push_back(7);
  damaged.push_back(7);
  damaged.push_back(0x3B);
  run = RunTool({"picture", WriteFixture("tool_stray.GIF", damaged, nullptr)});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.out, "problem: unknown block type 7 at file offset " + std::to_string(offset) +
                         " (frame 2)\nloaded 12x9 8-bit 4 colours\n");

  run = RunTool({"picture", WriteFixture("tool_not.gif", Bytes{'G', 'I', 'X'}, nullptr)});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.out, "refused\n");
}
