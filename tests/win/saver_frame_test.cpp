// The Windows frame step on real DIB sections under Wine: CreateBackBuffers' surfaces, and that each
// WM_TIMER 1 copies exactly the copy area of the back buffer to the saver window.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <set>

#include "picture/packed_dib.h"
#include "render/back_buffers_win.h"
#include "render/draw_cube.h"
#include "render/surface.h"
#include "saver_window_helpers.h"
#include "settings/settings_file.h"
#include "shell/fatal.h"
#include "shell/saver_handles_win.h"
#include "shell/saver_rules.h"

namespace {

const COLORREF kSentinel = RGB(255, 0, 255);
const uint32_t kSentinelPixel = 0xFF00FFu;

// A 24-bit 16 x 16 picture in one colour with a white top-left quarter, so orientation shows.
PackedDib* MakeFacePicture(uint8_t red, uint8_t green, uint8_t blue) {
  const int size = 16;
  const int stride = DibRowStride(size, 24);
  PackedDib* picture = static_cast<PackedDib*>(std::calloc(1, sizeof(PackedDib) + stride * size));
  picture->biSize = 40;
  picture->biWidth = size;
  picture->biHeight = size;
  picture->biPlanes = 1;
  picture->biBitCount = 24;
  picture->biSizeImage = stride * size;
  uint8_t* bits = DibBits(picture);
  for (int row = 0; row < size; ++row) {
    for (int x = 0; x < size; ++x) {
      bool corner = row >= size / 2 && x < size / 2;  // rows run bottom-up
      uint8_t* pixel = bits + row * stride + 3 * x;
      pixel[0] = corner ? 255 : blue;
      pixel[1] = corner ? 255 : green;
      pixel[2] = corner ? 255 : red;
    }
  }
  return picture;
}

// Start-up's part for these tests: the window, the pictures, the surfaces (once per process).
void PrepareSaver() {
  static bool ready = false;
  if (ready) return;
  ready = true;
  SharedSaverWindow();
  const uint8_t colours[kFaceCount][3] = {{200, 0, 0}, {0, 200, 0}, {0, 0, 200},
                                          {200, 200, 0}, {0, 200, 200}, {200, 0, 200}};
  for (int k = 0; k < kFaceCount; ++k) FacePictures[k] = MakeFacePicture(colours[k][0], colours[k][1], colours[k][2]);
  CubeHalfEdge = 40;  // the whole cube fits the view at times, and reaches past its edges at others
  CreateBackBuffers();
  DirtyRect = Rect{0, 0, ViewWidth, ViewHeight};
}

Rect Union(Rect a, Rect b) {
  return Rect{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
              std::max(a.bottom, b.bottom)};
}

bool Inside(Rect r, int x, int y) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; }

std::vector<uint32_t> WindowPixels() {
  HDC dc = GetDC(SaverWindow);
  std::vector<uint32_t> pixels = ReadPixels(dc, ViewWidth, ViewHeight);
  ReleaseDC(SaverWindow, dc);
  return pixels;
}

// How the window compares with the back buffer after a frame whose copy area is `copy`.
struct FrameComparison {
  size_t insideDiffer = 0;    // pixels of the copy area where the window differs from the back buffer
  size_t outsideChanged = 0;  // pixels outside it where the window lost the sentinel colour
  size_t insideColours = 0;   // distinct back-buffer colours in the copy area
  size_t insidePixels = 0;
};

FrameComparison Compare(const std::vector<uint32_t>& window, const std::vector<uint32_t>& back, Rect copy) {
  FrameComparison result;
  std::set<uint32_t> colours;
  for (int y = 0; y < ViewHeight; ++y) {
    for (int x = 0; x < ViewWidth; ++x) {
      size_t i = static_cast<size_t>(y) * ViewWidth + x;
      if (Inside(copy, x, y)) {
        ++result.insidePixels;
        result.insideDiffer += window[i] != back[i];
        colours.insert(back[i]);
      } else {
        result.outsideChanged += window[i] != kSentinelPixel;
      }
    }
  }
  result.insideColours = colours.size();
  return result;
}

class SaverFrameTest : public ::testing::Test {
 protected:
  // Each test starts where start-up leaves the saver: cube at rest, the whole view dirty, no box.
  void SetUp() override {
    PrepareSaver();
    SaverWindow = SharedSaverWindow();
    ResetCubeState();
    DirtyRect = Rect{0, 0, ViewWidth, ViewHeight};
    AbortShowing = 0;
  }
};

// The two surfaces with their handles, for the checks that hold for both.
struct SurfaceHandles {
  const char* name;
  HDC dc;
  HBITMAP bitmap;
  const Surface* surface;
};
std::vector<SurfaceHandles> BothSurfaces() {
  return {{"back", BackDc, BackBitmap, &BackSurface}, {"face", FaceDc, FaceBitmap, &FaceSurface}};
}

TEST_F(SaverFrameTest, BackBuffersAreViewSized24BitDibSectionsSelectedIntoTheirContexts) {
  ASSERT_NE(BackDc, nullptr);
  ASSERT_NE(FaceDc, nullptr);
  EXPECT_NE(BackDc, FaceDc);
  EXPECT_EQ(GetCurrentObject(BackDc, OBJ_BITMAP), BackBitmap);
  EXPECT_EQ(GetCurrentObject(FaceDc, OBJ_BITMAP), FaceBitmap);
  const int stride = (kViewWidth * 3 + 3) / 4 * 4;  // 904 for 301 pixels: rows padded to 4 bytes
  for (const SurfaceHandles& pair : BothSurfaces()) {
    DIBSECTION section = {};
    ASSERT_EQ(GetObjectA(pair.bitmap, sizeof section, &section), static_cast<int>(sizeof section)) << pair.name;
    EXPECT_EQ(section.dsBmih.biWidth, kViewWidth) << pair.name;
    EXPECT_EQ(section.dsBmih.biHeight, kViewHeight) << pair.name << " (positive: bottom-up)";
    EXPECT_EQ(section.dsBmih.biBitCount, 24) << pair.name;
    EXPECT_EQ(section.dsBmih.biSizeImage, static_cast<DWORD>(stride * kViewHeight)) << pair.name;
    EXPECT_EQ(section.dsBm.bmWidthBytes, stride) << pair.name;
    EXPECT_EQ(section.dsBm.bmBits, pair.surface->bits) << pair.name << " surface memory";
    EXPECT_EQ(pair.surface->width, kViewWidth) << pair.name;
    EXPECT_EQ(pair.surface->height, kViewHeight) << pair.name;
    EXPECT_EQ(pair.surface->stride, stride) << pair.name;
  }
  EXPECT_NE(BackSurface.bits, FaceSurface.bits);
}

TEST_F(SaverFrameTest, SurfaceMemoryIsBottomUpBlueGreenRed) {
  for (const SurfaceHandles& pair : BothSurfaces()) {
    GdiFlush();
    // Row 0 of the memory is the bottom row of the view; the last pixel of a row sits before the padding.
    uint8_t* bottomLeft = pair.surface->bits + 3 * 2;
    uint8_t* topRight = pair.surface->bits + static_cast<size_t>(pair.surface->stride) * (kViewHeight - 1) +
                        3 * (kViewWidth - 1);
    bottomLeft[0] = 1, bottomLeft[1] = 2, bottomLeft[2] = 3;
    topRight[0] = 4, topRight[1] = 5, topRight[2] = 6;
    EXPECT_EQ(GetPixel(pair.dc, 2, kViewHeight - 1), RGB(3, 2, 1)) << pair.name;
    EXPECT_EQ(GetPixel(pair.dc, kViewWidth - 1, 0), RGB(6, 5, 4)) << pair.name;
  }
}

TEST_F(SaverFrameTest, EachFrameStepCopiesExactlyTheCopyAreaToTheWindow) {
  HWND window = SaverWindow;
  size_t mostColours = 0;
  // 90 frames: the cube crosses the top-left edges, bounces off the right one, and meets one frame
  // whose angles are all multiples of 90 (side faces with a zero width or height must not abort).
  for (int frame = 1; frame <= 90; ++frame) {
    PaintWindow(window, kSentinel);
    EXPECT_EQ(SendMessageA(window, WM_TIMER, 1, 0), 0) << "frame " << frame;
    Rect copy = Union(PrevDirtyRect, DirtyRect);
    FrameComparison c = Compare(WindowPixels(), ReadPixels(BackDc, ViewWidth, ViewHeight), copy);
    EXPECT_EQ(c.insideDiffer, 0u) << "frame " << frame << ": window pixels unlike the back buffer";
    EXPECT_EQ(c.outsideChanged, 0u) << "frame " << frame << ": window pixels changed outside the copy area";
    EXPECT_GT(c.insidePixels, 0u) << "frame " << frame << ": empty copy area";
    if (frame == 1) {
      EXPECT_EQ(c.insidePixels, static_cast<size_t>(ViewWidth) * ViewHeight) << "first frame copies the view";
    }
    mostColours = std::max(mostColours, c.insideColours);
  }
  // Black alone would make the comparison weak: the cube must have been drawn.
  EXPECT_GE(mostColours, 2u);
}

TEST_F(SaverFrameTest, ComparisonSeesOneWrongPixel) {
  // The deliberate fault: one back-buffer pixel changed after the copy must be found.
  PaintWindow(SaverWindow, kSentinel);
  SendMessageA(SaverWindow, WM_TIMER, 1, 0);
  Rect copy = Union(PrevDirtyRect, DirtyRect);
  int x = std::max(copy.left, 0), y = std::max(copy.top, 0);
  ASSERT_TRUE(x < ViewWidth && y < ViewHeight);
  GdiFlush();
  uint8_t* pixel = BackSurface.bits + static_cast<size_t>(BackSurface.stride) * (ViewHeight - 1 - y) + 3 * x;
  pixel[1] ^= 0x80;
  FrameComparison c = Compare(WindowPixels(), ReadPixels(BackDc, ViewWidth, ViewHeight), copy);
  EXPECT_EQ(c.insideDiffer, 1u);
  pixel[1] ^= 0x80;
}

Rect FirstDirty;
int TicksSeen = 0;
bool SeveralTicks() {
  if (std::memcmp(&DirtyRect, &FirstDirty, sizeof(Rect)) != 0) {
    ++TicksSeen;
    FirstDirty = DirtyRect;
  }
  return TicksSeen >= 5;
}

TEST_F(SaverFrameTest, FrameTimerKeepsTheWindowEqualToTheBackBuffer) {
  // From a whole-view first frame on, the copies of the changed areas keep the window a true copy.
  PaintWindow(SaverWindow, kSentinel);
  FirstDirty = DirtyRect;
  FrameTimer = SetTimer(SaverWindow, 1, 15, nullptr);
  ASSERT_EQ(FrameTimer, 1u);
  bool ticked = PumpUntil(SeveralTicks, 5000);
  KillTimer(SaverWindow, FrameTimer);
  FrameTimer = 0;
  ASSERT_TRUE(ticked) << "got " << TicksSeen << " frames from the timer, want 5";
  FrameComparison c = Compare(WindowPixels(), ReadPixels(BackDc, ViewWidth, ViewHeight),
                              Rect{0, 0, ViewWidth, ViewHeight});
  EXPECT_EQ(c.insideDiffer, 0u);
  EXPECT_EQ(TakeQuit(nullptr), 0);
}

TEST_F(SaverFrameTest, TicksAreIgnoredWhileTheAbortBoxIsShown) {
  PaintWindow(SaverWindow, kSentinel);
  Rect before = DirtyRect;
  AbortShowing = 1;
  EXPECT_EQ(SendMessageA(SaverWindow, WM_TIMER, 1, 0), 0);
  AbortShowing = 0;
  EXPECT_EQ(std::memcmp(&DirtyRect, &before, sizeof(Rect)), 0) << "a frame was composed";
  FrameComparison c = Compare(WindowPixels(), ReadPixels(BackDc, ViewWidth, ViewHeight), Rect{0, 0, 0, 0});
  EXPECT_EQ(c.outsideChanged, 0u) << "the window was drawn on";
}

}  // namespace
