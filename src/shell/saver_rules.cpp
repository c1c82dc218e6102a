// The shell's portable rules and state: the command line's roles and preview handle, the
// mouse-travel rules over the process-wide travel boxes, the placement of the monitor covers.
#include "shell/saver_rules.h"

#include <cctype>
#include <cstring>

#include "shell/fatal.h"

int ViewWidth = 0;
int ViewHeight = 0;
int SetupMode = 0;
int PreviewMode = 0;

static bool StartsWithIgnoringCase(const char* text, const char* prefix) {
  for (; *prefix != '\0'; ++text, ++prefix) {
    if (std::toupper(static_cast<unsigned char>(*text)) != *prefix) return false;
  }
  return true;
}

SaverRole ChooseRole(int argc, const char* const* argv) {
  if (argc < 2) return kRoleSaver;
  const char* first = argv[1];
  // The order matters only for readability: each prefix decides by its first letters.
  if (StartsWithIgnoringCase(first, "-C") || StartsWithIgnoringCase(first, "/C") || StartsWithIgnoringCase(first, "C")) {
    return kRoleSetup;
  }
  if (StartsWithIgnoringCase(first, "-P") || StartsWithIgnoringCase(first, "/P") || StartsWithIgnoringCase(first, "P")) {
    return kRolePreview;
  }
  return kRoleSaver;
}

bool ReadUnsigned(const char* text, unsigned* value) {
  while (std::isspace(static_cast<unsigned char>(*text))) ++text;
  bool negative = false;
  if (*text == '+' || *text == '-') negative = *text++ == '-';
  if (!std::isdigit(static_cast<unsigned char>(*text))) return false;
  // Unsigned arithmetic wraps modulo 2^32 where "%u" would overflow.
  unsigned number = 0;
  for (; std::isdigit(static_cast<unsigned char>(*text)); ++text) {
    number = number * 10u + static_cast<unsigned>(*text - '0');
  }
  *value = negative ? 0u - number : number;
  return true;
}

PreviewHandle ReadPreviewHandle(int argc, const char* const* argv) {
  PreviewHandle result = {false, 0, kHandleAfterP};
  const char* first = argv[1];
  const char* text = nullptr;
  if (argc >= 3) {
    result.source = kHandleInArgument2;
    text = argv[2];
  } else if (const char* colon = std::strchr(first, ':')) {
    result.source = kHandleAfterColon;
    text = colon + 1;
  } else if (const char* space = std::strchr(first, ' ')) {
    result.source = kHandleAfterSpace;
    text = space + 1;
  } else {
    const char* upper = std::strchr(first, 'P');
    if (upper != nullptr) text = upper + 1;
  }
  if (text != nullptr) result.found = ReadUnsigned(text, &result.handle);
  return result;
}

void AbortWithoutPreviewHandle(PreviewSource source, const char* const* argv) {
  switch (source) {
    case kHandleInArgument2: Abort(kFatalPreviewArg2, argv[1], argv[2]);
    case kHandleAfterColon: Abort(kFatalPreviewColon, argv[1]);
    case kHandleAfterSpace: Abort(kFatalPreviewSpace, argv[1]);
    case kHandleAfterP: break;
  }
  Abort(kFatalPreviewP, argv[1]);
}

int IgnoreMouse = 1;
int32_t MouseMinX = -1;
int32_t MouseMinY = -1;
int32_t MouseMaxX = 0;
int32_t MouseMaxY = 0;

int MouseTravelEnds(uint32_t position) {
  if (IgnoreMouse) return 0;
  // Unsigned on purpose: a position left of or above the window's origin counts as a large value.
  int32_t x = static_cast<int32_t>(position & 0xFFFFu);
  int32_t y = static_cast<int32_t>(position >> 16);
  if (MouseMinX < 0) {
    MouseMinX = MouseMaxX = x;
    MouseMinY = MouseMaxY = y;
    return 0;
  }
  // The box only ever grows: small steps in one direction add up.
  if (x <= MouseMinX) MouseMinX = x;
  if (x >= MouseMaxX) MouseMaxX = x;
  if (y <= MouseMinY) MouseMinY = y;
  if (y >= MouseMaxY) MouseMaxY = y;
  return (MouseMaxX - MouseMinX > kMouseTravelLimit || MouseMaxY - MouseMinY > kMouseTravelLimit) ? 1 : 0;
}

int ScreenTravelSeen = 0;
int32_t ScreenMinX = 0;
int32_t ScreenMinY = 0;
int32_t ScreenMaxX = 0;
int32_t ScreenMaxY = 0;

int ScreenTravelEnds(int32_t x, int32_t y) {
  if (IgnoreMouse) return 0;
  // A flag, not a negative minimum, marks the empty box: screen coordinates may be negative.
  if (!ScreenTravelSeen) {
    ScreenTravelSeen = 1;
    ScreenMinX = ScreenMaxX = x;
    ScreenMinY = ScreenMaxY = y;
    return 0;
  }
  if (x < ScreenMinX) ScreenMinX = x;
  if (x > ScreenMaxX) ScreenMaxX = x;
  if (y < ScreenMinY) ScreenMinY = y;
  if (y > ScreenMaxY) ScreenMaxY = y;
  // 64-bit spans: two positions near the ends of the 32-bit range must not overflow.
  int64_t width = static_cast<int64_t>(ScreenMaxX) - ScreenMinX;
  int64_t height = static_cast<int64_t>(ScreenMaxY) - ScreenMinY;
  return (width > kMouseTravelLimit || height > kMouseTravelLimit) ? 1 : 0;
}

static bool IsEmpty(const Rect& r) { return r.right <= r.left || r.bottom <= r.top; }

static bool Contains(const Rect& outer, const Rect& inner) {
  return outer.left <= inner.left && outer.top <= inner.top && outer.right >= inner.right &&
         outer.bottom >= inner.bottom;
}

static bool SameRect(const Rect& a, const Rect& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// A monitor that could need a cover: not the primary, not empty, not already under the saver.
static bool IsCandidate(const Rect* monitors, int index, int primary) {
  if (index == primary || IsEmpty(monitors[index])) return false;
  return primary < 0 || !Contains(monitors[primary], monitors[index]);
}

int PlaceCovers(const Rect* monitors, int count, int primary, Rect* covers) {
  if (count < 2) return 0;
  if (primary >= count) primary = -1;
  int placed = 0;
  for (int i = 0; i < count; ++i) {
    if (!IsCandidate(monitors, i, primary)) continue;
    // Containment is transitive, so comparing with every candidate (not only the covered ones) keeps
    // exactly the outermost rectangles; equal ones go to the first of them.
    bool inside = false;
    for (int j = 0; j < count && !inside; ++j) {
      if (j == i || !IsCandidate(monitors, j, primary)) continue;
      inside = Contains(monitors[j], monitors[i]) && (!SameRect(monitors[j], monitors[i]) || j < i);
    }
    if (!inside) covers[placed++] = monitors[i];
  }
  return placed;
}
