// whirlbox-tool render, run as a program: its BMP frames hold exactly the back buffer that the frame
// steps compose in this process from the same files, for a chosen half edge and for the preview size.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <string>

#include "common/test_files.h"
#include "picture/readers.h"
#include "raster_reference.h"
#include "render/frame_step.h"
#include "saver_fixture.h"
#include "tool_run.h"

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
  std::string paths[kFaceCount];
  std::string arguments;
};

Faces MakeFaces() {
  std::mt19937 random(21);
  Faces faces;
  const int bits[kFaceCount] = {24, 8, 24, 8, 32, 4};
  for (int k = 0; k < kFaceCount; ++k) {
    faces.pictures[k] = MakePicture(12 + 5 * k, 20 - k, bits[k], 0, &random);
    faces.paths[k] = WriteBmp("render_face" + std::to_string(k) + ".bmp", faces.pictures[k]);
    faces.arguments += " " + faces.paths[k];
  }
  return faces;
}

// Composes frames 1..last in this process from the files as the reader loads them and expects each
// frame from first on to equal the tool's file byte for byte.
void ExpectFramesMatch(const Faces& faces, int width, int height, int halfEdge, int first, int last,
                       const std::string& dir) {
  PackedDib* loaded[kFaceCount];
  for (int k = 0; k < kFaceCount; ++k) loaded[k] = LoadBmp(faces.paths[k].c_str());
  for (PackedDib* picture : loaded) ASSERT_NE(picture, nullptr);
  StartSaver(width, height, halfEdge, loaded);
  for (int n = 1; n <= last; ++n) {
    ComposeFrame();
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
  ToolRun run = RunTool("render --view 150x110 --half-edge 30 --frames 2-4 --out " + dir + faces.arguments);
  ASSERT_EQ(run.exitCode, 0) << run.output;
  ExpectFramesMatch(faces, 150, 110, 30, 2, 4, dir);
}

TEST(ToolRender, PreviewTakesAnEighthOfTheViewHeight) {
  Faces faces = MakeFaces();
  std::string dir = TempPath("render_preview");
  ASSERT_EQ(std::system(("mkdir -p " + dir).c_str()), 0);
  ToolRun run = RunTool("render --view 152x112 --preview --frames 7 --out " + dir + faces.arguments);
  ASSERT_EQ(run.exitCode, 0) << run.output;
  ExpectFramesMatch(faces, 152, 112, 14, 7, 7, dir);
}

TEST(ToolRender, UnloadablePictureEndsLikeTheSaver) {
  Faces faces = MakeFaces();
  std::string missing = TempPath("no_such_face.bmp");
  ToolRun run = RunTool("render --view 64x48 --frames 1 --out " + TempPath("") + faces.arguments.substr(0, faces.arguments.rfind(' ')) + " " + missing);
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.output, "fatal 571\ncan't load image " + missing + "\n");
}

TEST(ToolRender, BadOptionsAreUsageErrors) {
  Faces faces = MakeFaces();
  for (const std::string& options : {std::string("--view 64x48 --frames 1"), std::string("--frames 1 --out /tmp"),
                                     std::string("--view 64x48 --frames 3-2 --out /tmp"),
                                     std::string("--view 64x48 --preview --half-edge 9 --frames 1 --out /tmp")}) {
    ToolRun run = RunTool("render " + options + faces.arguments);
    EXPECT_EQ(run.exitCode, 2) << options;
  }
  ToolRun fiveFaces = RunTool("render --view 64x48 --frames 1 --out /tmp" + faces.arguments.substr(0, faces.arguments.rfind(' ')));
  EXPECT_EQ(fiveFaces.exitCode, 2);
}
