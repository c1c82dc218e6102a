// Helpers for the tests that drive the saver window under Wine: the "SCREENSAVER" window, the quit
// message, pumping messages, and reading pixels back from a device context.
#pragma once
#include <windows.h>

#include <cstdint>
#include <vector>

// Registers the "SCREENSAVER" class with SaverWndProc (once) and creates a popup of the given size at
// the screen's top-left corner, visible or hidden. Returns null on failure.
HWND CreateSaverWindow(int width, int height, bool visible);

// Removes a pending quit message; returns 1 and its exit code in *code if there was one, else 0.
int TakeQuit(WPARAM* code);

// Dispatches messages for up to milliseconds, or until done() holds. A quit message seen on the way
// is kept for TakeQuit. Returns done().
bool PumpUntil(bool (*done)(), int milliseconds);

// The visible saver window all tests share, kViewWidth x kViewHeight (a width that is not a multiple
// of 4); created on first use, with SaverWindow, ViewWidth and ViewHeight set to it.
constexpr int kViewWidth = 301;
constexpr int kViewHeight = 200;
HWND SharedSaverWindow();

// The pixels of (0, 0)-(width, height) of a device context, top row first, as 0x00RRGGBB.
std::vector<uint32_t> ReadPixels(HDC source, int width, int height);

// Paints the whole client area of a window in one colour and waits until GDI has done it.
void PaintWindow(HWND window, COLORREF colour);
