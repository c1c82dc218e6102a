// The cube's own edges: wherever two facing faces share an edge, the saver's picture transfers
// neither leave a crack along it nor both paint a pixel of it, over whole 360-frame cycles.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "raster_reference.h"
#include "render/cube_geometry.h"
#include "render/painter.h"

namespace {

constexpr int kSide = 600;

struct Parallelogram {
  ScreenPoint corner[4];  // the face's i0, i1, i2, i3 as the transfer places them
  int vertex[4];
};

Parallelogram Place(const FacePlacement& face) {
  Parallelogram p;
  const ScreenPoint p1 = face.corners[0], p2 = face.corners[1], p0 = face.corners[2];
  p.corner[0] = p0;
  p.corner[1] = p1;
  p.corner[2] = p2;
  p.corner[3] = ScreenPoint{p2.x + p0.x - p1.x, p2.y + p0.y - p1.y};  // the fourth corner follows
  for (int i = 0; i < 4; ++i) p.vertex[i] = CubeFaces[face.face][i];
  return p;
}

// Position of vertex v in the face's walk, or -1.
int Slot(const Parallelogram& p, int v) {
  for (int i = 0; i < 4; ++i) {
    if (p.vertex[i] == v) return i;
  }
  return -1;
}

// Inside or on the border of the parallelogram, exactly (centres are halves, corners integers).
bool InsideClosed(const Parallelogram& p, double x, double y) {
  double ax = p.corner[1].x, ay = p.corner[1].y;
  double e1x = p.corner[2].x - ax, e1y = p.corner[2].y - ay, e2x = p.corner[0].x - ax, e2y = p.corner[0].y - ay;
  double det = e1x * e2y - e1y * e2x;
  double s = ((x - ax) * e2y - (y - ay) * e2x) / det, t = (e1x * (y - ay) - e1y * (x - ax)) / det;
  return s >= 0 && s <= 1 && t >= 0 && t <= 1;
}

bool OnLine(ScreenPoint a, ScreenPoint b, double x, double y) {
  return (b.x - a.x) * (y - a.y) - (b.y - a.y) * (x - a.x) == 0;
}

// True when the centre lies on an edge line of p other than the one from corner slot i to slot j.
bool OnOtherEdge(const Parallelogram& p, int i, int j, double x, double y) {
  for (int k = 0; k < 4; ++k) {
    int l = (k + 1) % 4;
    if ((k == i && l == j) || (k == j && l == i)) continue;
    if (OnLine(p.corner[k], p.corner[l], x, y)) return true;
  }
  return false;
}

struct EdgeCounts {
  int exactEdges = 0;
  int checkedCentres = 0;
  int overlaps = 0;
  int cracks = 0;
};

// Checks the band along the edge a-b shared by faces p and q whose coverage is in paintedP/Q.
void CheckSharedEdge(const Parallelogram& p, const Parallelogram& q, int pa, int pb, int qa, int qb,
                     const Surface& paintedP, const Surface& paintedQ, EdgeCounts* counts) {
  ScreenPoint a = p.corner[pa], b = p.corner[pb];
  double length = std::hypot(b.x - a.x, b.y - a.y);
  if (length < 4) return;
  int x0 = std::min(a.x, b.x) - 2, x1 = std::max(a.x, b.x) + 2, y0 = std::min(a.y, b.y) - 2, y1 = std::max(a.y, b.y) + 2;
  for (int y = y0; y <= y1; ++y) {
    for (int x = x0; x <= x1; ++x) {
      double cx = x + 0.5, cy = y + 0.5;
      double along = ((cx - a.x) * (b.x - a.x) + (cy - a.y) * (b.y - a.y)) / length;
      double across = std::fabs((cx - a.x) * (b.y - a.y) - (cy - a.y) * (b.x - a.x)) / length;
      if (along < 1.5 || along > length - 1.5 || across > 1.0) continue;
      bool inP = PixelAt(paintedP, x, y) != 0, inQ = PixelAt(paintedQ, x, y) != 0;
      counts->overlaps += inP && inQ;
      if (OnOtherEdge(p, pa, pb, cx, cy) || OnOtherEdge(q, qa, qb, cx, cy)) continue;
      if (!InsideClosed(p, cx, cy) && !InsideClosed(q, cx, cy)) continue;
      ++counts->checkedCentres;
      counts->cracks += !inP && !inQ;
    }
  }
}

void PaintFace(const FacePlacement& face, TestPicture& picture, Surface* target) {
  FillSurfaceRect(*target, Rect{0, 0, kSide, kSide}, kBlack);
  ASSERT_TRUE(TransferPicture(*target, face.corners, picture.header(), face.w, face.hh, kSide, kSide));
}

EdgeCounts CheckCycle(int halfEdge) {
  std::mt19937 random(9);
  TestPicture source = MakePicture(1, 1, 24, 0, &random);  // one grey pixel, shown on every face pixel
  const uint8_t grey[3] = {9, 9, 9};
  std::copy(grey, grey + 3, DibBits(source.header()));
  TestSurface first(kSide, kSide), second(kSide, kSide);
  EdgeCounts counts;
  CubeMotion motion = kInitialCubeMotion;
  for (int n = 0; n < 360; ++n) {
    AdvanceAngles(&motion);
    CubeFrame frame;
    RotationRows(motion.angleX, motion.angleY, motion.angleZ, frame.rowX, frame.rowY);
    ProjectCorners(frame.rowX, frame.rowY, halfEdge, kSide / 2, kSide / 2, frame.points);
    std::vector<FacePlacement> faces;
    for (int k = 0; k < kCubeFaceCount; ++k) {
      FacePlacement face;
      if (PlaceFace(k, frame.points, &face) && face.cross > 0) faces.push_back(face);
    }
    for (size_t i = 0; i < faces.size(); ++i) {
      for (size_t j = i + 1; j < faces.size(); ++j) {
        Parallelogram p = Place(faces[i]), q = Place(faces[j]);
        int shared[2], count = 0;
        for (int v : p.vertex) {
          if (Slot(q, v) >= 0 && count < 2) shared[count++] = v;
        }
        if (count != 2) continue;
        int pa = Slot(p, shared[0]), pb = Slot(p, shared[1]), qa = Slot(q, shared[0]), qb = Slot(q, shared[1]);
        bool exact = p.corner[pa].x == q.corner[qa].x && p.corner[pa].y == q.corner[qa].y &&
                     p.corner[pb].x == q.corner[qb].x && p.corner[pb].y == q.corner[qb].y;
        if (!exact) continue;  // a fourth corner rounded apart: the edges differ by up to one pixel
        ++counts.exactEdges;
        PaintFace(faces[i], source, &first.surface);
        PaintFace(faces[j], source, &second.surface);
        CheckSharedEdge(p, q, pa, pb, qa, qb, first.surface, second.surface, &counts);
      }
    }
  }
  return counts;
}

}  // namespace

TEST(CubeEdges, SharedEdgesHaveNoCracksAndNoDoublePaint) {
  for (int halfEdge : {122, 53, 14}) {
    EdgeCounts counts = CheckCycle(halfEdge);
    EXPECT_EQ(counts.overlaps, 0) << "half edge " << halfEdge;
    EXPECT_EQ(counts.cracks, 0) << "half edge " << halfEdge;
    EXPECT_GT(counts.exactEdges, 360) << "half edge " << halfEdge;
    EXPECT_GT(counts.checkedCentres, 10 * counts.exactEdges) << "half edge " << halfEdge;
  }
}
