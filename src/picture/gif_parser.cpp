// The GIF block parser: reads the header and screen descriptor, then dispatches every block until
// the trailer or the end of the file. Frame rasters go to the LZW decoder; no pictures are built here.
#include "picture/gif_parser.h"

#include <cstdlib>

#include "picture/gif_extensions.h"
#include "picture/gif_lzw.h"

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
  for (int i = 0; i < count; ++i) {
    palette->entries[i].red = static_cast<uint8_t>(source->NextByte(source));
    palette->entries[i].green = static_cast<uint8_t>(source->NextByte(source));
    palette->entries[i].blue = static_cast<uint8_t>(source->NextByte(source));
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

static bool AllocateCodeTables(DecodeContext* context) {
  context->prefix = static_cast<uint16_t*>(GifAllocateZeroed(kGifCodeCount * sizeof(uint16_t)));
  context->suffix = static_cast<uint8_t*>(GifAllocateZeroed(kGifCodeCount));
  context->length = static_cast<uint16_t*>(GifAllocateZeroed(kGifCodeCount * sizeof(uint16_t)));
  context->position = static_cast<uint32_t*>(GifAllocateZeroed(kGifCodeCount * sizeof(uint32_t)));
  return context->prefix != nullptr && context->suffix != nullptr && context->length != nullptr &&
         context->position != nullptr;
}

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
  std::free(state->context.prefix);
  std::free(state->context.suffix);
  std::free(state->context.length);
  std::free(state->context.position);
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
  state.pending = NewGifFrame();
  if (state.pending != nullptr && AllocateCodeTables(&state.context) &&
      ReadScreen(source, state.context.contents)) {
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
