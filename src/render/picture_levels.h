// A face picture as the renderer keeps it. The loading threads reduce the picture to a top level
// of kTopLevelSide to twice that a side (or the picture's own, when smaller). Once the half edge is fixed, the face levels are planned: one
// packed 32-bit picture for every pair of a width and a height from the side of a face square to
// the view (or the top level's, when that is smaller) down to 1, in steps of a square root of two, each the area
// average of the top level, made the first time a face needs it. A face is then painted by the
// nearest-neighbour transfer from the level nearest its footprint on the screen: filtered once, not
// per pixel. Portable, no globals, no drawing; it must not depend on the settings or the animation.
#pragma once
#include <cstdint>

#include "picture/packed_dib.h"
#include "render/cube_geometry.h"

// No face edge is longer than twice the largest half edge (480, size 100) and the rounding of its
// corners; the top level is never smaller than that where the picture is larger, so that the
// largest face still has a level of its own size.
constexpr int kTopLevelSide = 2 * 480 + 2;

// Widths (or heights) from 65535 down to 1 in steps of a square root of two.
constexpr int kMaxLevelSteps = 34;

struct PictureLevels {
  uint32_t* top;  // the reduced picture, 0x00RRGGBB words, top row first (std::free)
  int32_t topWidth;
  int32_t topHeight;
  int32_t faceSide;  // the face side the levels are planned from; 0 while none are
  int widthCount;
  int heightCount;
  int32_t widths[kMaxLevelSteps];  // falling from the face side or the top level's width, to 1
  int32_t heights[kMaxLevelSteps];
  uint32_t* across[kMaxLevelSteps];                   // the top level resampled to each width, once made
  PackedDib* faces[kMaxLevelSteps][kMaxLevelSteps];  // [width step][height step], once made (std::free)
};

// The side the levels are planned from: that of a face square to the view (every 90th frame shows
// one), twice the half edge, at least 1 and at most kTopLevelSide. That face is then painted from a
// level of its own size, so every pixel is exactly the mean of the picture area it covers; the
// rounding of the corners makes a face at most two pixels larger, and that is magnified from it.
int FaceSideForHalfEdge(int halfEdge);

// The top level of picture (which must pass StretchablePicture): the mean of each block of kx x ky
// pixels, kx and ky the largest whole numbers that keep each side at least `least` (1 for a side
// shorter than that: its own pixels); the last block of a row or column averages the pixels it has.
// A reduced side is thus `least` to twice that. Colours, never palette indices. False (levels emptied) when memory runs out.
bool BuildPictureLevels(const PackedDib* picture, int least, PictureLevels* levels);

// The top level made row by row as a reader decodes the picture (BuildPictureLevels runs the same
// steps over a picture held whole): what the rows so far have added up.
struct TopLevelStream {
  int32_t sourceWidth;
  int32_t sourceHeight;
  int bits;
  int32_t kx;
  int32_t ky;
  int32_t width;   // of the top level
  int32_t height;
  int32_t y;  // the next source row, from the top
  uint32_t palette[256];
  uint32_t* top;
  uint32_t* words;   // a paletted row's colours
  uint16_t* column;  // per source byte, the band's rows so far
  uint32_t* sums;    // per top-level pixel and channel, the band's sums so far
};

// Starts the top level of a picture described by header (which must pass StretchablePicture; its
// pixels are not read): false (nothing held) when memory runs out.
bool StartTopLevel(const PackedDib* header, int least, TopLevelStream* stream);

// Adds the next source row, as the DIB's bytes of the picture's row from the top.
void AddTopLevelRow(TopLevelStream* stream, const uint8_t* row);

// Moves the top level, once every row is added, into *levels (emptied first).
void FinishTopLevel(TopLevelStream* stream, PictureLevels* levels);

// Frees what a stream holds (after a failed read, or after FinishTopLevel: nothing).
void FreeTopLevelStream(TopLevelStream* stream);

// Plans the face levels from faceSide down (the top level must exist; a larger face is magnified
// from the largest),
// freeing any made for another side.
void PlanFaceLevels(int faceSide, PictureLevels* levels);

// The face level for the parallelogram with top-left, top-right and bottom-left corners
// corners[0..2], made now if it is the first time: the smallest width not below its extent across
// the picture's columns (its area over the length of its left edge), the same for the height; the
// largest level when the face is larger. Null when there are no planned levels or memory runs out.
const PackedDib* FaceLevel(PictureLevels* levels, const ScreenPoint corners[3]);

// Frees everything and empties the record.
void FreePictureLevels(PictureLevels* levels);
