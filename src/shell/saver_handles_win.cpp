// Definitions of the saver's Windows handles, and the check that the portable record layouts match
// the platform's.
#include "shell/saver_handles_win.h"

#include <cstddef>

#include "picture/win_records.h"

HINSTANCE AppInstance = nullptr;
HBRUSH DialogBrush = nullptr;
HWND SaverWindow = nullptr;
UINT_PTR FrameTimer = 0;
UINT_PTR GraceTimer = 0;

static_assert(sizeof(PackedDib) == sizeof(BITMAPINFOHEADER), "PackedDib matches BITMAPINFOHEADER");
static_assert(offsetof(PackedDib, biSizeImage) == offsetof(BITMAPINFOHEADER, biSizeImage), "header layout");
static_assert(offsetof(PackedDib, biClrImportant) == offsetof(BITMAPINFOHEADER, biClrImportant), "header layout");
static_assert(sizeof(DibColor) == sizeof(RGBQUAD), "DibColor matches RGBQUAD");
static_assert(sizeof(Rect) == sizeof(RECT), "Rect matches RECT");
static_assert(offsetof(Rect, bottom) == offsetof(RECT, bottom), "rectangle layout");
