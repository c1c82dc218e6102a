// Photo-like JPEG files for the benchmarks. Bench code only; libjpeg's compressor and stdio.
#include "photo_jpeg.h"

#include <cstdint>
#include <cstdio>
#include <vector>

#include <jpeglib.h>

namespace {

uint8_t PhotoSample(int x, int y, int c, int grain, uint32_t* noise) {
  *noise = *noise * 1664525u + 1013904223u;
  const int smooth = (x * (3 + c) / 40 + y * (5 - c) / 30) & 0xff;
  const int edge = ((x / 250 + y / 190) & 1) ? 40 : 0;
  return static_cast<uint8_t>(smooth + edge + static_cast<int>((*noise >> 24) & static_cast<uint32_t>(grain - 1)));
}

}  // namespace

bool WritePhotoJpeg(const std::string& path, int width, int height, int components, bool progressive,
                    int quality, int grain) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  jpeg_error_mgr manager;
  jpeg_compress_struct cinfo;
  cinfo.err = jpeg_std_error(&manager);  // the default error exit ends the bench on a library error
  jpeg_create_compress(&cinfo);
  jpeg_stdio_dest(&cinfo, file);
  cinfo.image_width = static_cast<JDIMENSION>(width);
  cinfo.image_height = static_cast<JDIMENSION>(height);
  cinfo.input_components = components;
  cinfo.in_color_space = components == 1 ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, quality, TRUE);
  if (progressive) jpeg_simple_progression(&cinfo);
  jpeg_start_compress(&cinfo, TRUE);
  std::vector<uint8_t> row(static_cast<size_t>(width) * components);
  uint32_t noise = 12345;
  JSAMPROW rows[1] = {row.data()};
  while (cinfo.next_scanline < cinfo.image_height) {
    const int y = static_cast<int>(cinfo.next_scanline);
    for (int x = 0; x < width; ++x) {
      for (int c = 0; c < components; ++c) row[static_cast<size_t>(x) * components + c] = PhotoSample(x, y, c, grain, &noise);
    }
    jpeg_write_scanlines(&cinfo, rows, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  return std::fclose(file) == 0;
}
