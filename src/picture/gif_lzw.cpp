// The GIF LZW decoder. Every string a code stands for already stands earlier in the frame's output
// (where it was last written), so it is copied from there in 16-byte pieces instead of walking the
// prefix chain byte by byte. Reads only through the byte source; no pictures, no Windows.
#include "picture/gif_lzw.h"

#include <cstdlib>
#include <cstring>

#include "picture/gif_extensions.h"

// Two bytes carried over, one sub-block of up to 255 bytes, and slack so that four bytes can always
// be loaded at the current position.
enum { kBitBufferSize = 264 };

int InterlacedRow(int index, int height) {
  int h = height - 1;
  if (index > h / 2) return 2 * index - (h | 1);
  if (index > h / 4) return 4 * index - ((h & ~1) | 2);
  if (index > h / 8) return 8 * index - ((h & ~3) | 4);
  return 8 * index;
}

bool SetFramePixels(GifFrame* frame, uint8_t* buffer, bool interlaced) {
  if (buffer == nullptr) return false;
  int height = frame->height;
  uint8_t** rows = static_cast<uint8_t**>(GifAllocate((static_cast<int64_t>(height) + 1) * sizeof(uint8_t*)));
  if (rows == nullptr) {
    std::free(buffer);
    return false;
  }
  for (int i = 0; i < height; ++i) {
    uint8_t* row = buffer + static_cast<int64_t>(i) * frame->width;
    rows[interlaced ? InterlacedRow(i, height) : i] = row;
  }
  rows[height] = nullptr;
  frame->rows = rows;
  frame->pixels = buffer;
  return true;
}

bool DecodeFrame(DecodeContext* context, GifFrame* frame, ByteSource* source) {
  int64_t size = static_cast<int64_t>(frame->width) * frame->height;
  uint8_t* buffer = static_cast<uint8_t*>(GifAllocate(size + kGifPixelSlack));
  if (!SetFramePixels(frame, buffer, frame->interlaced != 0)) return false;
  context->outputStart = buffer;
  context->outputEnd = buffer + size;
  DecodeRaster(context, source);
  return true;
}

bool FillBits(ByteSource* source, uint8_t* buffer, int* bitPosition, int* bitLength, int needed) {
  int position = *bitPosition;
  int length = *bitLength;
  while (position + needed > length) {
    if (position >= 8) {
      // Fewer than 12 bits are unread here, so two bytes hold all of them.
      int k = position / 8;
      buffer[0] = buffer[k];
      buffer[1] = buffer[k + 1];
      position -= 8 * k;
      length -= 8 * k;
    }
    int s = source->NextByte(source);
    if (s == 0) return false;
    source->NextBlock(source, buffer + length / 8, s);
    length += 8 * s;
  }
  *bitPosition = position;
  *bitLength = length;
  return true;
}

// After "too much image data" or "bad code": pixels the data never reached take the background
// index (the first time only), and the output counts as full from then on.
static void MarkOutputFull(DecodeContext* context, int64_t reached) {
  int64_t size = context->outputEnd - context->outputStart;
  if (reached < size) {
    std::memset(context->outputStart + reached, context->contents->background, static_cast<size_t>(size - reached));
  }
  context->written = size;
}

// Copies n bytes forward in 16-byte pieces; each piece is loaded before it is stored, and every
// byte of the string lies before to, so overlapping pieces still copy the string exactly.
static inline void CopyForward(uint8_t* to, const uint8_t* from, int n) {
  for (int i = 0; i < n; i += 16) {
    uint8_t piece[16];
    std::memcpy(piece, from + i, 16);
    std::memcpy(to + i, piece, 16);
  }
}

uint8_t EmitCode(DecodeContext* context, int code) {
  int n = context->length[code];
  int64_t before = context->written;
  context->written = before + n;
  if (context->written > context->outputEnd - context->outputStart || n == 0) {
    ReportProblem(context, n > 0 ? kGifTooMuchImageData : kGifBadCode);
    MarkOutputFull(context, before);
    return 0;
  }
  uint8_t* out = context->outputStart + before;
  if (n == 1) {
    *out = context->suffix[code];
    return *out;
  }
  // The string stands at its position unless that lies past what has been written; then (never
  // for a well-formed table) it is written backwards along the prefix chain, n steps at most.
  int64_t from = context->position[code];
  if (from + n <= before + 1) {
    CopyForward(out, context->outputStart + from, n);
  } else {
    for (int i = n - 1; i >= 0; --i) {
      out[i] = context->suffix[code];
      code = context->prefix[code];
    }
  }
  return *out;
}

// The decoder loop stays in one function of about 60 lines: splitting the per-code steps into
// calls costs measurable speed, and the steps read best in the order the code stream defines them.
void DecodeRaster(DecodeContext* context, ByteSource* source) {
  uint8_t bits[kBitBufferSize];
  // Cleared so that bits counted after a short read at the end of the file are zeros.
  std::memset(bits, 0, sizeof bits);
  context->written = 0;
  int m = source->NextByte(source);
  if (m >= 12) {
    ReportProblem(context, kGifMinCodeSizeTooBig);
    m = 11;
  } else if (m < 2) {
    ReportProblem(context, kGifMinCodeSizeTooSmall);
    m = 2;
  }
  const int clear = 1 << m;
  const int end = clear + 1;
  uint16_t* prefix = context->prefix;
  uint16_t* length = context->length;
  for (int c = 0; c < clear; ++c) {
    context->suffix[c] = static_cast<uint8_t>(c);
    length[c] = 1;
  }
  int next = end, width = m + 1, previous = clear;
  int bitPosition = 0, bitLength = 0;
  for (;;) {
    if (bitPosition + width > bitLength && !FillBits(source, bits, &bitPosition, &bitLength, width)) break;
    uint32_t word;
    std::memcpy(&word, bits + (bitPosition >> 3), sizeof word);
    int code = static_cast<int>((word >> (bitPosition & 7)) & ((1u << width) - 1));
    bitPosition += width;
    if (code == clear) {
      next = end;
      width = m + 1;
      previous = clear;
      continue;
    }
    if (code == end) {
      SkipSubBlocks(source, source->NextByte(source));
      break;
    }
    if (next != clear && code > next) {  // next rests at clear only while the table is full
      ReportProblem(context, kGifUnexpectedCode);
      code = 0;
    }
    prefix[next] = static_cast<uint16_t>(previous);
    length[next] = static_cast<uint16_t>(length[previous] + 1);
    // The new entry's string is the previous string followed by this one's first byte.
    context->position[next] = static_cast<uint32_t>(context->written - length[previous]);
    context->suffix[next] = EmitCode(context, code);
    if (code == next && context->written > 0) {
      context->outputStart[context->written - 1] = context->suffix[next];
    }
    if (next != clear && ++next == (1 << width)) {
      if (width < 12) {
        width += 1;
      } else {
        next = clear;  // full: new entries go to the unused slot clear until a clear code
      }
    }
    previous = code;
  }
  if (context->written < context->outputEnd - context->outputStart) {
    ReportProblem(context, kGifNotEnoughImageData);
    MarkOutputFull(context, context->written);
  }
}
