// Settings files for tests and recording picture readers.
#include "settings/settings_fixtures.h"

#include "common/test_files.h"

std::vector<std::string> ReaderCalls;

// One shared picture: the loader keeps the pointers until exit, so nothing here is allocated.
static PackedDib fakePicture;

static PackedDib* Record(const char* kind, const char* path) {
  ReaderCalls.push_back(std::string(kind) + ":" + path);
  return std::string(path).find("broken") == std::string::npos ? &fakePicture : nullptr;
}

static PackedDib* FakeBmp(const char* path) { return Record("bmp", path); }
static PackedDib* FakeGif(const char* path) { return Record("gif", path); }
static PackedDib* FakeJpeg(const char* path) { return Record("jpg", path); }

const PictureReaders kFakeReaders = {FakeBmp, FakeGif, FakeJpeg};

void ClearReaderCalls() { ReaderCalls.clear(); }

std::string SixNames(const std::string& lineEnd) {
  std::string text;
  for (int n = 1; n <= 6; ++n) text += "face" + std::to_string(n) + ".bmp" + lineEnd;
  return text;
}

std::string WriteSettingsFile(const std::string& name, const std::string& text) {
  std::string path = TempPath(name);
  WriteBytes(path, Bytes(text.begin(), text.end()));
  return path;
}
