// The saver's process-wide Windows handles, set by start-up.
#pragma once
#include <windows.h>

extern HINSTANCE AppInstance;  // the instance handle passed to the entry
extern HBRUSH DialogBrush;     // solid brush of COLOR_BTNFACE for the setup dialog
extern HWND SaverWindow;       // the saver window; null in the setup role and before it exists
extern UINT_PTR FrameTimer;    // id returned for timer 1; 0 when not running
extern UINT_PTR GraceTimer;    // id returned for timer 2 (the mouse grace period); 0 when not running
