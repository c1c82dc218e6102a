// libFuzzer target for the Exif orientation parse alone: each input is the data of one APP1
// segment, and the answer must be an orientation from 1 to 8. Portable core only.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "picture/exif_orientation.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const int orientation = ExifOrientation(data, size);
  if (orientation < 1 || orientation > 8) {
    std::fprintf(stderr, "fuzz_exif: orientation %d outside 1..8\n", orientation);
    std::abort();
  }
  return 0;
}
