// The platform steps of the settings file's safe rewrite on POSIX systems: fsync, then rename,
// which replaces the target atomically. Native build only.
#include <unistd.h>

#include <cstdio>

#include "settings/file_replace.h"

bool CommitFile(std::FILE* file) { return std::fflush(file) == 0 && fsync(fileno(file)) == 0; }

bool ReplaceWithFile(const char* target, const char* written) { return std::rename(written, target) == 0; }
