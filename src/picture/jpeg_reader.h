// The JPEG reader's link to libjpeg: the error record whose error_exit jumps back into LoadJpeg
// instead of ending the process. Portable: libjpeg and the standard library only, no Windows headers.
#pragma once
#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

// libjpeg's error manager followed by the reader's recovery point. The decompressor's err pointer
// points at the manager, which is the first member, so JpegErrorExit finds the jump buffer from it.
struct JpegErrorRecord {
  jpeg_error_mgr manager;
  std::jmp_buf recovery;
};

// libjpeg's error_exit for records set up as above: jumps to the record's recovery point with 1.
// Never returns and never formats or shows libjpeg's message.
[[noreturn]] void JpegErrorExit(j_common_ptr cinfo);
