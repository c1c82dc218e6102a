// The JPEG reader: libjpeg (its 6b interface) decodes, this turns the scanlines into a packed DIB;
// also the one recovery point through which every libjpeg caller of the project runs. Keeps
// <jpeglib.h> out of its users.
#pragma once
#include <cstdint>
#include <cstdio>

#include "picture/packed_dib.h"

struct jpeg_common_struct;

// Returns a new PackedDib owned by the caller (free it with std::free), or null for every failure,
// with no message of its own: the file opened "rb", read by ReadJpeg and closed on every path.
PackedDib* LoadJpeg(const char* path);

// The same on an open binary stream, which libjpeg reads from its current position; the stream
// stays open. Grey files become 8-bit pictures with a grey ramp, colour files 24-bit pictures,
// turned upright by the orientation 2-8 of their first Exif segment (for 5-8 the picture's width is
// the file's height); files without one are kept as stored. Null for a stream that is not a JPEG,
// damage libjpeg cannot get past, a side outside 8..16384, a component count other than 1 or 3, or
// no memory. No decompression parameter is changed from
// libjpeg's defaults.
PackedDib* ReadJpeg(FILE* file);

// Takes an upright JPEG's rows as they are decoded, instead of a picture. start gets the header
// (and grey ramp) of the picture ReadJpeg would return, its pixels left out, and says whether it
// takes the rows; row then gets each of that picture's rows in turn from the top, as the DIB's bytes.
struct JpegRowSink {
  bool (*start)(void* context, const PackedDib* header);
  void (*row)(void* context, const uint8_t* bits);
  void* context;
};

// ReadJpeg with the same verdict for every file, but a file without a turn (orientation 1) whose
// header the sink's start takes goes row by row to the sink and *picture is left null: a large
// photograph never has to be held whole. Any other is returned in *picture as ReadJpeg returns it.
bool ReadJpegToSink(FILE* file, const JpegRowSink* sink, PackedDib** picture);

// The same on the named file, opened "rb" and closed on every path.
bool LoadJpegToSink(const char* path, const JpegRowSink* sink, PackedDib** picture);

// Runs steps(cinfo, data) with libjpeg's errors turned into a false result instead of the end of
// the process: cinfo's error manager is set to libjpeg's defaults with an error_exit that jumps
// back here. steps creates the compressor or decompressor first and returns its own verdict;
// cinfo is destroyed afterwards on every path. No object with a destructor may live in steps or
// in anything it calls, since the jump skips them.
bool RunJpegSteps(jpeg_common_struct* cinfo, bool (*steps)(jpeg_common_struct* cinfo, void* data), void* data);
