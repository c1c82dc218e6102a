// The stdio byte source of the GIF reader: getc, fread, ftell and a pushed-back getc.
// Depends on the C runtime only.
#include "picture/gif_byte_source.h"

static int FileNextByte(ByteSource* source) {
  int byte = std::getc(source->file);
  return byte == EOF ? 0 : byte;
}

static void FileNextBlock(ByteSource* source, uint8_t* buffer, int n) {
  if (n > 0) std::fread(buffer, 1, static_cast<size_t>(n), source->file);
}

static long FileCurrentOffset(ByteSource* source) { return std::ftell(source->file); }

static bool FileAtEnd(ByteSource* source) {
  int byte = std::getc(source->file);
  if (byte == EOF) return true;
  std::ungetc(byte, source->file);
  return false;
}

ByteSource MakeFileByteSource(FILE* file) {
  ByteSource source;
  source.file = file;
  source.NextByte = FileNextByte;
  source.NextBlock = FileNextBlock;
  source.CurrentOffset = FileCurrentOffset;
  source.AtEnd = FileAtEnd;
  return source;
}

int NextWord(ByteSource* source) {
  int low = source->NextByte(source);
  return low | (source->NextByte(source) << 8);
}

void SkipBytes(ByteSource* source, int n) {
  uint8_t scratch[256];
  while (n > 0) {
    int part = n < 256 ? n : 256;
    source->NextBlock(source, scratch, part);
    n -= part;
  }
}
