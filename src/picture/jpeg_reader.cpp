// The JPEG reader: libjpeg's recovery point, the picture for a JPEG of a given size, and each
// scanline turned into its bottom-up DIB row as it arrives. Depends on libjpeg and the packed DIB.
#include "picture/jpeg_reader.h"

#include <csetjmp>
#include <cstdlib>
#include <cstring>

#include <jpeglib.h>

#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
#define WHIRLBOX_SHUFFLE_ROWS 1
#include <tmmintrin.h>
#endif

// libjpeg's error manager followed by the recovery point. The decompressor's err pointer points at
// the manager, which is the first member, so JpegErrorExit finds the jump buffer from it.
struct JpegErrorRecord {
  jpeg_error_mgr manager;
  std::jmp_buf recovery;
};

// libjpeg's error_exit for records set up by RunJpegSteps: jumps to the record's recovery point
// with 1. Never returns and never formats or shows libjpeg's message.
[[noreturn]] static void JpegErrorExit(j_common_ptr cinfo) {
  JpegErrorRecord* record = reinterpret_cast<JpegErrorRecord*>(cinfo->err);
  std::longjmp(record->recovery, 1);
}

bool RunJpegSteps(j_common_ptr cinfo, bool (*steps)(j_common_ptr cinfo, void* data), void* data) {
  JpegErrorRecord error;
  cinfo->err = jpeg_std_error(&error.manager);
  error.manager.error_exit = JpegErrorExit;
  if (setjmp(error.recovery) != 0) {
    // Does nothing while libjpeg's memory manager does not exist yet.
    jpeg_destroy(cinfo);
    return false;
  }
  const bool done = steps(cinfo, data);
  jpeg_destroy(cinfo);
  return done;
}

namespace {

// A zero-filled picture for a JPEG of the given size and component count, header filled in and, for
// grey, the 256-entry grey ramp (biClrUsed and biClrImportant 256). Null for a side outside
// 8..16384, a component count other than 1 (grey) or 3 (colour), or no memory.
PackedDib* NewJpegPicture(uint32_t width, uint32_t height, int components) {
  const uint32_t least = kPictureMinSide, most = kPictureMaxSide;
  if (width < least || width > most || height < least || height > most) return nullptr;
  if (components != 1 && components != 3) return nullptr;
  const int colors = components == 1 ? 256 : 0;
  // The largest picture, 16384 x 16384 at 24 bits, is far below INT32_MAX bytes.
  PackedDib* picture = NewPackedDib(static_cast<int32_t>(width), static_cast<int32_t>(height), components * 8,
                                    colors, INT32_MAX);
  if (picture == nullptr) return nullptr;
  picture->biClrImportant = static_cast<uint32_t>(colors);
  if (colors != 0) FillGreyRamp(DibColors(picture), colors);
  return picture;
}

// Reads every scanline into one sample row from libjpeg's image pool and converts it at once, while
// it is still in cache, into its place in the picture: the first scanline (the top of the image)
// into the last row, since DIB rows run bottom-up. Returns false if a call delivers no scanline,
// which with a non-suspending source never happens but would otherwise make the loop endless and
// put the row one past the end of the picture.
bool ReadJpegRows(jpeg_decompress_struct* cinfo, PackedDib* picture) {
  const uint32_t width = cinfo->image_width;
  const uint32_t height = cinfo->image_height;
  const size_t stride = static_cast<size_t>(DibRowStride64(width, picture->biBitCount));
  uint8_t* bits = DibBits(picture);
  // stride is never less than the samples of one row (width, or 3 * width for colour).
  JSAMPARRAY row = (*cinfo->mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(cinfo), JPOOL_IMAGE,
                                               static_cast<JDIMENSION>(stride), 1);
  const bool colour = picture->biBitCount == 24;
  while (cinfo->output_scanline < height) {
    const JDIMENSION before = cinfo->output_scanline;
    jpeg_read_scanlines(cinfo, row, 1);
    if (cinfo->output_scanline <= before || cinfo->output_scanline > height) return false;
    uint8_t* dest = bits + static_cast<size_t>(height - cinfo->output_scanline) * stride;
    if (colour) {
      CopyRgbAsBgr(dest, row[0], width);
    } else {
      std::memcpy(dest, row[0], width);
    }
  }
  return true;
}

// What the decoding steps share with ReadJpeg; it lives in ReadJpeg's frame, so the picture pointer
// is still there after a jump back to the recovery point.
struct JpegRead {
  FILE* file;
  PackedDib* picture;  // null until allocated
};

// libjpeg's calls in the order of a successful load, up to jpeg_finish_decompress.
bool DecodeJpeg(j_common_ptr common, void* data) {
  auto* cinfo = reinterpret_cast<j_decompress_ptr>(common);
  auto* read = static_cast<JpegRead*>(data);
  jpeg_create_decompress(cinfo);
  jpeg_stdio_src(cinfo, read->file);
  jpeg_read_header(cinfo, TRUE);
  read->picture = NewJpegPicture(cinfo->image_width, cinfo->image_height, cinfo->num_components);
  if (read->picture == nullptr) return false;
  jpeg_start_decompress(cinfo);
  if (!ReadJpegRows(cinfo, read->picture)) return false;
  jpeg_finish_decompress(cinfo);
  return true;
}

}  // namespace

PackedDib* ReadJpeg(FILE* file) {
  JpegRead read = {file, nullptr};
  jpeg_decompress_struct cinfo;
  if (RunJpegSteps(reinterpret_cast<j_common_ptr>(&cinfo), DecodeJpeg, &read)) return read.picture;
  std::free(read.picture);
  return nullptr;
}

PackedDib* LoadJpeg(const char* path) { return ReadPictureFile(path, ReadJpeg); }

// The row conversion: one row of libjpeg's red-green-blue samples into blue-green-red DIB pixels.
void CopyRgbAsBgrPlain(uint8_t* dest, const uint8_t* source, uint32_t pixels) {
  for (uint32_t i = 0; i < pixels; ++i) {
    dest[3 * i] = source[3 * i + 2];
    dest[3 * i + 1] = source[3 * i + 1];
    dest[3 * i + 2] = source[3 * i];
  }
}

#ifdef WHIRLBOX_SHUFFLE_ROWS

namespace {

// Four pixels per step: a 16-byte load holds them (12 bytes) and 4 bytes of the next pixels; one
// shuffle reverses each pixel's bytes, and the 16-byte store's last 4 bytes are overwritten by the
// next step. A byte-by-byte loop costs a third of the colour decode itself; this one almost nothing.
// The loop stops while 16 bytes still fit in the row, so nothing beyond pixels * 3 is touched.
__attribute__((target("ssse3"))) void CopyRgbAsBgrShuffled(uint8_t* dest, const uint8_t* source,
                                                           uint32_t pixels) {
  const __m128i order = _mm_setr_epi8(2, 1, 0, 5, 4, 3, 8, 7, 6, 11, 10, 9, 12, 13, 14, 15);
  const uint64_t bytes = 3 * static_cast<uint64_t>(pixels);
  uint32_t i = 0;
  for (; 3 * static_cast<uint64_t>(i) + 16 <= bytes; i += 4) {
    const __m128i rgb = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source + 3 * static_cast<size_t>(i)));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dest + 3 * static_cast<size_t>(i)), _mm_shuffle_epi8(rgb, order));
  }
  CopyRgbAsBgrPlain(dest + 3 * static_cast<size_t>(i), source + 3 * static_cast<size_t>(i), pixels - i);
}

bool HasByteShuffle() {
  __builtin_cpu_init();
  return __builtin_cpu_supports("ssse3");
}

}  // namespace

void CopyRgbAsBgr(uint8_t* dest, const uint8_t* source, uint32_t pixels) {
  static const bool shuffle = HasByteShuffle();
  if (shuffle) {
    CopyRgbAsBgrShuffled(dest, source, pixels);
  } else {
    CopyRgbAsBgrPlain(dest, source, pixels);
  }
}

#else

void CopyRgbAsBgr(uint8_t* dest, const uint8_t* source, uint32_t pixels) { CopyRgbAsBgrPlain(dest, source, pixels); }

#endif
