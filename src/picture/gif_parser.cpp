// The GIF block parser: the stdio byte source, the model's records, the problem messages, the
// extension readers and the block loop. Reads only through the byte source; builds no pictures.
#include "picture/gif_parser.h"

#include <cstdlib>
#include <cstring>

#include "picture/gif_lzw.h"

// The byte source: getc, fread, ftell and a pushed-back getc.

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

// The records: allocation in 64-bit sizes, growth and reference-counted release.

int64_t GifLargestBlock = INT32_MAX;

static bool SizeAllowed(int64_t size) {
  return size >= 0 && size <= GifLargestBlock && static_cast<uint64_t>(size) <= SIZE_MAX;
}

void* GifAllocate(int64_t size) {
  if (!SizeAllowed(size)) return nullptr;
  return std::malloc(size > 0 ? static_cast<size_t>(size) : 1);
}

void* GifAllocateZeroed(int64_t size) {
  if (!SizeAllowed(size)) return nullptr;
  return std::calloc(size > 0 ? static_cast<size_t>(size) : 1, 1);
}

GifContents* NewGifContents() {
  GifContents* contents = static_cast<GifContents*>(GifAllocateZeroed(sizeof(GifContents)));
  if (contents != nullptr) contents->loopCount = -1;
  return contents;
}

GifFrame* NewGifFrame() {
  GifFrame* frame = static_cast<GifFrame*>(GifAllocateZeroed(sizeof(GifFrame)));
  if (frame != nullptr) frame->transparent = -1;
  return frame;
}

GifPalette* NewGifPalette(int n) {
  GifPalette* palette = static_cast<GifPalette*>(GifAllocateZeroed(sizeof(GifPalette)));
  if (palette == nullptr) return nullptr;
  palette->entries = static_cast<GifColor*>(GifAllocateZeroed(static_cast<int64_t>(n) * sizeof(GifColor)));
  if (palette->entries == nullptr) {
    std::free(palette);
    return nullptr;
  }
  palette->count = n;
  palette->capacity = n;
  palette->refs = 1;
  return palette;
}

// Grows an array of count elements to capacity 2, or doubles it; false (array unchanged) on failure.
static bool GrowArray(void** array, int32_t* capacity, int64_t elementSize) {
  int64_t grown = *capacity == 0 ? 2 : static_cast<int64_t>(*capacity) * 2;
  if (grown > INT32_MAX || !SizeAllowed(grown * elementSize)) return false;
  void* bigger = std::realloc(*array, static_cast<size_t>(grown * elementSize));
  if (bigger == nullptr) return false;
  *array = bigger;
  *capacity = static_cast<int32_t>(grown);
  return true;
}

bool AddFrame(GifContents* contents, GifFrame* frame) {
  if (contents->frameCount == contents->frameCapacity) {
    void* array = contents->frames;
    if (!GrowArray(&array, &contents->frameCapacity, sizeof(GifFrame*))) return false;
    contents->frames = static_cast<GifFrame**>(array);
  }
  contents->frames[contents->frameCount++] = frame;
  frame->refs += 1;
  return true;
}

bool AddComment(CommentList* list, char* text, int32_t length) {
  if (list->count == list->capacity) {
    // Both arrays grow to the same capacity; the shared capacity changes only when both did.
    int32_t textCapacity = list->capacity;
    int32_t lengthCapacity = list->capacity;
    void* texts = list->texts;
    void* lengths = list->lengths;
    bool grewTexts = GrowArray(&texts, &textCapacity, sizeof(char*));
    list->texts = static_cast<char**>(texts);
    if (!grewTexts || !GrowArray(&lengths, &lengthCapacity, sizeof(int32_t))) return false;
    list->lengths = static_cast<int32_t*>(lengths);
    list->capacity = textCapacity;
  }
  list->texts[list->count] = text;
  list->lengths[list->count] = length;
  list->count += 1;
  return true;
}

void ReleaseComments(CommentList* list) {
  if (list == nullptr) return;
  for (int32_t i = 0; i < list->count; ++i) std::free(list->texts[i]);
  std::free(list->texts);
  std::free(list->lengths);
  std::free(list);
}

void ReleasePalette(GifPalette* palette) {
  if (palette == nullptr || --palette->refs > 0) return;
  std::free(palette->entries);
  std::free(palette);
}

void ReleaseFrame(GifFrame* frame) {
  if (frame == nullptr || --frame->refs > 0) return;
  std::free(frame->name);
  ReleaseComments(frame->comments);
  ReleasePalette(frame->localPalette);
  std::free(frame->rows);
  std::free(frame->pixels);
  std::free(frame);
}

void ReleaseGif(GifContents* contents) {
  if (contents == nullptr || --contents->refs > 0) return;
  ReleasePalette(contents->globalPalette);
  ReleaseComments(contents->endComments);
  for (int32_t i = 0; i < contents->frameCount; ++i) ReleaseFrame(contents->frames[i]);
  std::free(contents->frames);
  StoredExtension* extension = contents->extensions;
  while (extension != nullptr) {
    StoredExtension* next = extension->next;
    std::free(extension->name);
    std::free(extension->data);
    std::free(extension);
    extension = next;
  }
  std::free(contents);
}

// The problem channel.

const char kGifUnknownBlock[] = "unknown block type %d at file offset %d";
const char kGifOddGraphicExtension[] = "odd graphic extension format";
const char kGifBadLoopExtension[] = "bad loop extension";
const char kGifTrailingGarbage[] = "trailing garbage after GIF ignored";
const char kGifMinCodeSizeTooBig[] = "min_code_size too big";
const char kGifMinCodeSizeTooSmall[] = "min_code_size too small";
const char kGifUnexpectedCode[] = "unexpected code";
const char kGifTooMuchImageData[] = "too much image data";
const char kGifBadCode[] = "bad code";
const char kGifNotEnoughImageData[] = "not enough image data for image size";

void ReportProblem(DecodeContext* context, const char* message) {
  GifContents* contents = context->contents;
  contents->errorCount += 1;
  if (context->hook != nullptr) context->hook(message, contents->frameCount, context->hookValue);
}

// The extensions.

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

// The blocks.

namespace {

// What one parse carries from block to block.
struct ParseState {
  ByteSource* source;
  DecodeContext context;
  GifFrame* pending;   // gathers graphic control values, comments and the name for the next frame
  char* pendingName;   // the latest name extension's text, until a frame takes it
  bool unknownReported;
};

}  // namespace

GifPalette* ReadPalette(ByteSource* source, int count) {
  GifPalette* palette = NewGifPalette(count);
  if (palette == nullptr) return nullptr;
  // Read as blocks, not a byte at a time; zeroed first, so that entries past the end of the file are
  // black, as the bytes read there are zeros.
  uint8_t bytes[3 * 256];
  for (int first = 0; first < count; first += 256) {
    int n = count - first < 256 ? count - first : 256;
    std::memset(bytes, 0, sizeof bytes);
    source->NextBlock(source, bytes, 3 * n);
    for (int i = 0; i < n; ++i) {
      palette->entries[first + i] = GifColor{bytes[3 * i], bytes[3 * i + 1], bytes[3 * i + 2]};
    }
  }
  return palette;
}

bool ReadFrame(ByteSource* source, DecodeContext* context, GifFrame* frame) {
  frame->left = static_cast<uint16_t>(NextWord(source));
  frame->top = static_cast<uint16_t>(NextWord(source));
  frame->width = static_cast<uint16_t>(NextWord(source));
  frame->height = static_cast<uint16_t>(NextWord(source));
  int packed = source->NextByte(source);
  if ((packed & 0x80) != 0) {
    frame->localPalette = ReadPalette(source, 1 << ((packed & 7) + 1));
    if (frame->localPalette == nullptr) return false;
  }
  frame->interlaced = (packed & 0x40) != 0 ? 1 : 0;
  return DecodeFrame(context, frame, source);
}

// The extension after its introducer; false when the parse must end (allocation failure).
static bool ReadExtension(ParseState* state) {
  ByteSource* source = state->source;
  int label = source->NextByte(source);
  switch (label) {
    case 0xCE:  // name: the new text replaces the old; without data the old one stays
      state->pendingName = CollectSubBlocks(source, state->pendingName, nullptr, nullptr);
      return true;
    case 0xF9:
      ReadGraphicControl(source, &state->context, state->pending);
      return true;
    case 0xFE:
      return ReadCommentExtension(source, state->pending);
    case 0xFF:
      ReadApplicationExtension(source, &state->context);
      return true;
    default:
      ReadOtherExtension(source, state->context.contents, label, nullptr);
      return true;
  }
}

// The image descriptor after its introducer: the pending frame takes the pending name, is read and
// stored, and a new pending frame starts. False when the parse must end.
static bool ReadImage(ParseState* state) {
  GifFrame* frame = state->pending;
  frame->name = state->pendingName;
  state->pendingName = nullptr;
  state->pending = nullptr;
  if (!ReadFrame(state->source, &state->context, frame) || !AddFrame(state->context.contents, frame)) {
    ReleaseFrame(frame);
    return false;
  }
  state->pending = NewGifFrame();
  return state->pending != nullptr;
}

static void ReportUnknownBlock(ParseState* state, int byte) {
  if (state->unknownReported) return;
  char message[256];
  long offset = state->source->CurrentOffset(state->source) - 1;
  std::snprintf(message, sizeof message, kGifUnknownBlock, byte, static_cast<int>(offset));
  ReportProblem(&state->context, message);
  state->unknownReported = true;
}

// The block loop; returns when the trailer, the end of the file or an allocation failure ends it.
static void ReadBlocks(ParseState* state) {
  ByteSource* source = state->source;
  while (!source->AtEnd(source)) {
    int byte = source->NextByte(source);
    if (byte == 0x21) {
      if (!ReadExtension(state)) return;
    } else if (byte == 0x2C) {
      if (!ReadImage(state)) return;
    } else if (byte == 0x3B) {
      return;
    } else {
      ReportUnknownBlock(state, byte);  // stray bytes are skipped one at a time
    }
  }
}

// The LZW code tables of one parse, shared by its frames. They live on the parse's stack: their size
// is fixed, so there is nothing to refuse, and a parse then costs no fresh memory for them (under a
// checking allocator each heap block is new pages, which cost more than a small picture's decoding).
struct CodeTables {
  uint16_t prefix[kGifCodeCount];
  uint8_t suffix[kGifCodeCount];
  uint16_t length[kGifCodeCount];
  uint32_t position[kGifCodeCount];
};

// The end of every parse: the pending frame's comments become the end comments, the rest of the
// parse state is released, and bytes left over are reported if nothing else was.
static void FinishParse(ParseState* state) {
  GifContents* contents = state->context.contents;
  if (state->pending != nullptr) {
    contents->endComments = state->pending->comments;
    state->pending->comments = nullptr;
    ReleaseFrame(state->pending);
    state->pending = nullptr;
  }
  std::free(state->pendingName);
  state->pendingName = nullptr;
  if (contents->errorCount == 0 && !state->source->AtEnd(state->source)) {
    ReportProblem(&state->context, kGifTrailingGarbage);
    contents->errorCount = 0;
  }
}

// The logical screen descriptor and the global palette; false on allocation failure.
static bool ReadScreen(ByteSource* source, GifContents* contents) {
  contents->screenWidth = static_cast<uint16_t>(NextWord(source));
  contents->screenHeight = static_cast<uint16_t>(NextWord(source));
  int packed = source->NextByte(source);
  contents->background = static_cast<uint8_t>(source->NextByte(source));
  source->NextByte(source);  // pixel aspect, unused
  if ((packed & 0x80) == 0) return true;
  contents->globalPalette = ReadPalette(source, 1 << ((packed & 7) + 1));
  return contents->globalPalette != nullptr;
}

GifContents* ParseGif(ByteSource* source, ProblemHook hook, void* hookValue) {
  // No byte is read after the first mismatch of the signature.
  if (source->NextByte(source) != 'G' || source->NextByte(source) != 'I' || source->NextByte(source) != 'F') {
    return nullptr;
  }
  for (int i = 0; i < 3; ++i) source->NextByte(source);  // any version is accepted
  ParseState state = {};
  state.source = source;
  state.context.contents = NewGifContents();
  if (state.context.contents == nullptr) return nullptr;
  state.context.hook = hook;
  state.context.hookValue = hookValue;
  CodeTables tables = {};
  state.context.prefix = tables.prefix;
  state.context.suffix = tables.suffix;
  state.context.length = tables.length;
  state.context.position = tables.position;
  state.pending = NewGifFrame();
  if (state.pending != nullptr && ReadScreen(source, state.context.contents)) {
    ReadBlocks(&state);
  }
  FinishParse(&state);
  return state.context.contents;
}

GifContents* ParseGifFile(FILE* file, ProblemHook hook, void* hookValue) {
  if (file == nullptr) return nullptr;
  ByteSource source = MakeFileByteSource(file);
  return ParseGif(&source, hook, hookValue);
}
