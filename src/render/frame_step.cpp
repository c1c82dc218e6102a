// ComposeFrame: the portable part of one frame step (erase, draw, copy area). The window copy is the
// platform's. No platform headers.
#include "render/frame_step.h"

#include "render/cube_geometry.h"
#include "render/draw_cube.h"
#include "render/surface.h"

Rect ComposeFrame() {
  EraseAndDrawCube(DirtyRect);
  return UnionRect(PrevDirtyRect, DirtyRect);
}
