// Helpers for the saver window tests under Wine. Test code only.
#include "saver_window_helpers.h"

#include <cstring>

#include "shell/saver_handles_win.h"
#include "shell/saver_rules.h"
#include "shell/saver_wndproc_win.h"

HWND CreateSaverWindow(int width, int height, bool visible) {
  static bool registered = false;
  HINSTANCE instance = GetModuleHandleA(nullptr);
  if (!registered) {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = SaverWndProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = "SCREENSAVER";
    if (RegisterClassA(&windowClass) == 0) return nullptr;
    registered = true;
  }
  DWORD style = WS_POPUP | (visible ? WS_VISIBLE : 0);
  return CreateWindowExA(WS_EX_TOPMOST, "SCREENSAVER", "saver window test", style, 0, 0, width, height, nullptr,
                         nullptr, instance, nullptr);
}

static int QuitSeen = 0;
static WPARAM QuitCode = 0;

int TakeQuit(WPARAM* code) {
  MSG message;
  if (PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    QuitSeen = 1;
    QuitCode = message.wParam;
  }
  int seen = QuitSeen;
  if (code != nullptr) *code = QuitCode;
  QuitSeen = 0;
  QuitCode = 0;
  return seen;
}

bool PumpUntil(bool (*done)(), int milliseconds) {
  DWORD start = GetTickCount();
  while (!done() && static_cast<int>(GetTickCount() - start) < milliseconds) {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) {
        QuitSeen = 1;
        QuitCode = message.wParam;
        continue;
      }
      DispatchMessageA(&message);
    }
    if (!done()) Sleep(5);
  }
  return done();
}

HWND SharedSaverWindow() {
  static HWND window = nullptr;
  if (window == nullptr) {
    window = CreateSaverWindow(kViewWidth, kViewHeight, true);
    SaverWindow = window;
    ViewWidth = kViewWidth;
    ViewHeight = kViewHeight;
  }
  return window;
}

std::vector<uint32_t> ReadPixels(HDC source, int width, int height) {
  std::vector<uint32_t> pixels(static_cast<size_t>(width) * static_cast<size_t>(height), 0xDEADBEEFu);
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HDC memory = CreateCompatibleDC(source);
  HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (memory == nullptr || bitmap == nullptr) return pixels;
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, source, 0, 0, SRCCOPY);
  GdiFlush();
  for (size_t i = 0; i < pixels.size(); ++i) {
    uint32_t value;
    std::memcpy(&value, static_cast<uint8_t*>(bits) + 4 * i, 4);
    pixels[i] = value & 0xFFFFFFu;
  }
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  return pixels;
}

void PaintWindow(HWND window, COLORREF colour) {
  HDC dc = GetDC(window);
  RECT client;
  GetClientRect(window, &client);
  HBRUSH brush = CreateSolidBrush(colour);
  FillRect(dc, &client, brush);
  DeleteObject(brush);
  ReleaseDC(window, dc);
  GdiFlush();
}
