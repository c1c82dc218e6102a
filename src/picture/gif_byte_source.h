// The byte source the GIF parser and decoder read through: an open stdio file and four operations
// called through function pointers. Depends on the C runtime only; no picture types, no Windows.
#pragma once
#include <cstdint>
#include <cstdio>

struct ByteSource {
  FILE* file;
  // The next byte, 0 to 255; 0 when no byte can be read, so every length read past the end is a
  // terminator and no caller tests for the end of the file.
  int (*NextByte)(ByteSource* source);
  // Reads up to n bytes into buffer; past the end the rest of the buffer is left as it was.
  void (*NextBlock)(ByteSource* source, uint8_t* buffer, int n);
  // The current byte offset in the file.
  long (*CurrentOffset)(ByteSource* source);
  // True when no further byte can be read; a byte read to find out is pushed back.
  bool (*AtEnd)(ByteSource* source);
};

// A source over an open binary file; the file stays the caller's to close.
ByteSource MakeFileByteSource(FILE* file);

// Reads a 16-bit little-endian value with two NextByte calls.
int NextWord(ByteSource* source);

// Skips n bytes through NextBlock (one read for up to 255 bytes).
void SkipBytes(ByteSource* source, int n);
