// The in-memory model of one parsed GIF file (contents, frames, palettes, extensions, comments),
// its reference-counted release, and the per-parse decoding record. No file reading, no Windows.
#pragma once
#include <cstdint>

#include "picture/gif_problems.h"

struct GifColor {
  uint8_t red;
  uint8_t green;
  uint8_t blue;
};

struct GifPalette {
  int32_t count;
  int32_t capacity;
  int32_t refs;  // a palette read from the file starts at 1
  GifColor* entries;
};

// Comment texts (each NUL-terminated) with their lengths; count and capacity shared by both arrays.
struct CommentList {
  char** texts;
  int32_t* lengths;
  int32_t count;
  int32_t capacity;
};

struct StoredExtension {
  int32_t kind;     // the extension label, or 255 for an application extension
  char* name;       // application name, or null
  uint8_t* data;    // concatenated data sub-blocks and one NUL that length does not count
  int32_t length;
  StoredExtension* next;
};

struct GifFrame {
  char* name;
  CommentList* comments;
  GifPalette* localPalette;
  int16_t transparent;  // 0 to 255, or -1 for none
  uint16_t delay;
  uint8_t disposal;
  uint16_t left;
  uint16_t top;
  uint16_t width;
  uint16_t height;
  uint8_t interlaced;
  uint8_t** rows;    // height + 1 entries: image row r (top first), then null
  uint8_t* pixels;   // width * height colour indices in the order the data delivers them
  int32_t refs;
};

struct GifContents {
  GifPalette* globalPalette;
  uint8_t background;
  uint16_t screenWidth;
  uint16_t screenHeight;
  int32_t loopCount;  // -1 without a loop extension
  CommentList* endComments;
  GifFrame** frames;
  int32_t frameCount;
  int32_t frameCapacity;
  StoredExtension* extensions;
  uint32_t errorCount;
  int32_t refs;
  StoredExtension* lastExtension;  // the list's end, so appending stays cheap with many extensions
};

enum { kGifCodeCount = 4096 };

// The per-parse record the parser hands to the decoder and to ReportProblem.
struct DecodeContext {
  GifContents* contents;
  uint16_t* prefix;    // kGifCodeCount entries each
  uint8_t* suffix;
  uint16_t* length;
  uint32_t* position;  // where a code's string last stood in the frame's output
  uint8_t* outputStart;
  uint8_t* outputEnd;
  int64_t written;
  ProblemHook hook;
  void* hookValue;
};

// The largest block the GIF reader allocates, in bytes: 2^31 - 1, so that a frame or picture that
// does not fit counts as an allocation failure on every build. Fuzz targets and tests lower it.
extern int64_t GifLargestBlock;

// malloc / calloc of a size computed in 64 bits; null when it is negative, above GifLargestBlock,
// or the allocation fails.
void* GifAllocate(int64_t size);
void* GifAllocateZeroed(int64_t size);

// New records, or null when allocation fails. A frame starts with every field zero but
// transparent -1; a palette has count = capacity = n entries and a reference count of 1.
GifContents* NewGifContents();
GifFrame* NewGifFrame();
GifPalette* NewGifPalette(int n);

// Appends the frame (its reference count rises by 1); false when the array cannot grow.
bool AddFrame(GifContents* contents, GifFrame* frame);
// Appends a text and its length, taking the text; false when the arrays cannot grow.
bool AddComment(CommentList* list, char* text, int32_t length);
void ReleaseComments(CommentList* list);

// Each lowers the reference count by 1 and destroys the record, with everything it owns, when the
// count is then 0 or less. Null is ignored.
void ReleaseGif(GifContents* contents);
void ReleaseFrame(GifFrame* frame);
void ReleasePalette(GifPalette* palette);
