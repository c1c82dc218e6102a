// libFuzzer target for the settings file reader: each input is read as a settings file from memory
// (the six name lines, then "%i %i") and, when every name is good, also loaded from a file, saved and
// loaded again, which must all agree. Portable core only, plus POSIX fmemopen, stat and getpid.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "settings/derived_settings.h"
#include "settings/face_loads.h"
#include "settings/settings_file.h"
#include "settings/text_file.h"

namespace {

// What one reading of a settings file gave.
struct SettingsRead {
  char names[kFaceCount][kFaceNameSize];
  int size;
  int speed;
};

std::string settingsPath;  // this process's own file: fuzzers may run side by side

void Require(bool holds, const char* what) {
  if (!holds) {
    std::fprintf(stderr, "fuzz_settings: %s\n", what);
    std::abort();
  }
}

// Every load succeeds with an empty picture: the readers have fuzz targets of their own.
PackedDib* EmptyPicture(const char*) { return static_cast<PackedDib*>(std::calloc(1, sizeof(PackedDib))); }
const PictureReaders kEmptyReaders = {EmptyPicture, EmptyPicture, EmptyPicture, nullptr};

// Reads the names and numbers as LoadSettingsFrom does, without loading or ending the process.
// False at the first name line that LoadSettingsFrom would end with a fatal error.
bool ReadFromMemory(const uint8_t* data, size_t size, SettingsRead* read) {
  FILE* file = fmemopen(const_cast<uint8_t*>(data), size, "rb");
  Require(file != nullptr, "fmemopen failed");
  TextFile text = {file, nullptr, -1, -1, false, false};
  bool good = true;
  for (int i = 0; i < kFaceCount && good; ++i) {
    NameFault fault;
    FaceFormat format = ReadFaceName(&text, read->names[i], &fault);
    Require(std::strchr(read->names[i], '\n') == nullptr, "a name holds its line feed");
    Require((fault == kNameGood) == (format != kFaceNoFormat), "fault and format disagree");
    Require(fault != kNameGood || FaceFormatOf(read->names[i]) == format, "format of a good name");
    good = fault == kNameGood;
  }
  read->size = kDefaultSetting;
  read->speed = kDefaultSetting;
  if (good && ScanInt(&text, &read->size)) ScanInt(&text, &read->speed);
  read->size = ClampSetting(read->size);
  read->speed = ClampSetting(read->speed);
  CloseTextFile(&text);
  return good;
}

// LoadSettingsFrom(settingsPath) into read; the loaded (empty) pictures are freed.
void LoadFromFile(SettingsRead* read) {
  LoadSettingsFrom(settingsPath.c_str(), kEmptyReaders);
  for (int i = 0; i < kFaceCount; ++i) {
    Require(FacePictures[i] != nullptr, "a face without its picture");
    std::free(FacePictures[i]);
    FacePictures[i] = nullptr;
    std::memcpy(read->names[i], FaceFiles[i], kFaceNameSize);
  }
  Require(CubeHalfEdge == HalfEdgeForSize(SizeSetting) && FrameInterval == IntervalForSpeed(SpeedSetting),
          "derived settings");
  read->size = SizeSetting;
  read->speed = SpeedSetting;
}

void RequireSame(const SettingsRead& a, const SettingsRead& b, const char* what) {
  for (int i = 0; i < kFaceCount; ++i) Require(std::strcmp(a.names[i], b.names[i]) == 0, what);
  Require(a.size == b.size && a.speed == b.speed, what);
}

// The number rules of a command-line argument, over the input as a string (stops at a NUL).
void ScanArgument(const uint8_t* data, size_t size) {
  std::string argument(reinterpret_cast<const char*>(data), size);
  TextFile text = TextOfString(argument.c_str());
  int value = 0;
  while (ScanDecimalInt(&text, &value)) {
  }
}

}  // namespace

// A folder in memory where there is one: the save's fsync would otherwise cost more than the rest.
static std::string TemporaryFolder() {
  struct stat status;
  if (stat("/dev/shm", &status) == 0 && S_ISDIR(status.st_mode) && access("/dev/shm", W_OK) == 0) return "/dev/shm";
  const char* folder = std::getenv("TMPDIR");
  return folder != nullptr && *folder != '\0' ? folder : "/tmp";
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  settingsPath = TemporaryFolder() + "/fuzz_settings-" + std::to_string(getpid()) + ".ini";
  FaceLoadThreads = 1;  // the pictures are empty: no pool threads per input
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ScanArgument(data, size);
  static SettingsRead fromMemory, fromFile, saved;
  if (!ReadFromMemory(data, size, &fromMemory)) return 0;
  FILE* file = std::fopen(settingsPath.c_str(), "wb");
  Require(file != nullptr && std::fwrite(data, 1, size, file) == size && std::fclose(file) == 0,
          "cannot write the settings file");
  LoadFromFile(&fromFile);
  RequireSame(fromMemory, fromFile, "the file read differs from the memory read");
  // A name of 259 characters leaves its line end to be read as the next line, which then ends
  // the load with 559: such a file is not expected to read back.
  bool splitName = false;
  for (int i = 0; i < kFaceCount; ++i) {
    splitName = splitName || std::strlen(fromFile.names[i]) == kFaceNameSize - 1;
  }
  if (!splitName) {
    SaveSettingsTo(settingsPath.c_str());
    LoadFromFile(&saved);
    RequireSame(fromFile, saved, "the saved settings read back differently");
  }
  std::remove(settingsPath.c_str());
  return 0;
}
