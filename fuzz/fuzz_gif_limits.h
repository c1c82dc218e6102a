// Memory bounds shared by the GIF fuzz targets: the parse keeps every frame, so blocks of at most
// 1 MiB and inputs of at most 8 KiB (some 600 frame descriptors) keep a run far below the fuzzer's
// memory limit. Larger blocks take the allocation-failure path, as a too-large file does anyway.
#pragma once
#include <cstddef>
#include <cstdint>

#include "picture/gif_parser.h"

const size_t kFuzzLargestInput = 8192;

inline void SetFuzzLimits() { GifLargestBlock = int64_t{1} << 20; }
