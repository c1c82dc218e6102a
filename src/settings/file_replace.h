// The platform steps of the settings file's safe rewrite: make a written file durable, then put it in
// place of the old one in one step. Each build defines them once: file_replace_posix.cpp natively,
// file_replace_win.cpp (in the Windows library) on Windows.
#pragma once
#include <cstdio>

// Flushes file's buffers and asks the system to put its data on disk. False on failure.
bool CommitFile(std::FILE* file);

// Moves the file written to target's place, replacing target if it exists. False, with target as it
// was, on failure.
bool ReplaceWithFile(const char* target, const char* written);
