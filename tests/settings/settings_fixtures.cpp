// Settings files for tests and recording picture readers.
#include "settings/settings_fixtures.h"

#include <cstdlib>
#include <functional>
#include <mutex>

#include "common/test_files.h"

std::vector<std::string> ReaderCalls;

// The readers run on the loader's threads. Each picture is a block of its own, since the loader
// frees those it loaded past a failed face; every block stays listed here, so none counts as a leak
// (the list itself is never destroyed: a fatal error's exit runs the leak check after destructors).
static std::mutex callsLock;
static std::vector<PackedDib*>& madePictures = *new std::vector<PackedDib*>;

static PackedDib* Record(const char* kind, const char* path) {
  std::lock_guard<std::mutex> held(callsLock);
  ReaderCalls.push_back(std::string(kind) + ":" + path);
  if (std::string(path).find("broken") != std::string::npos) return nullptr;
  madePictures.push_back(static_cast<PackedDib*>(std::calloc(1, sizeof(PackedDib))));
  return madePictures.back();
}

static PackedDib* FakeBmp(const char* path) { return Record("bmp", path); }
static PackedDib* FakeGif(const char* path) { return Record("gif", path); }
static PackedDib* FakeJpeg(const char* path) { return Record("jpg", path); }

const PictureReaders kFakeReaders = {FakeBmp, FakeGif, FakeJpeg, nullptr};

void ClearReaderCalls() { ReaderCalls.clear(); }

std::string SixNames(const std::string& lineEnd) {
  std::string text;
  for (int n = 1; n <= 6; ++n) text += "face" + std::to_string(n) + ".bmp" + lineEnd;
  return text;
}

std::string WriteSettingsFile(const std::string& name, const std::string& text) {
  std::string path = TempPath(name);
  Bytes bytes(text.begin(), text.end());
  WriteBytes(path, bytes);
  // Many tests reuse one name, so the fuzzing corpus names each file by its content.
  KeepInCorpus("settings-" + std::to_string(std::hash<std::string>{}(text)) + ".ini", bytes, "settings");
  return path;
}
