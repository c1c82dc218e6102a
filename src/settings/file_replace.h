// The platform steps of the settings file's safe rewrite: make a written file durable, then put it in
// place of the old one in one step. Each build defines them once: file_replace_posix.cpp natively,
// file_replace_win.cpp (in the Windows library) on Windows.
#pragma once
#include <cstdio>

// How a step of the rewrite ended. A refusal (access denied, or another program holding the file)
// is told apart because writing the file in place may still be allowed where it happens.
enum FileStep { kFileDone, kFileRefused, kFileFailed };

// Flushes file's buffers and asks the system to put its data on disk. False on failure.
bool CommitFile(std::FILE* file);

// Moves the file written to target's place, replacing target if it exists. On failure target is
// as it was.
FileStep ReplaceWithFile(const char* target, const char* written);
