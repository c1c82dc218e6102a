// The GIF block parser: signature, logical screen, the block loop with its pending frame and
// pending name, and the trailing-garbage rule. Pictures are built elsewhere (gif_loader).
#pragma once
#include <cstdio>

#include "picture/gif_byte_source.h"
#include "picture/gif_contents.h"

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
