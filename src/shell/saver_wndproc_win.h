// The window procedure of the saver window in the full-screen and preview roles.
#pragma once
#include <windows.h>

// Turns the frame timer into frames and the grace timer into the end of the grace period, hides the
// cursor in the full-screen role, and posts the quit message (code 0) on a key press, a left or right
// click, deactivation or mouse travel of more than 100 pixels after the grace period. While Abort's
// message box is shown none of them ends anything, and WM_CLOSE does not destroy the window.
LRESULT CALLBACK SaverWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Posts the quit message (code 0) that ends the saver, except while Abort's box is shown: the box
// deactivates the saver's window, and the quit message would end the box's own loop before the user has
// read it. Abort ends the process itself. The covers end the saver through it too.
void EndSaver();

// The inputs that end the saver on its window and on the covers alike: a key press (Alt combinations
// included) or a left or right click. Calls EndSaver and returns true when message is one of them.
bool EndSaverOnInput(UINT message);
