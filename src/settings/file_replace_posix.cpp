// The platform steps of the settings file's safe rewrite on POSIX systems: fsync, then rename,
// which replaces the target atomically. Native build only.
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "settings/file_replace.h"

bool CommitFile(std::FILE* file) { return std::fflush(file) == 0 && fsync(fileno(file)) == 0; }

FileStep ReplaceWithFile(const char* target, const char* written) {
  if (std::rename(written, target) == 0) return kFileDone;
  return errno == EACCES || errno == EPERM ? kFileRefused : kFileFailed;
}
