// Which monitors the full-screen saver covers with a black window besides its own: a pure rule over
// the monitor list that user32 reports. Portable: no Windows headers.
#pragma once
#include "picture/win_records.h"

// Most monitors the saver looks at; a desk with more keeps the rest uncovered.
constexpr int kMaxMonitors = 32;

// Writes to covers (room for count rectangles) the rectangles, in screen coordinates, that get a
// cover window, in monitor order, and returns how many. primary is the index of the primary monitor,
// whose screen the saver's own window fills (-1 when none is marked). No cover goes to the primary,
// to an empty rectangle, to a monitor lying wholly inside the primary's rectangle (a mirror of it is
// dark already), or to one lying inside another covered monitor (of two equal ones, the first is
// covered). With fewer than two monitors nothing is covered.
int PlaceCovers(const Rect* monitors, int count, int primary, Rect* covers);
