// libFuzzer target: ReadGif on arbitrary bytes read from memory (fmemopen), the work LoadGif does
// on its open file, and ReadGifFrames for small screens. Uses the GIF reader's public functions only.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "fuzz_gif_limits.h"
#include "picture/gif_loader.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  SetFuzzLimits();
  return 0;
}

// An open stream over the input; the fuzzer's bytes are never written to.
static FILE* OpenInput(const uint8_t* data, size_t size) {
  FILE* file = fmemopen(const_cast<uint8_t*>(data), size, "rb");
  if (file == nullptr) std::abort();
  return file;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > kFuzzLargestInput) return 0;
  FILE* file = OpenInput(data, size);
  std::free(ReadGif(file));
  std::fclose(file);
  // Every frame's picture stays alive at once: only for small screens.
  if (size >= 10 && static_cast<int64_t>(data[6] | data[7] << 8) * (data[8] | data[9] << 8) <= 4096) {
    file = OpenInput(data, size);
    GifFrameSet set = ReadGifFrames(file);
    std::fclose(file);
    ReleaseGifFrameSet(&set);
  }
  return 0;
}
