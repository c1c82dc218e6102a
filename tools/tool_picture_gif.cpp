// The GIF loader of whirlbox-tool's picture command: LoadGif, or one frame of LoadGifFrames, with
// every parse problem printed. Uses the portable GIF reader only; no Windows headers.
#include "tool_picture_gif.h"

#include <cstdlib>

#include "picture/gif_loader.h"

void PrintGifProblem(const char* message, int frameIndex, void* out) {
  std::fprintf(static_cast<FILE*>(out), "problem: %s (frame %d)\n", message, frameIndex);
}

PackedDib* LoadGifForToolTo(const char* path, int frame, FILE* out) {
  if (frame == -1) return LoadGifReporting(path, PrintGifProblem, out);
  GifFrameSet set = LoadGifFramesReporting(path, PrintGifProblem, out);
  PackedDib* picture = nullptr;
  if (frame >= 0 && frame < set.count) {
    picture = set.pictures[frame];
    set.pictures[frame] = nullptr;  // kept: ReleaseGifFrameSet frees the others
  }
  ReleaseGifFrameSet(&set);
  return picture;
}

PackedDib* LoadGifForTool(const char* path, int frame) { return LoadGifForToolTo(path, frame, stdout); }
