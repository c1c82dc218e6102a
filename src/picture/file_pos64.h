// 64-bit file lengths and seeks for the picture readers, so files beyond 2 GiB are measured right
// also where long has 32 bits (every Windows build). Standard runtime only; no Windows headers.
#pragma once
#include <cstdint>
#include <cstdio>

// The length of an open file in bytes, taken by seeking to its end and back to its start; -1 if
// the runtime cannot tell.
int64_t FileLength64(FILE* file);

// Seeks to offset bytes from the start of the file; false if the runtime refuses.
bool SeekFile64(FILE* file, int64_t offset);
