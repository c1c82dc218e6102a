// Photo-like JPEG files for the benchmarks, written through libjpeg's compressor. Bench code only:
// the saver never encodes.
#pragma once
#include <string>

// Writes a width x height JPEG of 1 (grey) or 3 (colour) components, baseline or progressive, to
// path: smooth gradients, hard edges and noise of grain levels (a power of two up to 256), so that
// the entropy decoder has about the work of a real photo; 16 levels at quality 85 give about 1.4
// bits a pixel, 128 levels at quality 92 about 5, like a camera's photo. False if the file cannot
// be written.
bool WritePhotoJpeg(const std::string& path, int width, int height, int components, bool progressive,
                    int quality = 85, int grain = 16);
