// The GIF part of `whirlbox-tool picture FILE.gif [--frame N]`: loads the picture the saver would
// show (or frame N) and prints every problem of the parse on the way. Native tool code only.
#pragma once
#include <cstdio>

#include "picture/packed_dib.h"

// Prints "problem: <message> (frame <index>)" and a line break to the FILE* given as out.
void PrintGifProblem(const char* message, int frameIndex, void* out);

// frame -1: the picture LoadGif gives; frame N >= 0: picture N of LoadGifFrames, or null when the
// file has no such frame. Problems are printed to out in the order the parser meets them. The
// caller frees the picture with std::free.
PackedDib* LoadGifForToolTo(const char* path, int frame, FILE* out);

// The same, printing to standard output.
PackedDib* LoadGifForTool(const char* path, int frame);
