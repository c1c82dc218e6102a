// libFuzzer target: ParseGifFile over the bytes in memory with a problem hook that checks every
// message it gets; inputs beyond fuzz_gif_limits.h's bounds are skipped. Uses the GIF parser's
// public functions only.
#include <stdio_ext.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "fuzz_gif_limits.h"
#include "picture/gif_parser.h"

static void CheckProblem(const char* message, int frameIndex, void* value) {
  if (message == nullptr || std::strlen(message) == 0 || frameIndex < 0) std::abort();
  *static_cast<uint32_t*>(value) += 1;
}

// Aborts unless every row of the frame is laid out and readable (AddressSanitizer checks each byte)
// and the row table ends in null. The check is not the code under test, so it is built without the
// fuzzer's coverage: a traced comparison per pixel would cost more than the decoding.
__attribute__((no_sanitize("coverage"))) static void CheckFrameRows(const GifFrame* frame) {
  uint32_t sum = 0;
  for (int r = 0; r < frame->height; ++r) {
    for (int k = 0; k < frame->width; ++k) sum += frame->rows[r][k];
  }
  if (frame->rows[frame->height] != nullptr || sum == UINT32_MAX) std::abort();
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  SetFuzzLimits();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0 || !FuzzInputTaken(data, size)) return 0;
  FILE* file = fmemopen(const_cast<uint8_t*>(data), size, "rb");
  if (file == nullptr) return 0;
  __fsetlocking(file, FSETLOCKING_BYCALLER);  // only this thread reads it: no lock per byte
  uint32_t reported = 0;
  GifContents* contents = ParseGifFile(file, CheckProblem, &reported);
  std::fclose(file);
  if (contents == nullptr) return 0;
  // The count matches the hook's calls, except that trailing garbage alone is counted back to 0.
  if (contents->errorCount != reported && !(contents->errorCount == 0 && reported == 1)) std::abort();
  for (int32_t i = 0; i < contents->frameCount; ++i) CheckFrameRows(contents->frames[i]);
  ReleaseGif(contents);
  return 0;
}
