// The GIF face loader: a GIF file parsed and its frames turned into screen-sized 8-bit packed DIB
// pictures, the first of which the saver shows. Depends on the parser and the picture format.
#pragma once
#include <cstdint>
#include <cstdio>

#include "picture/gif_parser.h"
#include "picture/packed_dib.h"

// The picture of the first frame, a new block owned by the caller (free it with std::free), or null
// for every failure: no file, no GIF signature, no frame, or an allocation failure. Later frames
// are parsed but get no picture. LoadGif opens the file "rb" and closes it on every path before a
// picture is built; ReadGif reads an open binary stream from its position and leaves it open.
PackedDib* LoadGif(const char* path);
PackedDib* ReadGif(FILE* file);

// LoadGif, passing every problem of the parse to hook (may be null).
PackedDib* LoadGifReporting(const char* path, ProblemHook hook, void* hookValue);

// One picture per frame, in file order; an empty set has no array and a count of 0.
struct GifFrameSet {
  PackedDib** pictures;
  int32_t count;
};

// Every frame's picture; the empty set for every failure, as for LoadGif and ReadGif. The caller
// frees it with ReleaseGifFrameSet.
GifFrameSet LoadGifFrames(const char* path);
GifFrameSet ReadGifFrames(FILE* file);

// LoadGifFrames, passing every problem of the parse to hook (may be null).
GifFrameSet LoadGifFramesReporting(const char* path, ProblemHook hook, void* hookValue);

// Frees every picture of the set and its array, and leaves the set empty.
void ReleaseGifFrameSet(GifFrameSet* set);

// The picture of one frame: screen-sized, filled with the background index, the frame's pixels
// placed bottom-up and clipped to the screen. Pixels equal to the frame's transparent index come
// from before when it is given. Null when the block would not fit in GifLargestBlock or allocation
// fails.
PackedDib* BuildFramePicture(const GifContents* contents, const GifFrame* frame, const PackedDib* before);
