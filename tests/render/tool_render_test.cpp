// whirlbox-tool render, run as a program: its BMP frames hold exactly the back buffer that the frame
// steps compose in this process from the same files, for a chosen half edge and for the preview size.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "common/test_files.h"
#include "picture/readers.h"
#include "raster_reference.h"
#include "render/draw_cube.h"
#include "saver_fixture.h"
#include "common/gif_encoder.h"
#include "common/jpeg_codec.h"
#include "settings/settings_file.h"
#include "tools/tool_run.h"

namespace {

// A .bmp file holding picture: the file header, then the packed DIB exactly as it lies in memory.
std::string WriteBmp(const std::string& name, TestPicture& picture) {
  const PackedDib* header = picture.header();
  uint32_t pixelsAt = 54 + 4 * static_cast<uint32_t>(DibColorCount(header));
  Bytes bytes;
  Put8(bytes, 'B');
  Put8(bytes, 'M');
  Put32(bytes, pixelsAt + header->biSizeImage);  // bfSize
  Put32(bytes, 0);                                // bfReserved1, bfReserved2
  Put32(bytes, pixelsAt);                         // bfOffBits
  const uint8_t* block = reinterpret_cast<const uint8_t*>(header);
  bytes.insert(bytes.end(), block, block + (pixelsAt - 14) + header->biSizeImage);
  return WriteFixture(name, bytes, "bmp");
}

struct Faces {
  TestPicture pictures[kFaceCount];
  std::vector<std::string> paths;
};

// Four BMP faces of different depths, one GIF and one JPEG, each read by its own reader.
Faces MakeFaces() {
  std::mt19937 random(21);
  Faces faces;
  const int bits[kFaceCount] = {24, 8, 24, 8, 32, 4};
  for (int k = 0; k < kFaceCount; ++k) {
    std::string name = "render_face" + std::to_string(k);
    if (k == 1) {
      TestGif gif;
      gif.width = 17;
      gif.height = 13;
      TestFrame frame;
      frame.width = 17;
      frame.height = 13;
      for (int i = 0; i < 17 * 13; ++i) frame.pixels.push_back(static_cast<uint8_t>(random()));
      gif.frames.push_back(frame);
      faces.paths.push_back(WriteFixture(name + ".gif", EncodeGif(gif), "gif"));
    } else if (k == 3) {
      JpegOptions options;
      options.width = 24;
      options.height = 20;
      faces.paths.push_back(WriteFixture(name + ".jpg", EncodeJpeg(options), "jpeg"));
    } else {
      faces.pictures[k] = MakePicture(12 + 5 * k, 20 - k, bits[k], 0, &random);
      faces.paths.push_back(WriteBmp(name + ".bmp", faces.pictures[k]));
    }
  }
  return faces;
}

std::vector<std::string> RenderArgs(const std::vector<std::string>& options, const Faces& faces, int count = kFaceCount) {
  std::vector<std::string> args = {"render"};
  args.insert(args.end(), options.begin(), options.end());
  args.insert(args.end(), faces.paths.begin(), faces.paths.begin() + count);
  return args;
}

PackedDib* LoadByName(const std::string& path) {
  switch (FaceFormatOf(path.c_str())) {
    case kFaceBmp: return LoadBmp(path.c_str());
    case kFaceGif: return LoadGif(path.c_str());
    case kFaceJpeg: return LoadJpeg(path.c_str());
    default: return nullptr;
  }
}

// Composes frames 1..last in this process from the files as the reader loads them and expects each
// frame from first on to equal the tool's file byte for byte.
void ExpectFramesMatch(const Faces& faces, int width, int height, int halfEdge, int first, int last,
                       const std::string& dir) {
  PackedDib* loaded[kFaceCount];
  for (int k = 0; k < kFaceCount; ++k) loaded[k] = LoadByName(faces.paths[k]);
  for (PackedDib* picture : loaded) ASSERT_NE(picture, nullptr);
  StartSaver(width, height, halfEdge, loaded);
  for (int n = 1; n <= last; ++n) {
    DrawCube();
    char name[32];
    std::snprintf(name, sizeof name, "/frame-%04d.bmp", n);
    Bytes file = ReadBytes(dir + name);
    if (n < first) {
      EXPECT_TRUE(file.empty()) << name << " was written";
      continue;
    }
    size_t pixels = static_cast<size_t>(BackSurface.stride) * static_cast<size_t>(height);
    ASSERT_EQ(file.size(), 54 + pixels) << name;
    EXPECT_EQ(file[28], 24) << name << " bit count";
    EXPECT_EQ(file[18] | (file[19] << 8), width) << name;
    EXPECT_EQ(file[22] | (file[23] << 8), height) << name;
    EXPECT_TRUE(std::equal(file.begin() + 54, file.end(), BackSurface.bits)) << name << " pixels differ";
  }
  for (PackedDib* picture : loaded) std::free(picture);
}

}  // namespace

TEST(ToolRender, FramesEqualTheComposedBackBuffer) {
  Faces faces = MakeFaces();
  std::string dir = TempPath("render_frames");
  ASSERT_EQ(std::system(("mkdir -p " + dir).c_str()), 0);
  ToolRun run = RunTool(RenderArgs({"--view", "150x110", "--half-edge", "30", "--frames", "2-4", "--out", dir}, faces));
  ASSERT_EQ(run.exitCode, 0) << run.err;
  ExpectFramesMatch(faces, 150, 110, 30, 2, 4, dir);
}

TEST(ToolRender, PreviewTakesAnEighthOfTheViewHeight) {
  Faces faces = MakeFaces();
  std::string dir = TempPath("render_preview");
  ASSERT_EQ(std::system(("mkdir -p " + dir).c_str()), 0);
  ToolRun run = RunTool(RenderArgs({"--view", "152x112", "--preview", "--frames", "7", "--out", dir}, faces));
  ASSERT_EQ(run.exitCode, 0) << run.err;
  ExpectFramesMatch(faces, 152, 112, 14, 7, 7, dir);
}

TEST(ToolRender, UnloadablePictureEndsLikeTheSaver) {
  Faces faces = MakeFaces();
  const std::vector<std::string> options = {"--view", "64x48", "--frames", "1", "--out", TempPath("")};
  for (const char* name : {"no_such_face.bmp", "no_such_face.GIF", "no_such_face.jpg"}) {
    std::vector<std::string> args = RenderArgs(options, faces, kFaceCount - 1);
    args.push_back(TempPath(name));
    ToolRun run = RunTool(args);
    EXPECT_EQ(run.exitCode, 1) << name;
    EXPECT_EQ(run.out, "fatal 571\ncan't load image " + TempPath(name) + "\n");
  }
  std::vector<std::string> args = RenderArgs(options, faces, kFaceCount - 1);
  args.push_back("face.png");
  ToolRun other = RunTool(args);
  EXPECT_EQ(other.exitCode, 1);
  EXPECT_EQ(other.out, "");
  EXPECT_NE(other.err, "");
}

TEST(ToolRender, BadOptionsAreUsageErrors) {
  Faces faces = MakeFaces();
  const std::vector<std::vector<std::string>> cases = {
      {"--view", "64x48", "--frames", "1"},
      {"--frames", "1", "--out", "/tmp"},
      {"--view", "64x48", "--frames", "3-2", "--out", "/tmp"},
      {"--view", "64x48", "--preview", "--half-edge", "9", "--frames", "1", "--out", "/tmp"}};
  for (const std::vector<std::string>& options : cases) {
    EXPECT_EQ(RunTool(RenderArgs(options, faces)).exitCode, 2) << options[0] << " " << options[1];
  }
  EXPECT_EQ(RunTool(RenderArgs({"--view", "64x48", "--frames", "1", "--out", "/tmp"}, faces, 5)).exitCode, 2);
}

TEST(ToolRender, SettingsFileGivesTheFacesAndTheHalfEdge) {
  Faces faces = MakeFaces();
  // Size 10 gives a half edge of 36.
  std::string settings;
  for (const std::string& path : faces.paths) settings += path + "\n";
  settings += "10 90\n";
  std::string file = WriteFixture("render_settings.ini", Bytes(settings.begin(), settings.end()), nullptr);
  std::string dir = TempPath("render_settings/new_folder");  // a folder that does not exist yet
  ToolRun run = RunTool({"render", "--view", "150x110", "--frames", "3", "--out", dir, "--settings", file});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  ExpectFramesMatch(faces, 150, 110, 36, 3, 3, dir);

  std::string preview = TempPath("render_settings_preview");
  run = RunTool({"render", "--view", "152x112", "--preview", "--frames", "2", "--out", preview, "--settings", file});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  ExpectFramesMatch(faces, 152, 112, 14, 2, 2, preview);

  // The settings file's own fatal errors end the tool as they end the saver.
  run = RunTool({"render", "--view", "64x48", "--frames", "1", "--out", dir, "--settings", TempPath("no.ini")});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.out.rfind("fatal 551\n", 0), 0u) << run.out;
  // Faces or --half-edge beside --settings are usage errors.
  EXPECT_EQ(RunTool({"render", "--view", "64x48", "--frames", "1", "--out", dir, "--settings", file, "--half-edge",
                     "9"}).exitCode, 2);
  EXPECT_EQ(RunTool({"render", "--view", "64x48", "--frames", "1", "--out", dir, "--settings", file,
                     faces.paths[0]}).exitCode, 2);
}
