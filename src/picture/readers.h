// The three picture readers the settings loader chooses by file-name extension (LoadBmp, LoadGif,
// LoadJpeg), each declared beside its definition. Each takes the path exactly as the settings file
// gives it and returns a new PackedDib owned by the caller, or null, with no message of its own.
#pragma once
#include "picture/bmp_reader.h"
#include "picture/gif_loader.h"
#include "picture/jpeg_reader.h"
