// Writing the settings file: what is written, the round trip, and that a failed write keeps the
// old file whole.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "common/test_files.h"
#include "settings/death_test_helpers.h"
#include "settings/settings_file.h"
#include "settings/settings_fixtures.h"

static const char kWriteFailure[] = "can't write whirlbox.ini in folder C:\\Windows";

static void SetGlobals(const char* stem, int size, int speed) {
  const char* endings[] = {".bmp", ".GIF", ".jpg", ".gif", ".BMP", ".Jpg"};
  for (int i = 0; i < kFaceCount; ++i) {
    std::snprintf(FaceFiles[i], kFaceNameSize, "%s %d%s", stem, i + 1, endings[i]);
  }
  SizeSetting = size;
  SpeedSetting = speed;
}

static std::string Text(const Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }

TEST(SettingsWriter, WritesSevenLinesAndReadsBackTheSame) {
  std::string path = TempPath("round-trip.ini");
  SetGlobals("c:\\my pictures\\face", 7, 93);
  SaveSettingsTo(path.c_str());
  EXPECT_EQ(Text(ReadBytes(path)),
            "c:\\my pictures\\face 1.bmp\nc:\\my pictures\\face 2.GIF\nc:\\my pictures\\face 3.jpg\n"
            "c:\\my pictures\\face 4.gif\nc:\\my pictures\\face 5.BMP\nc:\\my pictures\\face 6.Jpg\n7 93\n");
  char saved[kFaceCount][kFaceNameSize];
  std::memcpy(saved, FaceFiles, sizeof saved);
  SetGlobals("other", 0, 0);
  LoadSettingsFrom(path.c_str(), kFakeReaders);
  for (int i = 0; i < kFaceCount; ++i) EXPECT_STREQ(FaceFiles[i], saved[i]);
  EXPECT_EQ(SizeSetting, 7);
  EXPECT_EQ(SpeedSetting, 93);
  EXPECT_FALSE(std::filesystem::exists(path + ".new"));
}

TEST(SettingsWriter, ReplacesAnExistingFile) {
  std::string path = WriteSettingsFile("existing.ini", std::string(5000, 'x'));
  SetGlobals("f", 50, 50);
  SaveSettingsTo(path.c_str());
  EXPECT_EQ(Text(ReadBytes(path)), "f 1.bmp\nf 2.GIF\nf 3.jpg\nf 4.gif\nf 5.BMP\nf 6.Jpg\n50 50\n");
}

// The child may write only 100 bytes to any file: the write stops half-way, as on a full disk.
static void SaveWithFileSizeLimit(const std::string& path) {
  std::signal(SIGXFSZ, SIG_IGN);
  rlimit limit = {100, 100};
  setrlimit(RLIMIT_FSIZE, &limit);
  SaveSettingsTo(path.c_str());
}

TEST(SettingsWriter, WriteFailingHalfWayKeepsTheOldFile) {
  std::string old = SixNames() + "30 70\n";
  std::string path = WriteSettingsFile("half-way.ini", old);
  SetGlobals(std::string(60, 'p').c_str(), 10, 20);  // about 400 bytes
  EXPECT_FATAL(SaveWithFileSizeLimit(path), 336, kWriteFailure);
  EXPECT_EQ(Text(ReadBytes(path)), old);
  EXPECT_FALSE(std::filesystem::exists(path + ".new"));
}

TEST(SettingsWriter, FailedReplaceKeepsTheTargetAndRemovesTheNewFile) {
  std::string path = TempPath("a-folder.ini");
  std::filesystem::create_directories(path + "/inside");  // a folder cannot be replaced by a file
  SetGlobals("f", 50, 50);
  EXPECT_FATAL(SaveSettingsTo(path.c_str()), 336, kWriteFailure);
  EXPECT_TRUE(std::filesystem::is_directory(path + "/inside"));
  EXPECT_FALSE(std::filesystem::exists(path + ".new"));
}

// Permission bits refuse nothing to root: the child gives root up first, so that the folder refuses
// it new files as it would a standard user.
static void SaveAsStandardUser(const std::string& path) {
  if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) std::exit(2);
  SaveSettingsTo(path.c_str());
  std::exit(0);
}

TEST(SettingsWriter, FolderRefusingNewFilesHasTheFileRewrittenInPlace) {
  namespace fs = std::filesystem;
  std::string folder = TempPath("refusing");
  fs::create_directories(folder);
  std::string path = WriteSettingsFile("refusing/whirlbox.ini", SixNames() + "30 70\n");
  fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_all | fs::perms::others_all);
  fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                              fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);
  SetGlobals("f", 10, 20);
  EXPECT_EXIT(SaveAsStandardUser(path), ::testing::ExitedWithCode(0), "");
  EXPECT_EQ(Text(ReadBytes(path)), "f 1.bmp\nf 2.GIF\nf 3.jpg\nf 4.gif\nf 5.BMP\nf 6.Jpg\n10 20\n");
  EXPECT_FALSE(fs::exists(path + ".new"));
  // Neither a new file nor the old one may be written: 336 as before.
  fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  EXPECT_FATAL(SaveAsStandardUser(path), 336, kWriteFailure);
  fs::permissions(folder, fs::perms::owner_all);
}

TEST(SettingsWriter, MissingFolderEndsWith336) {
  SetGlobals("f", 50, 50);
  EXPECT_FATAL(SaveSettingsTo(TempPath("no-folder/whirlbox.ini").c_str()), 336, kWriteFailure);
}
