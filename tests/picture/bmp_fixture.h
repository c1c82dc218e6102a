// Loads BMP fixtures for the reader's tests, with the calloc probe reset just before the load so
// it sees only the reader's own allocations. Test code only.
#pragma once
#include <cstdlib>
#include <memory>
#include <string>

#include "common/test_files.h"
#include "picture/win_records.h"

// A loaded picture, freed with std::free when the test is done with it.
using PictureOwner = std::unique_ptr<PackedDib, void (*)(void*)>;

// Writes bytes as the fixture name + ".bmp" (kept as a fuzz starting input) and loads it with LoadBmp.
PictureOwner LoadBmpFixture(const std::string& name, const Bytes& bytes);
