// DrawCube: one animation step drawn into the back buffer. No platform headers.
#pragma once
#include "picture/win_records.h"

// Advances the animation by one step, draws the facing faces into BackSurface (each picture
// stretched into FaceSurface, then mapped onto its parallelogram) and updates DirtyRect and
// PrevDirtyRect. Ends the process through Abort 202 or 205 when a face cannot be drawn. Reads
// CubeHalfEdge, ViewWidth, ViewHeight and FacePictures; never touches the window.
void DrawCube();

// The frame's erase and DrawCube together: the back buffer ends exactly as after FillSurfaceRect(
// BackSurface, erase, kBlack) followed by DrawCube(), but the pixels the new faces cover are not
// filled first, so each is written once.
void EraseAndDrawCube(Rect erase);
