// The settings file in the Windows build: the numbers read as natively, the line reading agrees
// with the runtime's own text mode, and the file is replaced through the platform call.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "common/test_files.h"
#include "settings/file_replace.h"
#include "settings/number_cases.h"
#include "settings/settings_file.h"
#include "settings/settings_fixtures.h"
#include "settings/text_file.h"

TEST(SettingsFileWindows, NumbersReadAsInTheNativeBuild) {
  for (const NumberCase& number : kNumberCases) {
    std::string path = WriteSettingsFile("numbers.ini", SixNames() + number.text);
    LoadSettingsFrom(path.c_str(), kFakeReaders);
    EXPECT_EQ(SizeSetting, number.size) << "after \"" << number.text << "\"";
    EXPECT_EQ(SpeedSetting, number.speed) << "after \"" << number.text << "\"";
  }
}

static std::vector<std::string> RuntimeLines(const std::string& path) {
  std::vector<std::string> lines;
  std::FILE* file = std::fopen(path.c_str(), "rt");
  char line[260];
  while (file != nullptr && std::fgets(line, sizeof line, file) != nullptr) lines.push_back(line);
  if (file != nullptr) std::fclose(file);
  return lines;
}

static std::vector<std::string> OurLines(const std::string& path) {
  std::vector<std::string> lines;
  TextFile text;
  char line[260];
  if (!OpenTextFile(&text, path.c_str())) return lines;
  while (ReadTextLine(&text, line, sizeof line)) lines.push_back(line);
  CloseTextFile(&text);
  return lines;
}

TEST(SettingsFileWindows, LinesReadAsTheRuntimeTextModeReadsThem) {
  const std::string cases[] = {
      "a.bmp\r\nb.gif\r\n",
      "a.bmp\nb.gif",
      "a\rb.bmp\r\r\nc\r",
      "one\r\n\x1atwo\r\n",
      std::string(258, 'x') + "\r\n" + std::string(259, 'y') + "\r\n" + std::string(600, 'z') + "\n",
      std::string(259, 'x') + "\r" + "\n",
      "\r\n\r\n\n\r\r",
  };
  for (const std::string& bytes : cases) {
    std::string path = WriteSettingsFile("lines.ini", bytes);
    EXPECT_EQ(OurLines(path), RuntimeLines(path)) << "for " << bytes.size() << " bytes";
  }
}

TEST(SettingsFileWindows, AFolderCannotBeOpenedAsTheRuntimeCannot) {
  std::string folder = TempPath("opened-folder.ini");
  CreateDirectoryA(folder.c_str(), nullptr);
  EXPECT_EQ(std::fopen(folder.c_str(), "rt"), nullptr);
  TextFile text;
  EXPECT_FALSE(OpenTextFile(&text, folder.c_str()));
}

TEST(SettingsFileWindows, ReplaceOverwritesAFileButNeverAFolder) {
  std::string target = WriteSettingsFile("target.ini", "old\n");
  std::string written = WriteSettingsFile("target.ini.new", "new\n");
  EXPECT_EQ(ReplaceWithFile(target.c_str(), written.c_str()), kFileDone);
  Bytes now = ReadBytes(target);
  EXPECT_EQ(std::string(now.begin(), now.end()), "new\n");
  std::string folder = TempPath("folder.ini");
  CreateDirectoryA(folder.c_str(), nullptr);
  written = WriteSettingsFile("folder.ini.new", "new\n");
  EXPECT_NE(ReplaceWithFile(folder.c_str(), written.c_str()), kFileDone);
  EXPECT_NE(GetFileAttributesA(folder.c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);
}

TEST(SettingsFileWindows, FileHeldOpenWithoutDeleteSharingIsRewrittenInPlace) {
  // A program reading the settings file lets others write it but not replace it.
  std::string path = WriteSettingsFile("held.ini", SixNames() + "30 70\r\n");
  HANDLE held = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  std::string written = WriteSettingsFile("held.ini.new", "new\n");
  EXPECT_EQ(ReplaceWithFile(path.c_str(), written.c_str()), kFileRefused);
  LoadSettingsFrom(path.c_str(), kFakeReaders);
  SizeSetting = 10;
  SpeedSetting = 20;
  SaveSettingsTo(path.c_str());
  CloseHandle(held);
  Bytes now = ReadBytes(path);
  EXPECT_EQ(std::string(now.begin(), now.end()), SixNames("\r\n") + "10 20\r\n");
  EXPECT_EQ(GetFileAttributesA((path + ".new").c_str()), INVALID_FILE_ATTRIBUTES);
}
