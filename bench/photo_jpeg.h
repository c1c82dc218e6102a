// Photo-like JPEG files for the benchmarks, written through libjpeg's compressor. Bench code only:
// the saver never encodes.
#pragma once
#include <string>

// Writes a width x height JPEG of 1 (grey) or 3 (colour) components at quality 85, baseline or
// progressive, to path: smooth gradients, hard edges and some noise, so that the entropy decoder
// has about the work of a real photo. False if the file cannot be written.
bool WritePhotoJpeg(const std::string& path, int width, int height, int components, bool progressive);
