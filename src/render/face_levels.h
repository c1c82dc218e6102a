// The levels the renderer keeps of each face picture (its own copy; the readers' pictures are left as
// they return them): the top levels made on the loading threads (or, for pictures set directly, at
// the first frame), the face levels planned once the role fixes the half edge. Reads FacePictures and, at the
// first frame, CubeHalfEdge; knows nothing of the roles.
#pragma once
#include "render/cube_geometry.h"
#include "render/picture_levels.h"

// Face k's levels; empty until made.
extern PictureLevels FaceLevels[kCubeFaceCount];

// The levels of a picture the painter can read, made as the loading threads make them; a picture
// larger than any face can show is freed and *picture set to null, since nothing needs it again.
// Leaves *levels empty (and the picture) for a picture the painter cannot read or when memory runs
// out: the first frame then fails with the picture as it does without levels.
void MakeLoadedLevels(PackedDib** picture, PictureLevels* levels);

// The JPEG file at path read as LoadJpeg reads it, true where LoadJpeg gives a picture: an upright
// one straight into *levels' top level as it is decoded (*picture null: the whole picture is never
// held); any other into *picture with its levels as MakeLoadedLevels makes them.
bool LoadJpegLevels(const char* path, PackedDib** picture, PictureLevels* levels);

// Makes face's top level from FacePictures[face] if it has none and plans its face levels for
// CubeHalfEdge: false when that picture cannot be read by the painter or memory runs out.
bool EnsureFaceLevels(int face);

// For the half edge the role has fixed: plans every face's face levels and frees the face pictures
// that have a top level (none is drawn from again).
void KeepShownLevels(int halfEdge);

// Frees every face's levels, for the tool and tests that set new FacePictures.
void ForgetFaceLevels();
