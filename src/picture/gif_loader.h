// The GIF face loader: parses a GIF file and turns its frames into screen-sized 8-bit packed DIB
// pictures. Depends on the parser and the picture format; no Windows headers.
#pragma once
#include <cstdint>

#include "picture/gif_contents.h"
#include "picture/packed_dib.h"

// One picture per frame, in file order; an empty set has no array and a count of 0.
struct GifFrameSet {
  PackedDib** pictures;
  int32_t count;
};

// Every frame's picture; the empty set for every failure (no file, no signature, no frame, or an
// allocation failure). The caller frees it with ReleaseGifFrameSet.
GifFrameSet LoadGifFrames(const char* path);

// The same, passing every problem of the parse to hook (may be null).
GifFrameSet LoadGifFramesReporting(const char* path, ProblemHook hook, void* hookValue);

// The picture of the first frame only (LoadGif, declared in readers.h, is this without a hook);
// null for every failure. Later frames are parsed but get no picture.
PackedDib* LoadGifReporting(const char* path, ProblemHook hook, void* hookValue);

// Frees every picture of the set and its array, and leaves the set empty.
void ReleaseGifFrameSet(GifFrameSet* set);

// The picture of one frame: screen-sized, filled with the background index, the frame's pixels
// placed bottom-up and clipped to the screen. Pixels equal to the frame's transparent index come
// from before when it is given. Null when the block would not fit in GifLargestBlock or allocation
// fails.
PackedDib* BuildFramePicture(const GifContents* contents, const GifFrame* frame, const PackedDib* before);
