// The shell's portable half: the saver's state that portable code reads, the timers' ids and periods,
// the role and the preview host handle read from the command line, the mouse-travel rules and the
// placement of the monitor covers. Pure decisions, tested natively; the *_win.cpp files only act on them.
#pragma once
#include <cstdint>

#include "picture/win_records.h"

extern int ViewWidth;    // drawing area: the primary screen, or the preview host's client area
extern int ViewHeight;
extern int SetupMode;    // 1 in the setup role
extern int PreviewMode;  // 1 in the preview role

// The saver window's two timers: frames, and the end of the mouse grace period.
constexpr unsigned kFrameTimerId = 1;
constexpr unsigned kGraceTimerId = 2;
constexpr unsigned kGracePeriod = 2500;  // ms of mouse movement ignored after the start

// The preview turns a cube an eighth of the host's height, slowly, whatever the settings say.
constexpr int PreviewHalfEdge(int viewHeight) { return viewHeight / 8; }
constexpr int kPreviewInterval = 250;  // ms

enum SaverRole { kRoleSaver, kRoleSetup, kRolePreview };

// The role by the first matching prefix of argument 1, case ignored: "-C", "/C", "C" select setup,
// "-P", "/P", "P" preview; anything else, or no argument, the full-screen saver.
SaverRole ChooseRole(int argc, const char* const* argv);

// Where the preview host handle is read from: the first rule that applies.
enum PreviewSource {
  kHandleInArgument2,  // three or more arguments: argument 2
  kHandleAfterColon,   // the text after the first ':' of argument 1
  kHandleAfterSpace,   // after its first space
  kHandleAfterP,       // after its first upper-case 'P' (none: no number)
};

struct PreviewHandle {
  bool found;            // a number could be read
  unsigned handle;       // the number, as "%u" reads it
  PreviewSource source;  // the rule that applied
};
PreviewHandle ReadPreviewHandle(int argc, const char* const* argv);

// Ends the process with the fatal error of the rule that found no number: 674 (showing arguments 1
// and 2), 679, 684 or 689 (showing argument 1).
[[noreturn]] void AbortWithoutPreviewHandle(PreviewSource source, const char* const* argv);

// Reads an unsigned number as "%u" does: leading white space skipped, an optional sign, decimal
// digits, anything after them ignored; a minus sign negates modulo 2^32. False when no digit follows.
bool ReadUnsigned(const char* text, unsigned* value);

// The rule that ends the saver on mouse travel: after the grace period, once the pointer has covered
// more than kMouseTravelLimit pixels horizontally or vertically.
extern int IgnoreMouse;    // 1 during the grace period: every movement is ignored
extern int32_t MouseMinX;  // smallest pointer x since the grace period ended; < 0: nothing recorded yet
extern int32_t MouseMinY;
extern int32_t MouseMaxX;  // largest pointer x since the grace period ended
extern int32_t MouseMaxY;
constexpr int32_t kMouseTravelLimit = 100;

// Applies one WM_MOUSEMOVE position (the low 32 bits of its lParam: x in the low 16 bits, y in the
// high 16, both unsigned) to the travel box. Returns 1 when the saver must end, 0 otherwise.
int MouseTravelEnds(uint32_t position);

// The screen-wide mouse-travel rule while monitor covers are up: the same 100-pixel limit as the
// saver window's own rule, in signed screen coordinates, so a monitor left of or above the primary
// counts by its real distance.
extern int ScreenTravelSeen;  // 0 until the first position after the grace period is recorded
extern int32_t ScreenMinX;    // the box of screen positions seen since the grace period ended
extern int32_t ScreenMinY;
extern int32_t ScreenMaxX;
extern int32_t ScreenMaxY;

// Applies one pointer position in screen coordinates (negative on a monitor left of or above the
// primary) to the screen-wide box. Ignored during the grace period (IgnoreMouse); the first position
// after it only records. Returns 1 when the box spans more than kMouseTravelLimit on either axis.
int ScreenTravelEnds(int32_t x, int32_t y);

// Which monitors the full-screen saver covers with a black window besides its own. At most
// kMaxMonitors are looked at; a desk with more keeps the rest uncovered.
constexpr int kMaxMonitors = 32;

// Writes to covers (room for count rectangles) the rectangles, in screen coordinates, that get a
// cover window, in monitor order, and returns how many. primary is the index of the primary monitor,
// whose screen the saver's own window fills (-1 when none is marked). No cover goes to the primary,
// to an empty rectangle, to a monitor lying wholly inside the primary's rectangle (a mirror of it is
// dark already), or to one lying inside another covered monitor (of two equal ones, the first is
// covered). With fewer than two monitors nothing is covered.
int PlaceCovers(const Rect* monitors, int count, int primary, Rect* covers);
