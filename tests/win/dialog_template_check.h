// The setup dialog's template as listed for the product: what the resource must hold, control by
// control in template order. Shared by the template test and the created-dialog test.
#pragma once
#include <windows.h>

#include "resources/dialog_ids.h"

struct ExpectedControl {
  int id;
  const char* className;
  const char* text;
  DWORD style;  // without WS_CHILD and WS_VISIBLE, which every control has
  short x, y, width, height;
};

inline constexpr ExpectedControl kExpectedControls[17] = {
    {IDC_FACE_LABEL, "Static", "select face:", SS_LEFT, 3, 4, 41, 10},
    {IDC_FACE1, "Button", "1", BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, 50, 4, 16, 10},
    {IDC_FACE2, "Button", "2", BS_AUTORADIOBUTTON | WS_TABSTOP, 73, 4, 16, 10},
    {IDC_FACE3, "Button", "3", BS_AUTORADIOBUTTON | WS_TABSTOP, 95, 4, 16, 10},
    {IDC_FACE4, "Button", "4", BS_AUTORADIOBUTTON | WS_TABSTOP, 117, 4, 16, 10},
    {IDC_FACE5, "Button", "5", BS_AUTORADIOBUTTON | WS_TABSTOP, 139, 4, 16, 10},
    {IDC_FACE6, "Button", "6", BS_AUTORADIOBUTTON | WS_TABSTOP, 162, 4, 16, 10},
    {IDC_FACE_NAME, "Edit", "", ES_LEFT | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 5, 18, 140, 14},
    {IDC_BROWSE, "Button", "Browse", BS_PUSHBUTTON | WS_TABSTOP, 148, 17, 35, 15},
    {IDOK, "Button", "OK", BS_PUSHBUTTON | WS_TABSTOP, 59, 69, 25, 15},
    {IDCANCEL, "Button", "Cancel", BS_PUSHBUTTON | WS_TABSTOP, 94, 69, 35, 15},
    {IDC_SMALL_LABEL, "Static", "small", SS_RIGHT, 3, 39, 21, 10},
    {IDC_SIZE_SCROLL, "ScrollBar", "Scroll bar", SBS_HORZ | SBS_TOPALIGN, 26, 39, 137, 10},
    {IDC_LARGE_LABEL, "Static", "large", SS_LEFT, 165, 39, 21, 10},
    {IDC_SLOW_LABEL, "Static", "slow", SS_RIGHT, 3, 55, 21, 10},
    {IDC_SPEED_SCROLL, "ScrollBar", "Scroll bar", SBS_HORZ | SBS_TOPALIGN, 26, 55, 137, 10},
    {IDC_FAST_LABEL, "Static", "fast", SS_LEFT, 165, 55, 21, 10},
};

inline constexpr DWORD kExpectedDialogStyle =
    WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;
