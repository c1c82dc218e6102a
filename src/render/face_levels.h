// The levels the renderer keeps of each face picture (its own copy; the readers' pictures are left as
// they return them), made on the loading threads or, for pictures set directly, at the first frame,
// and trimmed once the role fixes the half edge. Reads FacePictures; knows nothing of the roles.
#pragma once
#include "render/cube_geometry.h"
#include "render/picture_levels.h"

// Face k's levels; count 0 until made.
extern PictureLevels FaceLevels[kCubeFaceCount];

// The levels of a picture the painter can read, made as the loading threads make them; a picture
// larger than any face can show is freed and *picture set to null, since nothing needs it again.
// Leaves *levels empty (and the picture) for a picture the painter cannot read or when memory runs
// out: the first frame then fails with the picture as it does without levels.
void MakeLoadedLevels(PackedDib** picture, PictureLevels* levels);

// Makes face's levels from FacePictures[face] if it has none: false when that picture cannot be
// read by the painter or memory runs out.
bool EnsureFaceLevels(int face);

// For the half edge the role has fixed: frees every face picture that has levels (none is drawn
// from again) and the levels larger than a face of that half edge can use.
void KeepShownLevels(int halfEdge);

// Frees every face's levels, for the tool and tests that set new FacePictures.
void ForgetFaceLevels();
