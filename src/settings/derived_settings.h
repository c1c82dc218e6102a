// The numbers behind the two settings: their default and limits, the animation parameters derived
// from them, and how the setup dialog's scroll bars step through them. Portable.
#pragma once

// Size and speed when the settings file gives none.
constexpr int kDefaultSetting = 50;

// The setting limited to 0 to 100.
int ClampSetting(int setting);

// Half the cube's edge in pixels for a size setting of 0 to 100 (32 to 480).
int HalfEdgeForSize(int size);

// The frame timer's period in milliseconds for a speed setting of 0 to 100 (501 to 26).
int IntervalForSpeed(int speed);

// The scroll codes: the platform's SB_ values (checked in setup_dialog_win.cpp).
constexpr int kScrollLineLeft = 0;   // SB_LINELEFT
constexpr int kScrollLineRight = 1;  // SB_LINERIGHT
constexpr int kScrollPageLeft = 2;   // SB_PAGELEFT
constexpr int kScrollPageRight = 3;  // SB_PAGERIGHT
constexpr int kScrollThumbTrack = 5; // SB_THUMBTRACK
constexpr int kScrollNoMove = -1;

// The bar's new position (0 to 100) for scroll code from position, where thumb is the thumb
// position of a drag (the high word of wParam, 0 to 65535). Arrows step by 5 and pages by 10 up to
// the limits; a drag lands on the multiple of 5 nearest to the thumb. kScrollNoMove for every other
// code (thumb release, home, end, end of scrolling).
int NextScrollPosition(int code, unsigned thumb, int position);
