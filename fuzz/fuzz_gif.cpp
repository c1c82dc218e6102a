// libFuzzer target: LoadGif on arbitrary bytes (and LoadGifFrames for small screens), written to a
// private temporary file since the loader takes a path. Uses the GIF reader's public functions only.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "fuzz_gif_limits.h"
#include "picture/gif_contents.h"
#include "picture/gif_loader.h"
#include "picture/readers.h"

static char fuzzPath[] = "/tmp/fuzz_gif_XXXXXX";

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  int handle = mkstemp(fuzzPath);
  if (handle < 0) std::abort();
  close(handle);
  SetFuzzLimits();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > kFuzzLargestInput) return 0;
  FILE* file = std::fopen(fuzzPath, "wb");
  if (file == nullptr) std::abort();
  std::fwrite(data, 1, size, file);
  std::fclose(file);
  std::free(LoadGif(fuzzPath));
  // Every frame's picture stays alive at once: only for small screens.
  if (size >= 10 && static_cast<int64_t>(data[6] | data[7] << 8) * (data[8] | data[9] << 8) <= 4096) {
    GifFrameSet set = LoadGifFrames(fuzzPath);
    ReleaseGifFrameSet(&set);
  }
  return 0;
}
