// Reading the settings file: every fatal error at every line, the 260-character line count, text
// mode, the name endings and the numbers.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "common/test_files.h"
#include "settings/death_test_helpers.h"
#include "settings/number_cases.h"
#include "settings/settings_file.h"
#include "settings/settings_fixtures.h"

static std::string Lines(int count) {
  std::string text;
  for (int n = 1; n <= count; ++n) text += "face" + std::to_string(n) + ".bmp\n";
  return text;
}

static void Load(const std::string& text) {
  ClearReaderCalls();
  LoadSettingsFrom(WriteSettingsFile("whirlbox.ini", text).c_str(), kFakeReaders);
}

static std::string BadEnding(int line, const std::string& name) {
  return "expected file name on line " + std::to_string(line) +
         " of whirlbox.ini\nto end in .bmp, .gif, or .jpg but found\n" + name;
}

TEST(SettingsFile, MissingFileOrAFolderEndsWith551) {
  EXPECT_FATAL(LoadSettingsFrom(TempPath("no-such.ini").c_str(), kFakeReaders), 551,
               "expected to find whirlbox.ini in folder C:\\Windows");
  std::filesystem::create_directories(TempPath("folder.ini"));
  EXPECT_FATAL(LoadSettingsFrom(TempPath("folder.ini").c_str(), kFakeReaders), 551,
               "expected to find whirlbox.ini in folder C:\\Windows");
}

TEST(SettingsFile, MissingLineEndsWith555ForThatLine) {
  for (int line = 1; line <= 6; ++line) {
    EXPECT_FATAL(Load(Lines(line - 1)), 555,
                 "read error on line " + std::to_string(line) + " of whirlbox.ini\nexpecting a file name");
  }
}

TEST(SettingsFile, ShortNamesEnd559AtEachLine) {
  for (int line = 1; line <= 6; ++line) {
    std::string message = "null file name on line " + std::to_string(line) + " of whirlbox.ini";
    EXPECT_FATAL(Load(Lines(line - 1) + "\n" + Lines(6)), 559, message);
    EXPECT_FATAL(Load(Lines(line - 1) + "a.b\n" + Lines(6)), 559, message);
  }
  Load(".gif\n" + Lines(5));  // four characters are enough
  EXPECT_STREQ(FaceFiles[0], ".gif");
}

TEST(SettingsFile, NameWithoutDotEnds561AtEachLine) {
  for (int line = 1; line <= 6; ++line) {
    EXPECT_FATAL(Load(Lines(line - 1) + "picture\n" + Lines(6)), 561, BadEnding(line, "picture"));
  }
}

TEST(SettingsFile, OtherEndingsEnd569) {
  for (int line = 1; line <= 6; ++line) {
    EXPECT_FATAL(Load(Lines(line - 1) + "face.jpeg\n" + Lines(6)), 569, BadEnding(line, "face.jpeg"));
  }
  EXPECT_FATAL(Load("face.bmp \n" + Lines(6)), 569, BadEnding(1, "face.bmp "));
  EXPECT_FATAL(Load("my.pictures/face\n" + Lines(6)), 569, BadEnding(1, "my.pictures/face"));
  EXPECT_FATAL(Load("face.png\n" + Lines(6)), 569, BadEnding(1, "face.png"));
  EXPECT_FATAL(Load("face.bmp.txt\n" + Lines(6)), 569, BadEnding(1, "face.bmp.txt"));
}

TEST(SettingsFile, UnloadablePictureEnds571AtEachLine) {
  for (int line = 1; line <= 6; ++line) {
    EXPECT_FATAL(Load(Lines(line - 1) + "broken.gif\n" + Lines(6)), 571, "can't load image broken.gif");
  }
}

TEST(SettingsFile, EndingChoosesTheReaderIgnoringCase) {
  Load("a.JPG\nb.Gif\nc.bMP\nd.jpg\nin.a.folder/e.gif\nf.BMP\n");
  std::vector<std::string> want = {"bmp:c.bMP", "bmp:f.BMP", "gif:b.Gif", "gif:in.a.folder/e.gif", "jpg:a.JPG",
                                   "jpg:d.jpg"};
  std::sort(ReaderCalls.begin(), ReaderCalls.end());  // the loads run side by side, in any order
  EXPECT_EQ(ReaderCalls, want);
  EXPECT_STREQ(FaceFiles[4], "in.a.folder/e.gif");
  for (int i = 0; i < kFaceCount; ++i) EXPECT_NE(FacePictures[i], nullptr) << "face " << i + 1;
}

TEST(SettingsFile, BlanksAreKeptInNames) {
  Load(" a b.bmp\n" + Lines(5));
  EXPECT_STREQ(FaceFiles[0], " a b.bmp");
}

TEST(SettingsFile, CrLfIsOneLineEndButALoneCrStaysInTheName) {
  Load(SixNames("\r\n") + "30 70\r\n");
  EXPECT_STREQ(FaceFiles[5], "face6.bmp");
  EXPECT_EQ(SizeSetting, 30);
  EXPECT_EQ(SpeedSetting, 70);
  Load("a\rb.bmp\n" + Lines(5));
  EXPECT_STREQ(FaceFiles[0], "a\rb.bmp");
  EXPECT_FATAL(Load("face.bmp\r\r\n" + Lines(5)), 569, BadEnding(1, "face.bmp\r"));
}

TEST(SettingsFile, CtrlZEndsTheFile) {
  EXPECT_FATAL(Load(Lines(3) + "\x1a" + Lines(3)), 555,
               "read error on line 4 of whirlbox.ini\nexpecting a file name");
}

TEST(SettingsFile, LineOfAtMost258CharactersAndItsLineEndIsOneName) {
  std::string name = std::string(254, 'n') + ".bmp";  // 258 characters
  Load(name + "\r\n" + Lines(5));
  EXPECT_EQ(std::string(FaceFiles[0]), name);
  EXPECT_STREQ(FaceFiles[1], "face1.bmp");
  Load(name + "\n" + Lines(5));
  EXPECT_EQ(std::string(FaceFiles[0]), name);
}

TEST(SettingsFile, LineOf259CharactersIsSplit) {
  std::string name = std::string(255, 'n') + ".bmp";  // 259 characters: the line feed is left over
  EXPECT_FATAL(Load(name + "\n" + Lines(5)), 559, "null file name on line 2 of whirlbox.ini");
  EXPECT_FATAL(Load(name + "\r\n" + Lines(5)), 559, "null file name on line 2 of whirlbox.ini");
  Load(name + "x.gif\n" + Lines(4));  // the rest of the line is the second name
  EXPECT_EQ(std::string(FaceFiles[0]), name);
  EXPECT_STREQ(FaceFiles[1], "x.gif");
  EXPECT_STREQ(FaceFiles[5], "face4.bmp");
}

TEST(SettingsFile, NumbersReadAsScanfIDefines) {
  for (const NumberCase& number : kNumberCases) {
    Load(SixNames() + number.text);
    EXPECT_EQ(SizeSetting, number.size) << "after \"" << number.text << "\"";
    EXPECT_EQ(SpeedSetting, number.speed) << "after \"" << number.text << "\"";
  }
}

TEST(SettingsFile, OnlySixNamesGiveTheMiddleCube) {
  Load(SixNames());
  EXPECT_EQ(CubeHalfEdge, 122);
  EXPECT_EQ(FrameInterval, 106);
  Load(SixNames() + "150 -3");
  EXPECT_EQ(CubeHalfEdge, 480);
  EXPECT_EQ(FrameInterval, 501);
}
