// What the JPEG reader's tests share: loading a fixture and comparing a picture with the library's
// own decode of its file. Portable test code (also built by MinGW).
#pragma once
#include <cstdlib>
#include <memory>
#include <string>

#include "common/jpeg_codec.h"
#include "picture/packed_dib.h"

using Picture = std::unique_ptr<PackedDib, void (*)(void*)>;

// Writes file as the fixture name (kept in the "jpeg" corpus) and loads it with LoadJpeg.
Picture LoadFixture(const std::string& name, const Bytes& file);

// "" if picture holds exactly the reference's pixels (bottom-up rows, blue and red exchanged in
// colour pictures, zero bytes after each row's pixels); otherwise the first difference.
std::string DescribeMismatch(const PackedDib* picture, const ReferenceImage& want);
