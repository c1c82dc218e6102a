// The stretch and the parallelogram transfer of one face in a single pass: the transfer samples the
// picture through the stretch's mapping instead of reading a stretched copy. No platform headers.
#pragma once
#include "picture/packed_dib.h"
#include "render/parallelogram_walk.h"
#include "render/cube_geometry.h"
#include "render/surface.h"

// Paints target exactly as StretchPicture(scratch, w, hh, picture) followed by
// TransferParallelogram(target, corners, scratch, w, hh) does for a scratch surface of scratchWidth x
// scratchHeight pixels: every pixel of the parallelogram shows the picture pixel the stretch puts
// under its sample, and pixels whose sample lies beyond the scratch surface stay unchanged.
// The picture must pass StretchablePicture (stretch_mapping.h). Returns false when the transfer is
// refused (negative w or hh, coordinates beyond the transfer's limits, or a scratch side beyond
// kMaxSurfaceSide); zero w, hh or area succeed and paint nothing.
bool TransferPicture(const Surface& target, const ScreenPoint corners[3], const PackedDib* picture, int w, int hh,
                     int scratchWidth, int scratchHeight);

// What TransferPicture with the same arguments paints: every pixel of its parallelogram (then walk
// holds the parallelogram), no pixel at all (nothing to draw, or a refused transfer), or only the
// pixels whose sample lies on the scratch surface.
enum PictureCoverage { kCoversAll, kCoversNothing, kCoversSome };
PictureCoverage PictureTransferCoverage(const Surface& target, const ScreenPoint corners[3], int w, int hh,
                                        int scratchWidth, int scratchHeight, ParallelogramWalk* walk);
