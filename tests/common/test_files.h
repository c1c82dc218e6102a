// Files for tests: fixtures are built in memory by the tests and written to a private temporary
// folder; with WHIRLBOX_CORPUS set, each one is also kept as a starting input for the fuzz targets.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

using Bytes = std::vector<uint8_t>;

// A path for name inside this process's temporary folder (created on first use).
std::string TempPath(const std::string& name);

// Writes bytes to path, replacing the file; the test fails if that is impossible.
void WriteBytes(const std::string& path, const Bytes& bytes);

// The whole content of path; empty if it cannot be read.
Bytes ReadBytes(const std::string& path);

// With WHIRLBOX_CORPUS naming a folder, writes bytes as name into its subfolder corpus (the fuzz
// target's name without "fuzz_"); nothing otherwise.
void KeepInCorpus(const std::string& name, const Bytes& bytes, const char* corpus);

// Writes a fixture to TempPath(name) and, when WHIRLBOX_CORPUS names a folder, also into its
// subfolder corpus (the fuzz target's name without "fuzz_"). Returns the temporary path.
std::string WriteFixture(const std::string& name, const Bytes& bytes, const char* corpus);

// Little-endian appenders for building binary fixtures field by field.
void Put8(Bytes& out, unsigned value);
void Put16(Bytes& out, unsigned value);
void Put32(Bytes& out, uint32_t value);
