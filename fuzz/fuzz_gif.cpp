// libFuzzer target: ReadGif on arbitrary bytes read from memory (fmemopen), the work LoadGif does
// on its open file, or ReadGifFrames; inputs beyond fuzz_gif_limits.h's bounds are skipped. Uses
// the GIF reader's public functions only.
#include <stdio_ext.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "fuzz_gif_limits.h"
#include "picture/gif_loader.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  SetFuzzLimits();
  return 0;
}

// An open stream over the input; the fuzzer's bytes are never written to. Only this thread uses it,
// so it takes no lock per byte read (the fuzzer's own threads would otherwise make the C library
// lock every stream on each getc).
static FILE* OpenInput(const uint8_t* data, size_t size) {
  FILE* file = fmemopen(const_cast<uint8_t*>(data), size, "rb");
  if (file == nullptr) std::abort();
  __fsetlocking(file, FSETLOCKING_BYCALLER);
  return file;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (!FuzzInputTaken(data, size)) return 0;
  // One parse per input: the length's parity chooses between the first frame's picture and every
  // frame's picture (each built on the one before), so both are reached at half the cost.
  FILE* file = OpenInput(data, size);
  if (size % 2 == 0) {
    std::free(ReadGif(file));
  } else {
    GifFrameSet set = ReadGifFrames(file);
    ReleaseGifFrameSet(&set);
  }
  std::fclose(file);
  return 0;
}
