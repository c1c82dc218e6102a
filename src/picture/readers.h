// The three picture readers the settings loader chooses by file-name extension. Each takes the
// path exactly as the settings file gives it and returns a new PackedDib owned by the caller (free
// it with std::free), or null for every failure, with no message of its own.
#pragma once
#include "picture/packed_dib.h"

PackedDib* LoadBmp(const char* path);   // picture/bmp_reader.cpp
PackedDib* LoadJpeg(const char* path);  // picture/jpeg_reader.cpp
PackedDib* LoadGif(const char* path);   // picture/gif_loader.cpp
