// whirlbox-tool settings, run as a program in a folder of fixture pictures: the derived values and
// names it prints, and the fatal errors exactly as the saver would show them.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "common/test_files.h"
#include "common/bmp_builder.h"
#include "common/gif_encoder.h"
#include "common/jpeg_codec.h"
#include "tools/tool_run.h"

// A folder holding a picture of each kind and the settings file my.ini with text; the tool runs inside it, so the
// names in the file are relative to it.
static ToolRun RunInFolder(const std::string& folderName, const std::string& text) {
  std::string folder = TempPath(folderName);
  std::filesystem::create_directories(folder + "/sub.dir");
  WriteBytes(folder + "/face.bmp", BuildBmp(BmpFields()));
  WriteBytes(folder + "/sub.dir/FACE.BMP", BuildBmp(BmpFields()));
  WriteBytes(folder + "/face.JPG", EncodeJpeg(JpegOptions()));
  WriteBytes(folder + "/jpeg.gif", EncodeJpeg(JpegOptions()));  // the name, not the content, picks the reader
  TestGif gif;
  gif.width = 8;
  gif.height = 8;
  gif.frames.push_back(TestFrame());
  gif.frames[0].width = 8;
  gif.frames[0].height = 8;
  gif.frames[0].pixels.assign(64, 3);
  WriteBytes(folder + "/face.gif", EncodeGif(gif));
  WriteBytes(folder + "/my.ini", Bytes(text.begin(), text.end()));
  return RunTool({"settings", "my.ini"}, folder);
}

TEST(ToolSettings, PrintsTheDerivedValuesAndTheSixNames) {
  ToolRun run = RunInFolder("tool-good", "face.bmp\r\nsub.dir/FACE.BMP\r\nface.JPG\r\nface.gif\r\n"
                                         "./face.bmp\r\nface.bmp\r\n25 0x4b\r\n");
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.out,
            "size 25 speed 75 half-edge 53 interval 46\nface 1: face.bmp\nface 2: sub.dir/FACE.BMP\n"
            "face 3: face.JPG\nface 4: face.gif\nface 5: ./face.bmp\nface 6: face.bmp\n");
  run = RunInFolder("tool-default", "face.bmp\nface.bmp\nface.bmp\nface.bmp\nface.bmp\nface.bmp\n");
  EXPECT_EQ(run.out.substr(0, run.out.find('\n')), "size 50 speed 50 half-edge 122 interval 106");
}

TEST(ToolSettings, FatalErrorsAreTheSaversOwn) {
  ToolRun run = RunInFolder("tool-missing", "face.bmp\nface.bmp\nmissing.bmp\n");
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.out, "fatal 571\ncan't load image missing.bmp\n");
  run = RunInFolder("tool-wrong-reader", "jpeg.gif\n");
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.out, "fatal 571\ncan't load image jpeg.gif\n");
  run = RunInFolder("tool-short", "face.bmp\nface.bmp\n");
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.out, "fatal 555\nread error on line 3 of whirlbox.ini\nexpecting a file name\n");
  run = RunInFolder("tool-no-dot", "face.bmp\nfacebmp\n");
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.out,
            "fatal 561\nexpected file name on line 2 of whirlbox.ini\nto end in .bmp, .gif, or .jpg but found\n"
            "facebmp\n");
}

TEST(ToolSettings, MissingFileAndBadArguments) {
  ToolRun run = RunTool({"settings", TempPath("none.ini")});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.out, "fatal 551\nexpected to find whirlbox.ini in folder C:\\Windows\n");
  EXPECT_EQ(RunTool({"settings"}).exitCode, 2);
  EXPECT_EQ(RunTool({"settings", "a", "b"}).exitCode, 2);
}
