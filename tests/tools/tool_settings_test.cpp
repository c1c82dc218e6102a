// whirlbox-tool settings, run as a program in a folder of fixture pictures: the derived values and
// names it prints, and the fatal errors exactly as the saver would show them.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "common/test_files.h"
#include "picture/bmp_builder.h"

struct SettingsRun {
  int exitCode;
  std::string out;
};

// A folder holding face.bmp and the settings file with text; the tool runs inside it, so the names
// in the file are relative to it.
static SettingsRun RunInFolder(const std::string& folderName, const std::string& text) {
  std::string folder = TempPath(folderName);
  std::filesystem::create_directories(folder + "/sub.dir");
  WriteBytes(folder + "/face.bmp", BuildBmp(BmpFields()));
  WriteBytes(folder + "/sub.dir/FACE.BMP", BuildBmp(BmpFields()));
  WriteBytes(folder + "/my.ini", Bytes(text.begin(), text.end()));
  std::string command = "cd '" + folder + "' && '" WHIRLBOX_TOOL "' settings my.ini 2>/dev/null";
  SettingsRun run{-1, ""};
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return run;
  char buffer[256];
  size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) run.out.append(buffer, got);
  int status = pclose(pipe);
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

TEST(ToolSettings, PrintsTheDerivedValuesAndTheSixNames) {
  SettingsRun run = RunInFolder("tool-good", "face.bmp\r\nsub.dir/FACE.BMP\r\nface.bmp\r\nface.bmp\r\n"
                                             "./face.bmp\r\nface.bmp\r\n25 0x4b\r\n");
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.out,
            "size 25 speed 75 half-edge 53 interval 46\nface 1: face.bmp\nface 2: sub.dir/FACE.BMP\n"
            "face 3: face.bmp\nface 4: face.bmp\nface 5: ./face.bmp\nface 6: face.bmp\n");
  run = RunInFolder("tool-default", "face.bmp\nface.bmp\nface.bmp\nface.bmp\nface.bmp\nface.bmp\n");
  EXPECT_EQ(run.out.substr(0, run.out.find('\n')), "size 50 speed 50 half-edge 122 interval 106");
}

TEST(ToolSettings, FatalErrorsAreTheSaversOwn) {
  SettingsRun run = RunInFolder("tool-missing", "face.bmp\nface.bmp\nmissing.bmp\n");
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.out, "fatal 571\ncan't load image missing.bmp\n");
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
  std::string command = "'" WHIRLBOX_TOOL "' settings '" + TempPath("none.ini") + "'";
  FILE* pipe = popen(command.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  char buffer[256] = {};
  size_t got = std::fread(buffer, 1, sizeof buffer - 1, pipe);
  int status = pclose(pipe);
  EXPECT_EQ(std::string(buffer, got), "fatal 551\nexpected to find whirlbox.ini in folder C:\\Windows\n");
  EXPECT_EQ(WEXITSTATUS(status), 1);
  EXPECT_EQ(WEXITSTATUS(std::system("'" WHIRLBOX_TOOL "' settings 2>/dev/null")), 2);
  EXPECT_EQ(WEXITSTATUS(std::system("'" WHIRLBOX_TOOL "' settings a b 2>/dev/null")), 2);
}
