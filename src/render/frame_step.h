// The portable part of one animation frame: what the frame timer does before the copy to the window.
// No Windows headers.
#pragma once
#include "picture/win_records.h"

extern Rect DirtyRect;      // the area the cube of the last frame covered, widened by one pixel
extern Rect PrevDirtyRect;  // DirtyRect as it was before the current frame

// Erases DirtyRect in BackSurface (black), runs DrawCube, and returns the copy area: the union of
// PrevDirtyRect and the new DirtyRect, not clipped to the view. Ends the process through Abort when a
// face cannot be drawn.
Rect ComposeFrame();
