// The GIF LZW decoder. Every string a code stands for already stands earlier in the frame's output
// (where it was last written), so it is copied from there in 8-byte pieces instead of walking the
// prefix chain byte by byte. Reads only through the byte source; knows nothing of pictures.
#include "picture/gif_lzw.h"

#include <cstdlib>
#include <cstring>

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
// index (the first time only), and the output counts as full from then on. Returns the frame size.
static int64_t MarkOutputFull(DecodeContext* context, int64_t reached) {
  int64_t size = context->outputEnd - context->outputStart;
  if (reached < size) {
    std::memset(context->outputStart + reached, context->contents->background, static_cast<size_t>(size - reached));
  }
  context->written = size;
  return size;
}

// The problem path of a string: kept out of line so the decoder loop stays small.
static __attribute__((noinline)) int64_t RefuseString(DecodeContext* context, int64_t before, int n) {
  ReportProblem(context, n > 0 ? kGifTooMuchImageData : kGifBadCode);
  return MarkOutputFull(context, before);
}

// Copies n bytes forward in 8-byte pieces; each piece is loaded before it is stored, and every
// byte of the string lies before to, so overlapping pieces still copy the string exactly.
static inline void CopyForward(uint8_t* to, const uint8_t* from, int n) {
  int i = 0;
  do {
    uint8_t piece[8];
    std::memcpy(piece, from + i, 8);
    std::memcpy(to + i, piece, 8);
    i += 8;
  } while (i < n);
}

// What the string writer needs, copied into locals so that they stay in registers although the
// output is written through byte pointers.
struct StringOutput {
  uint8_t* start;
  int64_t size;
  int64_t written;
  const uint16_t* prefix;
  const uint8_t* suffix;
  const uint16_t* length;
  const uint32_t* position;
};

static inline StringOutput OutputOf(const DecodeContext* context) {
  return StringOutput{context->outputStart, context->outputEnd - context->outputStart, context->written,
                      context->prefix, context->suffix, context->length, context->position};
}

// EmitCode's steps. A string of length 1 is its suffix. A longer one stands at its position in
// the output written so far and is copied from there; a position past that (never the case for a
// well-formed table) has the string written backwards along the prefix chain, n steps at most.
static inline uint8_t EmitString(DecodeContext* context, StringOutput* output, int code) {
  int n = output->length[code];
  int64_t before = output->written;
  if (before + n > output->size || n == 0) {
    output->written = RefuseString(context, before, n);
    return 0;
  }
  output->written = before + n;
  uint8_t* out = output->start + before;
  if (n == 1) {
    *out = output->suffix[code];
    return *out;
  }
  int64_t from = output->position[code];
  if (from + n <= before + 1) {
    CopyForward(out, output->start + from, n);
    return output->start[from];
  }
  for (int i = n - 1; i >= 0; --i) {
    out[i] = output->suffix[code];
    code = output->prefix[code];
  }
  return *out;
}

uint8_t EmitCode(DecodeContext* context, int code) {
  StringOutput output = OutputOf(context);
  uint8_t first = EmitString(context, &output, code);
  context->written = output.written;
  return first;
}

// The minimum code size byte, reported and clamped to 2..11 when out of range.
static int ReadMinimumCodeSize(DecodeContext* context, ByteSource* source) {
  int m = source->NextByte(source);
  if (m >= 12) {
    ReportProblem(context, kGifMinCodeSizeTooBig);
    return 11;
  }
  if (m < 2) {
    ReportProblem(context, kGifMinCodeSizeTooSmall);
    return 2;
  }
  return m;
}

// The root entries of the largest code table, which each frame starts from: code c stands for the
// one byte c.
struct RootEntries {
  uint8_t suffix[1 << 11];
  uint16_t length[1 << 11];
};
static constexpr RootEntries MakeRootEntries() {
  RootEntries roots{};
  for (int c = 0; c < (1 << 11); ++c) {
    roots.suffix[c] = static_cast<uint8_t>(c);
    roots.length[c] = 1;
  }
  return roots;
}
static constexpr RootEntries kRoots = MakeRootEntries();

// The decoder loop stays whole in one function of some 70 lines, longer than the house's 60:
// splitting the per-code steps into calls costs measurable speed, and the steps read best in the
// order the code stream defines them.
void DecodeRaster(DecodeContext* context, ByteSource* source) {
  uint8_t bits[kBitBufferSize];
  // Cleared so that bits counted after a short read at the end of the file are zeros.
  std::memset(bits, 0, sizeof bits);
  context->written = 0;
  const int m = ReadMinimumCodeSize(context, source);
  const int clear = 1 << m, end = clear + 1;
  uint16_t* prefix = context->prefix;
  uint8_t* suffix = context->suffix;
  uint16_t* length = context->length;
  uint32_t* position = context->position;
  // Copied, not looped: a frame may declare the largest roots whatever its size, and this runs for
  // every frame.
  std::memcpy(suffix, kRoots.suffix, static_cast<size_t>(clear));
  std::memcpy(length, kRoots.length, static_cast<size_t>(clear) * sizeof length[0]);
  StringOutput output = OutputOf(context);
  int next = end, width = m + 1, previous = clear, bitPosition = 0, bitLength = 0;
  for (;;) {
    if (bitPosition + width > bitLength) {
      // Copies, so that the loop's own counters never have their address taken.
      int fillPosition = bitPosition, fillLength = bitLength;
      if (!FillBits(source, bits, &fillPosition, &fillLength, width)) break;
      bitPosition = fillPosition;
      bitLength = fillLength;
    }
    uint32_t word;
    std::memcpy(&word, bits + (bitPosition >> 3), sizeof word);
    int code = static_cast<int>((word >> (bitPosition & 7)) & ((1u << width) - 1));
    bitPosition += width;
    if (code >= clear) {
      if (code == clear) {
        next = end, width = m + 1, previous = clear;
        continue;
      }
      if (code == end) {
        SkipSubBlocks(source, source->NextByte(source));
        break;
      }
      if (next != clear && code > next) {  // next rests at clear only while the table is full
        context->written = output.written;
        ReportProblem(context, kGifUnexpectedCode);
        code = 0;
      }
    }
    // The new entry's string is the previous string followed by this one's first byte.
    int previousLength = length[previous];
    prefix[next] = static_cast<uint16_t>(previous);
    length[next] = static_cast<uint16_t>(previousLength + 1);
    position[next] = static_cast<uint32_t>(output.written - previousLength);
    uint8_t first;
    if (code < clear && output.written < output.size) {
      first = suffix[code];  // a root, the most frequent code in detailed pictures: one byte
      output.start[output.written++] = first;
    } else {
      first = EmitString(context, &output, code);
    }
    suffix[next] = first;
    if (code == next && output.written > 0) output.start[output.written - 1] = first;
    if (next != clear && ++next == (1 << width)) {
      if (width < 12) {
        width += 1;
      } else {
        next = clear;  // full: new entries go to the unused slot clear until a clear code
      }
    }
    previous = code;
  }
  context->written = output.written;
  if (output.written < output.size) {
    ReportProblem(context, kGifNotEnoughImageData);
    MarkOutputFull(context, output.written);
  }
}
