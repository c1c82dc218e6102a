// Readers of the GIF extension blocks (graphic control, comment, application, name and any other
// label), each called after the introducer and label bytes. No frame decoding, no pictures.
#pragma once
#include <cstdint>

#include "picture/gif_byte_source.h"
#include "picture/gif_contents.h"

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
