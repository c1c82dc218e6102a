// The window procedure of the monitor covers, and the screen-wide mouse travel that the covers and the
// saver window share while covers are up. Windows build only.
#pragma once
#include <windows.h>

// Ends the saver (quit message, code 0) on a key press, a left or right click or mouse travel, by the
// saver window's rules; never takes activation and shows no cursor. Draws nothing but its black
// background.
LRESULT CALLBACK CoverWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Applies a WM_MOUSEMOVE of window (the saver's or a cover) to the screen-wide travel box, in screen
// coordinates. Returns 1 when the saver must end; always 0 while there are no covers.
int PointerTravelEnds(HWND window, LPARAM lParam);
