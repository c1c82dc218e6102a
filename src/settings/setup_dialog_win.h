// The setup dialog: six face buttons, the file name box, Browse, the size and speed scroll bars,
// OK and Cancel.
#pragma once
#include <windows.h>

extern int CurrentFace;                // 0 to 5: the face the name box shows and Browse replaces
extern int SettingsChanged;            // set by any scroll-bar use or chosen file; OK saves only then
extern OPENFILENAMEA BrowseRequest;    // the request given to the file-open dialog
extern char BrowsePath[MAX_PATH];      // its file name buffer, kept between Browse calls

// The dialog procedure of the template "DL0G"; start-up creates it with CreateDialogParamA.
INT_PTR CALLBACK SetupDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Moves window to the centre of the primary screen, keeping its size.
void CenterWindow(HWND window);
