// The black cover windows over the monitors other than the primary, in the full-screen role only.
// Windows build only.
#pragma once
#include <windows.h>

#include "shell/saver_rules.h"

extern HWND MonitorCovers[kMaxMonitors];  // the cover windows that exist
extern int MonitorCoverCount;             // how many; 0 with one monitor and in the other roles

// Covers every monitor that PlaceCovers chooses from user32's monitor list with a black, borderless,
// topmost popup that is never activated. Call before the saver's window is created, so that the
// saver's window lands above every cover (in the topmost band, and under Wine on the X display too).
// A cover that cannot be made is left out: the covers are a comfort, never a fatal error.
void CreateMonitorCovers();

// Creates one shown cover of the rectangle (screen coordinates) without activating it and adds it to
// MonitorCovers. Returns it, or null when it cannot be made or there is no room.
HWND CreateCoverWindow(const Rect& rect);

// Destroys every cover. Safe to call again and with no covers.
void DestroyMonitorCovers();

LRESULT CALLBACK CoverWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Applies a WM_MOUSEMOVE of window (the saver's or a cover) to the screen-wide travel box, in screen
// coordinates. Returns 1 when the saver must end; always 0 while there are no covers.
int PointerTravelEnds(HWND window, LPARAM lParam);
