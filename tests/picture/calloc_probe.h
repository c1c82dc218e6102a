// Watches the zero-filled allocations of the code under test: the test program is linked with
// --wrap=calloc, so every calloc call in our own objects passes through the probe. Test code only.
#pragma once
#include <cstdint>

void ResetCallocProbe();
int64_t LastCallocBytes();     // the size of the latest calloc since the reset, 0 if none
int64_t LargestCallocBytes();  // the largest since the reset, 0 if none
