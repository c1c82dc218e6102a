// The Windows record layouts the portable core needs (the DIB header and RECT), without <windows.h>.
// The Windows build checks them against the platform's own definitions (shell/saver_handles.cpp).
#pragma once
#include <cstdint>

// The size of BITMAPINFOHEADER: the start of every packed DIB and the info header of a BMP file.
constexpr int kDibHeaderSize = 40;

// A packed DIB picture: one heap block that starts with this BITMAPINFOHEADER and continues with
// the colour table and the pixel rows (bottom-up, each padded to 4 bytes). GDI takes the block as a
// BITMAPINFO followed by the bits.
struct PackedDib {
  uint32_t biSize;
  int32_t biWidth;
  int32_t biHeight;
  uint16_t biPlanes;
  uint16_t biBitCount;
  uint32_t biCompression;
  uint32_t biSizeImage;
  int32_t biXPelsPerMeter;
  int32_t biYPelsPerMeter;
  uint32_t biClrUsed;
  uint32_t biClrImportant;
};
static_assert(sizeof(PackedDib) == kDibHeaderSize, "BITMAPINFOHEADER is 40 bytes");

// One colour-table entry, RGBQUAD.
struct DibColor {
  uint8_t blue;
  uint8_t green;
  uint8_t red;
  uint8_t reserved;
};
static_assert(sizeof(DibColor) == 4, "RGBQUAD is 4 bytes");

// A rectangle of view pixels; right and bottom are exclusive, as in RECT.
struct Rect {
  int32_t left;
  int32_t top;
  int32_t right;
  int32_t bottom;
};
static_assert(sizeof(Rect) == 16, "RECT is 16 bytes");
