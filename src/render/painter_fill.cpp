// The fill and the frame's erase around the faces. The erase sweeps each row that a face crosses:
// the faces' spans sorted by their first pixel and the gaps between them filled. Spans may overlap
// (neighbouring faces whose corners round apart), so the sweep keeps the furthest pixel covered.
#include <cstring>

#include "render/painter.h"

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

void FillSurfaceRect(const Surface& surface, Rect rect, DibColor colour) {
  if (!SurfaceUsable(surface)) return;
  int left = rect.left < 0 ? 0 : rect.left;
  int top = rect.top < 0 ? 0 : rect.top;
  int right = rect.right > surface.width ? surface.width : rect.right;
  int bottom = rect.bottom > surface.height ? surface.height : rect.bottom;
  if (right <= left || bottom <= top) return;
  size_t bytes = static_cast<size_t>(right - left) * 3;
  bool grey = colour.blue == colour.green && colour.green == colour.red;
  for (int y = top; y < bottom; ++y) {
    uint8_t* out = SurfaceRow(surface, y) + static_cast<size_t>(left) * 3;
    if (grey) {  // black, the only colour the saver fills with, is one memset
      std::memset(out, colour.blue, bytes);
      continue;
    }
    for (size_t i = 0; i < bytes; i += 3) {
      out[i] = colour.blue;
      out[i + 1] = colour.green;
      out[i + 2] = colour.red;
    }
  }
}

void FillAroundParallelograms(const Surface& surface, Rect rect, const ParallelogramWalk* walks, int count) {
  if (!SurfaceUsable(surface)) return;
  if (count > kMaxSpans) count = kMaxSpans;
  // Rows that no parallelogram reaches are filled whole.
  int64_t low = surface.height, high = -1;
  for (int i = 0; i < count; ++i) {
    if (walks[i].firstRow < low) low = walks[i].firstRow;
    if (walks[i].lastRow > high) high = walks[i].lastRow;
  }
  if (high < low) {
    FillSurfaceRect(surface, rect, kBlack);
    return;
  }
  const int sweepTop = rect.top > low ? rect.top : static_cast<int>(low);
  const int sweepBottom = rect.bottom < high + 1 ? rect.bottom : static_cast<int>(high + 1);
  FillSurfaceRect(surface, Rect{rect.left, rect.top, rect.right, rect.bottom < sweepTop ? rect.bottom : sweepTop},
                  kBlack);
  FillSurfaceRect(surface, Rect{rect.left, rect.top > sweepBottom ? rect.top : sweepBottom, rect.right, rect.bottom},
                  kBlack);

  const int64_t left = rect.left < 0 ? 0 : rect.left;
  const int64_t right = rect.right > surface.width ? surface.width : rect.right;
  for (int y = sweepTop; y < sweepBottom && left < right; ++y) {
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
