// The animation's process-wide state and DrawCube, which moves it one step and paints the new cube
// into the back buffer. Never touches the window: the platform's frame step copies the area it returns.
#pragma once
#include "picture/win_records.h"
#include "render/cube_geometry.h"

extern int AngleX;  // whole degrees, 0 to 359
extern int AngleY;
extern int AngleZ;
extern int CenterX;  // the cube's centre on the view, in pixels
extern int CenterY;
extern int VelocityX;  // drift in pixels per frame; only the signs ever change
extern int VelocityY;
extern ScreenPoint ScreenPoints[kCubeCorners];  // corners of the last frame, in vertex order
extern Rect DirtyRect;      // the area the cube of the last frame covered, widened by one pixel
extern Rect PrevDirtyRect;  // DirtyRect as it was before the current frame

// The animation globals as one record, and back.
CubeMotion CurrentCubeMotion();
void SetCubeMotion(const CubeMotion& motion);

// Puts the animation back to its load values (the tool and the tests run many animations in one
// process; the saver never calls it). DirtyRect and PrevDirtyRect become empty.
void ResetCubeState();

// One frame in BackSurface: erases the last frame's cube (DirtyRect) in black, advances the
// animation, paints each facing face straight from its picture and updates DirtyRect and
// PrevDirtyRect. The erase skips the pixels the new faces paint, so each pixel is written once; the
// result is that of a whole erase followed by the faces. Returns the copy area: the union of
// PrevDirtyRect and the new DirtyRect, not clipped to the view. Ends the process through Abort 202
// (a picture the painter cannot read) or 205 (a face the transfer refuses). Reads CubeHalfEdge,
// ViewWidth, ViewHeight, FacePictures and FaceSurface's size.
Rect DrawCube();
