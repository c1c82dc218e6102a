// TEMPORARY test double of the portable frame composition, used only until the renderer is merged:
// it erases DirtyRect and draws a moving two-coloured square into BackSurface with the same dirty
// bookkeeping and copy area as the real one. Test code only; never linked into the saver.
#include <algorithm>

#include "render/frame_step.h"
#include "render/surface.h"

Surface BackSurface = {};
Surface FaceSurface = {};
Rect DirtyRect = {0, 0, 0, 0};
Rect PrevDirtyRect = {0, 0, 0, 0};

static void Fill(Rect r, uint8_t blue, uint8_t green, uint8_t red) {
  int left = std::max(r.left, 0), right = std::min(r.right, BackSurface.width);
  int top = std::max(r.top, 0), bottom = std::min(r.bottom, BackSurface.height);
  for (int y = top; y < bottom; ++y) {
    uint8_t* row = BackSurface.bits + static_cast<size_t>(BackSurface.stride) * (BackSurface.height - 1 - y);
    for (int x = left; x < right; ++x) row[3 * x] = blue, row[3 * x + 1] = green, row[3 * x + 2] = red;
  }
}

Rect ComposeFrame() {
  static int step = 0;
  ++step;
  Fill(DirtyRect, 0, 0, 0);
  Rect square{-10 + 13 * step, -20 + 11 * step, 30 + 13 * step, 20 + 11 * step};
  Fill(square, 40, 160, 220);
  Fill(Rect{square.left, square.top, square.left + 10, square.top + 10}, 255, 255, 255);
  PrevDirtyRect = DirtyRect;
  DirtyRect = Rect{square.left - 1, square.top - 1, square.right + 1, square.bottom + 1};
  return Rect{std::min(PrevDirtyRect.left, DirtyRect.left), std::min(PrevDirtyRect.top, DirtyRect.top),
              std::max(PrevDirtyRect.right, DirtyRect.right), std::max(PrevDirtyRect.bottom, DirtyRect.bottom)};
}
