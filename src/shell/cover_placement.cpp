// The placement rule of the monitor covers. Portable: no Windows headers.
#include "shell/cover_placement.h"

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
