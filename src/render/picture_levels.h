// A face picture as the renderer keeps it. The loading threads reduce the picture to a top level
// of at most kLevelSideCap a side; once the half edge is fixed, that becomes a set of face levels:
// one packed 32-bit picture for every pair of a width and a height from the largest face side (or the
// top level's, when that is smaller) down to 1, in steps of a square root of two, each the area
// average of the top level. A face is then painted by the nearest-neighbour transfer
// from the level whose size is nearest its footprint on the screen: filtered once, not per pixel.
// Portable, no globals, no drawing; it must not depend on the settings or the animation.
#pragma once
#include <cstdint>

#include "picture/packed_dib.h"
#include "render/cube_geometry.h"

// No face edge is longer than twice the largest half edge (480, size 100) and the rounding of its
// corners. The top level is at most twice that, so that even the largest face is an average over
// two or more top-level pixels a side.
constexpr int kLevelSideCap = 2 * (2 * 480 + 2);

// Widths (or heights) from 65535 down to 1 in steps of a square root of two.
constexpr int kMaxLevelSteps = 34;

struct PictureLevels {
  uint32_t* top;  // the reduced picture, 0x00RRGGBB words, top row first (std::free); null once dropped
  int32_t topWidth;
  int32_t topHeight;
  uint8_t* block;    // the face levels, packed pictures side by side (std::free)
  int32_t faceSide;  // the largest face side they serve; 0 while there are none
  int widthCount;
  int heightCount;
  int32_t widths[kMaxLevelSteps];  // falling from the face side or the top level's width, to 1
  int32_t heights[kMaxLevelSteps];
  const PackedDib* faces[kMaxLevelSteps][kMaxLevelSteps];  // [width step][height step]
};

// True once the top level or the face levels exist.
inline bool HasLevels(const PictureLevels& levels) { return levels.top != nullptr || levels.block != nullptr; }

// The largest face side of a half edge: twice it and the rounding of the corners, at least 1 and
// at most kLevelSideCap.
int FaceSideForHalfEdge(int halfEdge);

// The top level of picture (which must pass StretchablePicture): the picture's own colours when no
// side is longer than cap, else the mean of each block of kx x ky pixels, kx and ky the smallest
// whole numbers that bring the sides to cap or less (the last block of a row or column averages the
// pixels it has). Colours, never palette indices. False (levels emptied) when memory runs out.
bool BuildPictureLevels(const PackedDib* picture, int cap, PictureLevels* levels);

// Makes the face levels for faces of at most faceSide pixels a side from the top level, in place of
// any made before; the top level stays. False when there is no top level or memory runs out (then
// nothing changes).
bool BuildFaceLevels(int faceSide, PictureLevels* levels);

// The face level for the parallelogram with top-left, top-right and bottom-left corners
// corners[0..2]: the smallest width not below its extent across the picture's columns (its area over
// the length of its left edge) and the same for the height; the largest level when the face is
// larger. The levels must exist.
const PackedDib* PickFaceLevel(const PictureLevels& levels, const ScreenPoint corners[3]);

// Frees both blocks and empties the record.
void FreePictureLevels(PictureLevels* levels);
