// 64-bit file lengths and seeks: _fseeki64 on Windows runtimes, fseeko elsewhere (both take 64-bit
// offsets in every build we make). Standard runtime only; no Windows headers.
#include "picture/file_pos64.h"

static bool SeekTo(FILE* file, int64_t offset, int origin) {
#ifdef _WIN32
  return _fseeki64(file, offset, origin) == 0;
#else
  static_assert(sizeof(off_t) == 8, "64-bit file offsets");
  return fseeko(file, static_cast<off_t>(offset), origin) == 0;
#endif
}

static int64_t Position(FILE* file) {
#ifdef _WIN32
  return _ftelli64(file);
#else
  return ftello(file);
#endif
}

int64_t FileLength64(FILE* file) {
  if (!SeekTo(file, 0, SEEK_END)) return -1;
  int64_t length = Position(file);
  if (!SeekTo(file, 0, SEEK_SET)) return -1;
  return length;
}

bool SeekFile64(FILE* file, int64_t offset) { return offset >= 0 && SeekTo(file, offset, SEEK_SET); }
