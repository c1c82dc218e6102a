// The Windows side of the frame step: the portable DrawCube draws into the back buffer's pixel
// memory, GDI copies the copy area to the window. Must not draw anything itself.
#include "shell/frame_tick_win.h"

#include <windows.h>

#include "render/back_buffers_win.h"
#include "render/draw_cube.h"
#include "shell/fatal.h"
#include "shell/saver_handles.h"

void RunFrameStep() {
  // Abort's message box keeps dispatching timer messages; a frame that failed once would fail again
  // and stack a second box on the first.
  if (AbortShowing) return;
  // The last BitBlt may still be queued in GDI; it reads the memory DrawCube is about to write.
  GdiFlush();
  Rect copy = DrawCube();
  HDC window = GetDC(SaverWindow);
  if (window == nullptr) Abort(kFatalFrameDc.code, kFatalFrameDc.format, static_cast<int>(GetLastError()));
  // Not clipped here: the area may reach past the view, and GDI clips to the window.
  BitBlt(window, copy.left, copy.top, copy.right - copy.left, copy.bottom - copy.top, BackDc, copy.left, copy.top,
         SRCCOPY);
  ReleaseDC(SaverWindow, window);
}
