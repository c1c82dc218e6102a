// CreateBackBuffers: the back buffer and the face scratch surface as DIB sections in memory device
// contexts. Depends on GDI and the saver's handles; the drawing itself lives in portable code.
#include "render/back_buffers_win.h"

#include <cstdint>

#include "picture/packed_dib.h"
#include "render/surface.h"
#include "shell/fatal.h"
#include "shell/saver_handles_win.h"
#include "shell/saver_rules.h"

HDC BackDc = nullptr;
HBITMAP BackBitmap = nullptr;
HDC FaceDc = nullptr;
HBITMAP FaceBitmap = nullptr;

// Fills the header both DIB sections share. Returns 0, or the system error code to report when the
// view is empty or its padded rows would not fit the header's 32-bit image size; GDI is not asked then.
static DWORD FillSurfaceHeader(BITMAPINFO* info) {
  ZeroMemory(info, sizeof *info);
  if (ViewWidth <= 0 || ViewHeight <= 0) return ERROR_INVALID_PARAMETER;
  int64_t stride = DibRowStride64(ViewWidth, 24);
  if (stride > INT32_MAX / ViewHeight) return ERROR_NOT_ENOUGH_MEMORY;
  info->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info->bmiHeader.biWidth = ViewWidth;
  info->bmiHeader.biHeight = ViewHeight;  // positive: rows run bottom-up
  info->bmiHeader.biPlanes = 1;
  info->bmiHeader.biBitCount = 24;
  info->bmiHeader.biCompression = BI_RGB;
  info->bmiHeader.biSizeImage = static_cast<DWORD>(stride * ViewHeight);
  return 0;
}

static Surface SurfaceOf(void* bits) {
  return Surface{static_cast<uint8_t*>(bits), ViewWidth, ViewHeight, DibRowStride(ViewWidth, 24)};
}

void CreateBackBuffers() {
  HDC reference = GetDC(SaverWindow);
  if (reference == nullptr) Abort(kFatalSurfaceDc, static_cast<int>(GetLastError()));
  BackDc = CreateCompatibleDC(reference);
  if (BackDc == nullptr) Abort(kFatalBackDc, static_cast<int>(GetLastError()));

  BITMAPINFO info;
  DWORD sizeError = FillSurfaceHeader(&info);
  void* backBits = nullptr;
  if (sizeError == 0) BackBitmap = CreateDIBSection(BackDc, &info, DIB_RGB_COLORS, &backBits, nullptr, 0);
  if (BackBitmap == nullptr) {
    DWORD error = sizeError != 0 ? sizeError : GetLastError();
    Abort(kFatalBackBitmap, static_cast<int>(error));
  }
  if (SelectObject(BackDc, BackBitmap) == nullptr) {
    Abort(kFatalBackSelect, static_cast<int>(GetLastError()));
  }

  FaceDc = CreateCompatibleDC(reference);
  if (FaceDc == nullptr) Abort(kFatalFaceDc, static_cast<int>(GetLastError()));
  void* faceBits = nullptr;
  FaceBitmap = CreateDIBSection(FaceDc, &info, DIB_RGB_COLORS, &faceBits, nullptr, 0);
  if (FaceBitmap == nullptr) Abort(kFatalFaceBitmap, static_cast<int>(GetLastError()));
  if (SelectObject(FaceDc, FaceBitmap) == nullptr) {
    Abort(kFatalFaceSelect, static_cast<int>(GetLastError()));
  }
  ReleaseDC(SaverWindow, reference);

  // Our raster operations write this memory directly; GDI must have finished with it first.
  GdiFlush();
  BackSurface = SurfaceOf(backBits);
  FaceSurface = SurfaceOf(faceBits);
}
