// The calloc probe: records each request's size and passes it on to the runtime's calloc.
// Test code only; needs the linker's --wrap=calloc (tests/picture/CMakeLists.txt).
#include "picture/calloc_probe.h"

#include <cstddef>

static int64_t LastBytes = 0;
static int64_t LargestBytes = 0;

extern "C" void* __real_calloc(size_t count, size_t size);

extern "C" void* __wrap_calloc(size_t count, size_t size) {
  LastBytes = static_cast<int64_t>(count) * static_cast<int64_t>(size);
  if (LastBytes > LargestBytes) LargestBytes = LastBytes;
  return __real_calloc(count, size);
}

void ResetCallocProbe() { LastBytes = LargestBytes = 0; }
int64_t LastCallocBytes() { return LastBytes; }
int64_t LargestCallocBytes() { return LargestBytes; }
