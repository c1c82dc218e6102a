// FillAroundParallelograms: per row, the parallelograms' spans sorted by their first pixel and the
// gaps between them filled. Spans may overlap (neighbouring faces whose corners round apart), so the
// sweep keeps the furthest pixel covered so far. No platform headers.
#include "render/erase_around.h"

#include <cstring>

#include "render/surface_rows.h"

namespace {

constexpr int kMaxSpans = 8;

struct Span {
  int64_t first;
  int64_t last;
};

void FillBlack(const Surface& surface, int y, int64_t left, int64_t right) {  // [left, right)
  if (right > left) {
    std::memset(SurfaceRow(surface, y) + 3 * left, 0, static_cast<size_t>(3 * (right - left)));
  }
}

}  // namespace

void FillAroundParallelograms(const Surface& surface, Rect rect, const ParallelogramWalk* walks, int count) {
  if (!SurfaceUsable(surface)) return;
  if (count > kMaxSpans) count = kMaxSpans;
  const int64_t left = rect.left < 0 ? 0 : rect.left;
  const int64_t right = rect.right > surface.width ? surface.width : rect.right;
  const int top = rect.top < 0 ? 0 : rect.top;
  const int bottom = rect.bottom > surface.height ? surface.height : rect.bottom;
  for (int y = top; y < bottom && left < right; ++y) {
    Span spans[kMaxSpans];
    int found = 0;
    for (int i = 0; i < count; ++i) {
      if (y < walks[i].firstRow || y > walks[i].lastRow) continue;
      SourceWalk u, v;
      Span span;
      if (!RowSpan(walks[i], y, surface.width, &span.first, &span.last, &u, &v)) continue;
      int at = found++;  // insertion sort: at most a handful of spans
      while (at > 0 && spans[at - 1].first > span.first) {
        spans[at] = spans[at - 1];
        --at;
      }
      spans[at] = span;
    }
    int64_t next = left;  // the first pixel not yet filled or covered
    for (int i = 0; i < found; ++i) {
      FillBlack(surface, y, next, spans[i].first < right ? spans[i].first : right);
      if (spans[i].last + 1 > next) next = spans[i].last + 1;
    }
    FillBlack(surface, y, next, right);
  }
}
