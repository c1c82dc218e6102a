// The animation's process-wide state: angles, centre, drift, the projected corners of the last frame,
// and the dirty rectangles (declared with the frame step). No platform headers.
#pragma once
#include "render/cube_geometry.h"
#include "render/frame_step.h"

extern int AngleX;  // whole degrees, 0 to 359
extern int AngleY;
extern int AngleZ;
extern int CenterX;  // the cube's centre on the view, in pixels
extern int CenterY;
extern int VelocityX;  // drift in pixels per frame; only the signs ever change
extern int VelocityY;
extern ScreenPoint ScreenPoints[kCubeCorners];  // corners of the last frame, in vertex order

// The animation globals as one record, and back.
CubeMotion CurrentCubeMotion();
void SetCubeMotion(const CubeMotion& motion);

// Puts the animation back to its load values (the tool and the tests run many animations in one
// process; the saver never calls it). DirtyRect and PrevDirtyRect become empty.
void ResetCubeState();
