// LoadJpeg: a JPEG file decoded by libjpeg (its 6b interface) into a packed DIB, grey files as 8-bit
// pictures with a grey ramp, colour files as 24-bit pictures. Depends on libjpeg, the packed DIB
// helpers and the standard library only; no Windows headers.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "picture/jpeg_reader.h"
#include "picture/readers.h"
#include "picture/rgb_to_bgr.h"

namespace {

constexpr uint32_t kMinSide = 8;
constexpr uint32_t kMaxSide = 16384;

// A zero-filled picture for a JPEG of the given size and component count, header filled in and, for
// grey, the 256-entry grey ramp. Null for a side outside 8..16384, a component count other than 1
// (grey) or 3 (colour), or no memory. The block's size is computed in 64 bits before allocating.
PackedDib* NewJpegPicture(uint32_t width, uint32_t height, int components) {
  if (width < kMinSide || width > kMaxSide || height < kMinSide || height > kMaxSide) return nullptr;
  if (components != 1 && components != 3) return nullptr;
  const int bitCount = components * 8;
  const uint64_t colors = components == 1 ? 256 : 0;
  const uint64_t pixelBytes = static_cast<uint64_t>(DibRowStride64(width, bitCount)) * height;
  const uint64_t total = sizeof(PackedDib) + 4 * colors + pixelBytes;
  if (total > SIZE_MAX) return nullptr;
  PackedDib* picture = static_cast<PackedDib*>(std::calloc(1, static_cast<size_t>(total)));
  if (picture == nullptr) return nullptr;
  picture->biSize = sizeof(PackedDib);
  picture->biWidth = static_cast<int32_t>(width);
  picture->biHeight = static_cast<int32_t>(height);
  picture->biPlanes = 1;
  picture->biBitCount = static_cast<uint16_t>(bitCount);
  picture->biSizeImage = static_cast<uint32_t>(pixelBytes);
  picture->biClrUsed = static_cast<uint32_t>(colors);
  picture->biClrImportant = static_cast<uint32_t>(colors);
  DibColor* ramp = DibColors(picture);
  for (uint32_t i = 0; i < colors; ++i) {
    const uint8_t level = static_cast<uint8_t>(i);
    ramp[i] = DibColor{level, level, level, 0};
  }
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

// The failure exit: the decompressor destroyed (nothing to do if its memory manager never came to
// be), the file closed, the picture freed. Always null.
PackedDib* AbandonJpeg(jpeg_decompress_struct* cinfo, FILE* file, PackedDib* picture) {
  jpeg_destroy_decompress(cinfo);
  std::fclose(file);
  std::free(picture);
  return nullptr;
}

}  // namespace

void JpegErrorExit(j_common_ptr cinfo) {
  // The manager is the record's first member: its address is the record's.
  JpegErrorRecord* record = reinterpret_cast<JpegErrorRecord*>(cinfo->err);
  std::longjmp(record->recovery, 1);
}

// Returns a new PackedDib owned by the caller (free it with std::free), or null for every failure:
// no file, not a JPEG stream, damage libjpeg cannot get past, a side outside 8..16384, a component
// count other than 1 or 3, no memory. Writes no message of its own; no decompression parameter is
// changed from libjpeg's defaults. libjpeg's errors arrive here through JpegErrorExit's jump, so no
// object with a destructor may live in this function or in anything it calls between setjmp and
// the return.
PackedDib* LoadJpeg(const char* path) {
  // Volatile: the failure path reads them after a jump, which does not restore registers.
  FILE* volatile file = std::fopen(path, "rb");
  if (file == nullptr) return nullptr;
  PackedDib* volatile picture = nullptr;
  JpegErrorRecord error;
  jpeg_decompress_struct cinfo;
  cinfo.err = jpeg_std_error(&error.manager);
  error.manager.error_exit = JpegErrorExit;
  if (setjmp(error.recovery) != 0) return AbandonJpeg(&cinfo, file, picture);

  jpeg_create_decompress(&cinfo);
  jpeg_stdio_src(&cinfo, file);
  jpeg_read_header(&cinfo, TRUE);
  picture = NewJpegPicture(cinfo.image_width, cinfo.image_height, cinfo.num_components);
  if (picture == nullptr) return AbandonJpeg(&cinfo, file, nullptr);
  jpeg_start_decompress(&cinfo);
  if (!ReadJpegRows(&cinfo, picture)) return AbandonJpeg(&cinfo, file, picture);
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  std::fclose(file);
  return picture;
}
