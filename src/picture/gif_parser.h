// The GIF block parser and the model it builds: the byte source it reads through, the parsed
// contents with their reference-counted release, the problem channel, the extension readers and the
// block loop. Frame rasters go to the LZW decoder (gif_lzw); pictures are built by the face loader.
#pragma once
#include <cstdint>
#include <cstdio>

// The byte source the parser and the LZW decoder read through: an open stdio file and four
// operations called through function pointers.
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

// The problem channel.

struct DecodeContext;

// Called once per problem; message is valid only during the call, frameIndex is the number of
// frames stored so far (the index of the frame being read).
typedef void (*ProblemHook)(const char* message, int frameIndex, void* hookValue);

// Messages of the block parser.
extern const char kGifUnknownBlock[];        // printf format: the byte and its file offset
extern const char kGifOddGraphicExtension[];
extern const char kGifBadLoopExtension[];
extern const char kGifTrailingGarbage[];
// Messages of the LZW decoder.
extern const char kGifMinCodeSizeTooBig[];
extern const char kGifMinCodeSizeTooSmall[];
extern const char kGifUnexpectedCode[];
extern const char kGifTooMuchImageData[];
extern const char kGifBadCode[];
extern const char kGifNotEnoughImageData[];

// Adds 1 to the contents' error count, then calls the hook (if any) with the message, the
// contents' frame count and the hook value.
void ReportProblem(DecodeContext* context, const char* message);

// The parsed model.

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

// The parser.

// Parses a whole GIF stream. Returns new contents with a reference count of 0 (release with
// ReleaseGif), or null when the signature is not "GIF" or the contents cannot be allocated. Damage
// is reported through hook (may be null) and never fails the parse; an allocation failure ends it
// with the frames completed so far.
GifContents* ParseGif(ByteSource* source, ProblemHook hook, void* hookValue);

// ParseGif over an open binary file, which stays open; null for a null file.
GifContents* ParseGifFile(FILE* file, ProblemHook hook, void* hookValue);

// A palette of count entries read as red, green, blue triples; null on allocation failure.
GifPalette* ReadPalette(ByteSource* source, int count);

// An image descriptor after its introducer: position, size, packed byte, local palette and the
// decoded raster. False only when an allocation fails.
bool ReadFrame(ByteSource* source, DecodeContext* context, GifFrame* frame);

// The extension readers, each called after the introducer and label bytes.

// Concatenates a run of data sub-blocks after buffer (or into a new one) from offset 0, with a NUL
// after the data; returns the buffer and stores the total length when asked. Without a sub-block
// the given buffer comes back unchanged. When the buffer cannot grow it is released, the rest of
// the run is skipped, *failed (when asked) becomes true and the result is null.
char* CollectSubBlocks(ByteSource* source, char* buffer, int32_t* lengthOut, bool* failed);

// Reads the sub-block lengths and skips their bytes until a zero length, starting with length.
void SkipSubBlocks(ByteSource* source, int length);

// Graphic control extension into the pending frame; odd sub-blocks are reported and skipped.
void ReadGraphicControl(ByteSource* source, DecodeContext* context, GifFrame* frame);

// Comment extension appended to the frame's comments; false only on allocation failure.
bool ReadCommentExtension(ByteSource* source, GifFrame* frame);

// Application extension: "NETSCAPE2.0" sets the loop count, any other is stored.
void ReadApplicationExtension(ByteSource* source, DecodeContext* context);

// Stores the extension's data under kind (255 with an application name); nothing without data.
void ReadOtherExtension(ByteSource* source, GifContents* contents, int kind, const char* applicationName);
