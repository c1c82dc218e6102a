// Test-side JPEG codec: encodes fixtures through libjpeg's compressor and decodes files with the
// library's defaults as the reference the reader is compared with. Portable (also built by MinGW).
#include "common/jpeg_codec.h"

#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>

#include "picture/jpeg_reader.h"

uint8_t PatternSample(int x, int y, int c) {
  const int checker = ((x / 4 + y / 4) & 1) ? 60 : 0;
  return static_cast<uint8_t>((x * 7 + y * 13 + c * 85 + checker) & 0xff);
}

namespace {

J_COLOR_SPACE InputSpace(int components) {
  switch (components) {
    case 1: return JCS_GRAYSCALE;
    case 3: return JCS_RGB;
    case 4: return JCS_CMYK;
    default: return JCS_UNKNOWN;
  }
}

// Compresses options' pattern into *buffer; libjpeg errors jump back to the caller's recovery
// point. Kept apart from EncodeJpeg so that the vector there never lives across the jump.
void Compress(jpeg_compress_struct* cinfo, const JpegOptions& options, uint8_t* row) {
  cinfo->image_width = static_cast<JDIMENSION>(options.width);
  cinfo->image_height = static_cast<JDIMENSION>(options.height);
  cinfo->input_components = options.components;
  cinfo->in_color_space = InputSpace(options.components);
  jpeg_set_defaults(cinfo);
  if (options.components == 2) jpeg_set_colorspace(cinfo, JCS_UNKNOWN);
  jpeg_set_quality(cinfo, options.quality, TRUE);
  if (options.fullChroma) {
    for (int c = 0; c < cinfo->num_components; ++c) {
      cinfo->comp_info[c].h_samp_factor = 1;
      cinfo->comp_info[c].v_samp_factor = 1;
    }
  }
  if (options.progressive) jpeg_simple_progression(cinfo);
  cinfo->restart_in_rows = options.restartRows;
  jpeg_start_compress(cinfo, TRUE);
  JSAMPROW rows[1] = {row};
  while (cinfo->next_scanline < cinfo->image_height) {
    const int y = static_cast<int>(cinfo->next_scanline);
    for (int x = 0; x < options.width; ++x) {
      for (int c = 0; c < options.components; ++c) {
        row[static_cast<size_t>(x) * options.components + c] = PatternSample(x, y, c);
      }
    }
    jpeg_write_scanlines(cinfo, rows, 1);
  }
  jpeg_finish_compress(cinfo);
}

// What EncodeJpeg's steps share with it; EncodeJpeg's vector stays out of the steps, which a
// libjpeg error leaves by a jump.
struct CompressJob {
  const JpegOptions* options;
  uint8_t* row;
  unsigned char** target;
  unsigned long* size;
};

bool CompressSteps(j_common_ptr common, void* data) {
  auto* cinfo = reinterpret_cast<j_compress_ptr>(common);
  const auto* job = static_cast<const CompressJob*>(data);
  jpeg_create_compress(cinfo);
  jpeg_mem_dest(cinfo, job->target, job->size);
  Compress(cinfo, *job->options, job->row);
  return true;
}

}  // namespace

Bytes EncodeJpeg(const JpegOptions& options) {
  std::vector<uint8_t> row(static_cast<size_t>(options.width) * options.components);
  // libjpeg keeps the addresses of target and size and fills them in; they live in memory.
  unsigned char* target = nullptr;
  unsigned long size = 0;
  CompressJob job = {&options, row.data(), &target, &size};
  jpeg_compress_struct cinfo;
  const bool ok = RunJpegSteps(reinterpret_cast<j_common_ptr>(&cinfo), CompressSteps, &job);
  Bytes file;
  if (ok && target != nullptr) file.assign(target, target + size);
  std::free(target);
  return file;
}

namespace {

struct DecodeJob {
  const Bytes* file;
  ReferenceImage* reference;
};

// Decodes into reference->samples, which DecodeReference owns, so the jump of a libjpeg error
// skips no destructor.
bool DecompressSteps(j_common_ptr common, void* data) {
  auto* cinfo = reinterpret_cast<j_decompress_ptr>(common);
  const auto* job = static_cast<const DecodeJob*>(data);
  const Bytes& file = *job->file;
  ReferenceImage* reference = job->reference;
  jpeg_create_decompress(cinfo);
  jpeg_mem_src(cinfo, file.data(), static_cast<unsigned long>(file.size()));
  jpeg_read_header(cinfo, TRUE);
  jpeg_start_decompress(cinfo);
  reference->width = static_cast<int>(cinfo->output_width);
  reference->height = static_cast<int>(cinfo->output_height);
  reference->components = cinfo->output_components;
  const size_t rowSize = static_cast<size_t>(reference->width) * reference->components;
  reference->samples.assign(rowSize * reference->height, 0);
  while (cinfo->output_scanline < cinfo->output_height) {
    JSAMPROW rows[1] = {reference->samples.data() + rowSize * cinfo->output_scanline};
    if (jpeg_read_scanlines(cinfo, rows, 1) != 1) return true;
  }
  jpeg_finish_decompress(cinfo);
  reference->ok = true;
  return true;
}

// Whether the header reads as JPEG_HEADER_OK, into *ok.
struct HeaderJob {
  const Bytes* file;
  bool ok;
};

bool HeaderSteps(j_common_ptr common, void* data) {
  auto* cinfo = reinterpret_cast<j_decompress_ptr>(common);
  auto* job = static_cast<HeaderJob*>(data);
  jpeg_create_decompress(cinfo);
  jpeg_mem_src(cinfo, job->file->data(), static_cast<unsigned long>(job->file->size()));
  job->ok = jpeg_read_header(cinfo, TRUE) == JPEG_HEADER_OK;
  return true;
}

}  // namespace

ReferenceImage DecodeReference(const Bytes& file) {
  ReferenceImage reference;
  DecodeJob job = {&file, &reference};
  jpeg_decompress_struct cinfo;
  if (!RunJpegSteps(reinterpret_cast<j_common_ptr>(&cinfo), DecompressSteps, &job)) reference.ok = false;
  return reference;
}

bool ReadsHeader(const Bytes& file) {
  HeaderJob job = {&file, false};
  jpeg_decompress_struct cinfo;
  return RunJpegSteps(reinterpret_cast<j_common_ptr>(&cinfo), HeaderSteps, &job) && job.ok;
}

long FindMarker(const Bytes& file, uint8_t code, size_t from) {
  for (size_t i = from; i + 1 < file.size(); ++i) {
    if (file[i] == 0xff && file[i + 1] == code) return static_cast<long>(i);
  }
  return -1;
}
