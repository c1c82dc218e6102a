// The GIF extension readers: graphic control, comments, the loop count of "NETSCAPE2.0", and the
// stored other extensions. Reads only through the byte source; knows nothing of LZW or pictures.
#include "picture/gif_extensions.h"

#include <cstdlib>
#include <cstring>

void SkipSubBlocks(ByteSource* source, int length) {
  while (length != 0) {
    SkipBytes(source, length);
    length = source->NextByte(source);
  }
}

char* CollectSubBlocks(ByteSource* source, char* buffer, int32_t* lengthOut, bool* failed) {
  int64_t total = 0;
  for (int m = source->NextByte(source); m != 0; m = source->NextByte(source)) {
    // A text longer than GifLargestBlock counts as an allocation failure.
    void* grown = total + m + 1 <= GifLargestBlock ? std::realloc(buffer, static_cast<size_t>(total + m + 1)) : nullptr;
    if (grown == nullptr) {
      std::free(buffer);
      SkipSubBlocks(source, m);
      if (failed != nullptr) *failed = true;
      return nullptr;
    }
    buffer = static_cast<char*>(grown);
    // Zeroed first: a file that ends inside the sub-block leaves the rest of it unread.
    std::memset(buffer + total, 0, static_cast<size_t>(m));
    source->NextBlock(source, reinterpret_cast<uint8_t*>(buffer + total), m);
    total += m;
    buffer[total] = '\0';
  }
  if (lengthOut != nullptr) *lengthOut = static_cast<int32_t>(total);
  return buffer;
}

void ReadGraphicControl(ByteSource* source, DecodeContext* context, GifFrame* frame) {
  // The first sub-block is examined whatever its length: a length of 0 is not a terminator here.
  int n = source->NextByte(source);
  if (n == 4) {
    int packed = source->NextByte(source);
    frame->disposal = static_cast<uint8_t>((packed >> 2) & 7);
    frame->delay = static_cast<uint16_t>(NextWord(source));
    frame->transparent = static_cast<int16_t>(source->NextByte(source));
    if ((packed & 1) == 0) frame->transparent = -1;
  } else if (n != 0) {
    ReportProblem(context, kGifOddGraphicExtension);
    SkipBytes(source, n);
  }
  for (int m = source->NextByte(source); m != 0; m = source->NextByte(source)) {
    ReportProblem(context, kGifOddGraphicExtension);
    SkipBytes(source, m);
  }
}

bool ReadCommentExtension(ByteSource* source, GifFrame* frame) {
  int32_t length = 0;
  bool failed = false;
  char* text = CollectSubBlocks(source, nullptr, &length, &failed);
  if (failed) return false;
  if (text == nullptr) return true;  // no sub-block: no comment
  if (frame->comments == nullptr) {
    frame->comments = static_cast<CommentList*>(GifAllocateZeroed(sizeof(CommentList)));
  }
  if (frame->comments == nullptr || !AddComment(frame->comments, text, length)) {
    std::free(text);
    return false;
  }
  return true;
}

// The "NETSCAPE2.0" extension: a 3-byte sub-block (an id byte that is not checked and the loop
// count) and the terminator; anything else is reported once and skipped.
static void ReadLoopExtension(ByteSource* source, DecodeContext* context) {
  int m = source->NextByte(source);
  if (m == 3) {
    source->NextByte(source);
    context->contents->loopCount = NextWord(source);
    m = source->NextByte(source);
    if (m == 0) return;
  }
  ReportProblem(context, kGifBadLoopExtension);
  SkipSubBlocks(source, m);
}

void ReadApplicationExtension(ByteSource* source, DecodeContext* context) {
  char identifier[256] = {};  // zeros where a short file leaves the identifier unread
  int n = source->NextByte(source);
  source->NextBlock(source, reinterpret_cast<uint8_t*>(identifier), n);
  if (n == 11 && std::memcmp(identifier, "NETSCAPE2.0", 11) == 0) {
    ReadLoopExtension(source, context);
    return;
  }
  identifier[n] = '\0';
  ReadOtherExtension(source, context->contents, 255, identifier);
}

// A copy of an application name of up to 255 bytes, or null when none is given or allocation fails.
static char* CopyName(const char* name) {
  if (name == nullptr) return nullptr;
  size_t size = std::strlen(name) + 1;
  char* copy = static_cast<char*>(GifAllocate(static_cast<int64_t>(size)));
  if (copy != nullptr) std::memcpy(copy, name, size);
  return copy;
}

void ReadOtherExtension(ByteSource* source, GifContents* contents, int kind, const char* applicationName) {
  int32_t length = 0;
  char* data = CollectSubBlocks(source, nullptr, &length, nullptr);
  if (data == nullptr) return;  // no data, or it could not be gathered
  StoredExtension* extension = static_cast<StoredExtension*>(GifAllocateZeroed(sizeof(StoredExtension)));
  char* name = CopyName(applicationName);
  if (extension == nullptr || (applicationName != nullptr && name == nullptr)) {
    std::free(extension);
    std::free(name);
    std::free(data);
    return;
  }
  extension->kind = applicationName != nullptr ? 255 : kind;
  extension->name = name;
  extension->data = reinterpret_cast<uint8_t*>(data);
  extension->length = length;
  if (contents->lastExtension == nullptr) {
    contents->extensions = extension;
  } else {
    contents->lastExtension->next = extension;
  }
  contents->lastExtension = extension;
}
