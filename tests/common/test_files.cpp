// Fixture files for tests, and the corpus the fuzz targets start from.
#include "common/test_files.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

static fs::path TempFolder() {
  static fs::path folder;
  if (folder.empty()) {
    const ::testing::UnitTest* unit = ::testing::UnitTest::GetInstance();
    std::string tag = "whirlbox-test-" + std::to_string(unit->random_seed()) + "-" +
                      std::to_string(reinterpret_cast<uintptr_t>(&folder) & 0xffff) + "-" +
                      std::to_string(std::rand());
    folder = fs::temp_directory_path() / tag;
    fs::create_directories(folder);
  }
  return folder;
}

std::string TempPath(const std::string& name) { return (TempFolder() / name).string(); }

void WriteBytes(const std::string& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  ASSERT_TRUE(out.good()) << "cannot create " << path;
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  ASSERT_TRUE(out.good()) << "cannot write " << path;
}

Bytes ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return {};
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void KeepInCorpus(const std::string& name, const Bytes& bytes, const char* corpus) {
  const char* root = std::getenv("WHIRLBOX_CORPUS");
  if (root != nullptr && *root != '\0' && corpus != nullptr) {
    fs::path folder = fs::path(root) / corpus;
    std::error_code ignored;
    fs::create_directories(folder, ignored);
    WriteBytes((folder / name).string(), bytes);
  }
}

std::string WriteFixture(const std::string& name, const Bytes& bytes, const char* corpus) {
  std::string path = TempPath(name);
  WriteBytes(path, bytes);
  KeepInCorpus(name, bytes, corpus);
  return path;
}

void Put8(Bytes& out, unsigned value) { out.push_back(static_cast<uint8_t>(value)); }

void Put16(Bytes& out, unsigned value) {
  out.push_back(static_cast<uint8_t>(value));
  out.push_back(static_cast<uint8_t>(value >> 8));
}

void Put32(Bytes& out, uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<uint8_t>(value >> shift));
}
