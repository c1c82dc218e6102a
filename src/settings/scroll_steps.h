// How the setup dialog's size and speed scroll bars move for each scroll code. Portable: no
// Windows headers; the codes are the platform's SB_ values (checked in setup_dialog.cpp).
#pragma once

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
