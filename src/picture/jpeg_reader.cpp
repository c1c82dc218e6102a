// The JPEG reader: libjpeg's recovery point, the picture for a JPEG of a given size and Exif
// orientation, and each scanline put into its upright bottom-up DIB row (or, turned by a quarter,
// a band of them into columns) as it arrives. Depends on libjpeg, the packed DIB and the turns.
#include "picture/jpeg_reader.h"

#include <csetjmp>
#include <cstdlib>
#include <cstring>

#include <jpeglib.h>

#include "picture/exif_orientation.h"
#include "picture/picture_turn.h"
#include "picture/row_copy.h"

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
bool JpegPictureFits(uint32_t width, uint32_t height, int components) {
  const uint32_t least = kPictureMinSide, most = kPictureMaxSide;
  return width >= least && width <= most && height >= least && height <= most && (components == 1 || components == 3);
}

PackedDib* NewJpegPicture(uint32_t width, uint32_t height, int components) {
  if (!JpegPictureFits(width, height, components)) return nullptr;
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
// it is still in cache, into its place in the picture: upright (orientation 1), the first scanline
// (the top of the image) goes into the last row, since DIB rows run bottom-up; orientations 2-4
// mirror the row or the rows' order. Returns false if a call delivers no scanline, which with a
// non-suspending source never happens but would otherwise make the loop endless and put the row
// one past the end of the picture.
bool ReadJpegRows(jpeg_decompress_struct* cinfo, PackedDib* picture, int orientation) {
  const uint32_t width = cinfo->image_width;
  const uint32_t height = cinfo->image_height;
  const size_t stride = static_cast<size_t>(DibRowStride64(width, picture->biBitCount));
  uint8_t* bits = DibBits(picture);
  // stride is never less than the samples of one row (width, or 3 * width for colour).
  JSAMPARRAY row = (*cinfo->mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(cinfo), JPOOL_IMAGE,
                                               static_cast<JDIMENSION>(stride), 1);
  const bool colour = picture->biBitCount == 24;
  const bool mirrored = TurnMirrorsRows(orientation);
  while (cinfo->output_scanline < height) {
    const JDIMENSION before = cinfo->output_scanline;
    jpeg_read_scanlines(cinfo, row, 1);
    if (cinfo->output_scanline <= before || cinfo->output_scanline > height) return false;
    uint8_t* dest = bits + TurnedRowIndex(orientation, before, height) * stride;
    if (mirrored) {
      CopyReversed(dest, row[0], colour ? 3 * static_cast<size_t>(width) : width);
    } else if (colour) {
      CopyRgbAsBgr(dest, row[0], width);
    } else {
      std::memcpy(dest, row[0], width);
    }
  }
  return true;
}

// The header a sink is offered: the picture NewJpegPicture would make, with its grey ramp and
// without its pixels.
struct JpegHeader {
  PackedDib header;
  DibColor ramp[256];
};

void FillJpegHeader(uint32_t width, uint32_t height, int components, JpegHeader* out) {
  const int colors = components == 1 ? 256 : 0;
  out->header = PackedDibHeader(static_cast<int32_t>(width), static_cast<int32_t>(height), components * 8, colors);
  out->header.biClrImportant = static_cast<uint32_t>(colors);
  if (colors != 0) FillGreyRamp(out->ramp, colors);
}

// An upright file's scanlines, each converted into one DIB row (blue first for colour) that is
// reused for the next, so the rows stay in cache; the same checks on libjpeg's progress as
// ReadJpegRows.
bool SendJpegRows(jpeg_decompress_struct* cinfo, const JpegRowSink* sink, int components) {
  const uint32_t width = cinfo->image_width;
  const uint32_t height = cinfo->image_height;
  const size_t stride = static_cast<size_t>(DibRowStride64(width, components * 8));
  JSAMPARRAY rows = (*cinfo->mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(cinfo), JPOOL_IMAGE,
                                                static_cast<JDIMENSION>(stride), 2);
  // libjpeg's pool is not cleared and only the pixels are ever written, so the padding the sink
  // gets at each row's end is zeroed here once, as a DIB's is.
  std::memset(rows[0], 0, stride);
  std::memset(rows[1], 0, stride);
  while (cinfo->output_scanline < height) {
    const JDIMENSION before = cinfo->output_scanline;
    jpeg_read_scanlines(cinfo, rows, 1);
    if (cinfo->output_scanline <= before || cinfo->output_scanline > height) return false;
    if (components == 3) {
      CopyRgbAsBgr(rows[1], rows[0], width);
      sink->row(sink->context, rows[1]);
    } else {
      sink->row(sink->context, rows[0]);
    }
  }
  return true;
}

// Orientations 5-8: reads bands of up to kTurnBandRows scanlines into a sample array from libjpeg's
// image pool and writes each band as columns of the upright picture, whose rows are as long as the
// stored picture is high. False if a call delivers no scanline or more than asked for.
bool ReadJpegBandsTurned(jpeg_decompress_struct* cinfo, PackedDib* picture, int orientation) {
  const uint32_t width = cinfo->image_width;
  const uint32_t height = cinfo->image_height;
  const int bytesPerPixel = picture->biBitCount / 8;
  const size_t stride = static_cast<size_t>(DibRowStride64(height, picture->biBitCount));
  JSAMPARRAY band = (*cinfo->mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(cinfo), JPOOL_IMAGE,
                                                static_cast<JDIMENSION>(width * bytesPerPixel), kTurnBandRows);
  while (cinfo->output_scanline < height) {
    const JDIMENSION first = cinfo->output_scanline;
    while (cinfo->output_scanline < height && cinfo->output_scanline - first < kTurnBandRows) {
      const JDIMENSION before = cinfo->output_scanline;
      const JDIMENSION filled = before - first;
      jpeg_read_scanlines(cinfo, band + filled, kTurnBandRows - filled);
      if (cinfo->output_scanline <= before || cinfo->output_scanline > height ||
          cinfo->output_scanline - first > kTurnBandRows) {
        return false;
      }
    }
    WriteBandTurned(orientation, band, first, cinfo->output_scanline - first, width, height, bytesPerPixel,
                    DibBits(picture), stride);
  }
  return true;
}

// The orientation of the first APP1 segment that is an Exif one (an XMP segment before it does not
// hide it); 1 without one.
int JpegOrientation(const jpeg_decompress_struct* cinfo) {
  for (jpeg_saved_marker_ptr marker = cinfo->marker_list; marker != nullptr; marker = marker->next) {
    if (marker->marker == JPEG_APP0 + 1 && IsExifSegment(marker->data, marker->data_length)) {
      return ExifOrientation(marker->data, marker->data_length);
    }
  }
  return 1;
}

// What the decoding steps share with ReadJpeg; it lives in ReadJpeg's frame, so the picture pointer
// is still there after a jump back to the recovery point.
struct JpegRead {
  FILE* file;
  PackedDib* picture;  // null until allocated
  const JpegRowSink* sink;  // null: always a picture
};

// libjpeg's calls in the order of a successful load, up to jpeg_finish_decompress.
bool DecodeJpeg(j_common_ptr common, void* data) {
  auto* cinfo = reinterpret_cast<j_decompress_ptr>(common);
  auto* read = static_cast<JpegRead*>(data);
  jpeg_create_decompress(cinfo);
  jpeg_stdio_src(cinfo, read->file);
  // Kept whole: an APP1 segment holds at most 65533 bytes.
  jpeg_save_markers(cinfo, JPEG_APP0 + 1, 0xFFFF);
  jpeg_read_header(cinfo, TRUE);
  const int orientation = JpegOrientation(cinfo);
  if (orientation == 1 && read->sink != nullptr &&
      JpegPictureFits(cinfo->image_width, cinfo->image_height, cinfo->num_components)) {
    JpegHeader header;
    FillJpegHeader(cinfo->image_width, cinfo->image_height, cinfo->num_components, &header);
    if (read->sink->start(read->sink->context, &header.header)) {
      jpeg_start_decompress(cinfo);
      if (!SendJpegRows(cinfo, read->sink, cinfo->num_components)) return false;
      jpeg_finish_decompress(cinfo);
      return true;
    }
  }
  const bool swaps = TurnSwapsSides(orientation);
  // The picture has the upright size; the limits hold for both sides alike.
  read->picture = NewJpegPicture(swaps ? cinfo->image_height : cinfo->image_width,
                                 swaps ? cinfo->image_width : cinfo->image_height, cinfo->num_components);
  if (read->picture == nullptr) return false;
  jpeg_start_decompress(cinfo);
  const bool done =
      swaps ? ReadJpegBandsTurned(cinfo, read->picture, orientation) : ReadJpegRows(cinfo, read->picture, orientation);
  if (!done) return false;
  jpeg_finish_decompress(cinfo);
  return true;
}

}  // namespace

PackedDib* ReadJpeg(FILE* file) {
  PackedDib* picture = nullptr;
  return ReadJpegToSink(file, nullptr, &picture) ? picture : nullptr;
}

PackedDib* LoadJpeg(const char* path) { return ReadPictureFile(path, ReadJpeg); }

bool ReadJpegToSink(FILE* file, const JpegRowSink* sink, PackedDib** picture) {
  JpegRead read = {file, nullptr, sink};
  jpeg_decompress_struct cinfo;
  *picture = nullptr;
  if (RunJpegSteps(reinterpret_cast<j_common_ptr>(&cinfo), DecodeJpeg, &read)) {
    *picture = read.picture;
    return true;
  }
  std::free(read.picture);
  return false;
}

bool LoadJpegToSink(const char* path, const JpegRowSink* sink, PackedDib** picture) {
  *picture = nullptr;
  FILE* file = std::fopen(path, "rb");
  if (file == nullptr) return false;
  const bool read = ReadJpegToSink(file, sink, picture);
  std::fclose(file);
  return read;
}
