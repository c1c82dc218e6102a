// A face picture as the renderer keeps it: a chain of reduced levels in 0x00RRGGBB words, the top one
// no larger than the largest face can show, each next one half the size. Portable, no globals, no
// drawing; it must not depend on the settings or the animation.
#pragma once
#include <cstdint>

#include "picture/packed_dib.h"

// No face edge is longer than twice the largest half edge (480, size 100) and the rounding of its
// corners. The top level is at most twice that wide and high, so that even the largest face is
// filtered from a finer level than itself: a level near a face's own size but on another grid
// would blur the finest detail the face can show.
constexpr int kLevelSideCap = 2 * (2 * 480 + 2);

// Enough for halving a 65535-wide picture down to one pixel.
constexpr int kMaxLevels = 18;

struct PictureLevel {
  const uint32_t* pixels;  // top row first, width words per row, colour 0x00RRGGBB
  int32_t width;
  int32_t height;
};

// What is left of one picture: levels[0] is the largest kept, each next one halves it (odd sides
// rounded up, so the last row and column are kept), down to 1 x 1. All levels share one block.
struct PictureLevels {
  uint32_t* block;  // the one allocation, std::free
  int count;        // 0: none (no picture, or one the painter cannot read)
  int dropped;      // levels dropped from the top: levels[0] is level `dropped` of the full chain
  int32_t topWidth;   // level 0 of the full chain, the size the sampler's footprint is measured in
  int32_t topHeight;
  PictureLevel levels[kMaxLevels];
};

// The chain of picture (which must pass StretchablePicture): level 0 is the exact area average of
// the picture reduced to at most cap on each side (the picture's own colours when it is no larger),
// then 2 x 2 averages. Colours, never palette indices. False (levels emptied) when memory runs out.
bool BuildPictureLevels(const PackedDib* picture, int cap, PictureLevels* levels);

// Keeps only the levels a face of at most 2 * halfEdge + 2 pixels a side can use: drops each top
// level while the next is at least that long on its longer side. False when memory runs out (then
// the levels stay as they were).
bool KeepLevelsForHalfEdge(int halfEdge, PictureLevels* levels);

// Frees the block and empties the record.
void FreePictureLevels(PictureLevels* levels);
