// The shell's portable half: the saver's state that portable code reads, the timers' ids and periods,
// the role and the preview host handle read from the command line, and the mouse-travel rule. Pure
// decisions, tested natively; the *_win.cpp files only act on them.
#pragma once
#include <cstdint>

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
