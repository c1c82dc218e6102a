// The platform steps of the settings file's safe rewrite on Windows: _commit, then MoveFileExA,
// since the runtime's rename refuses to replace an existing file.
#include <windows.h>

#include <io.h>

#include <cstdio>

#include "settings/file_replace.h"

bool CommitFile(std::FILE* file) { return std::fflush(file) == 0 && _commit(_fileno(file)) == 0; }

FileStep ReplaceWithFile(const char* target, const char* written) {
  if (MoveFileExA(written, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0) return kFileDone;
  DWORD error = GetLastError();
  return error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION ? kFileRefused : kFileFailed;
}
