// The cube's tables and the pure geometry of one frame. Every product and sum is written as one
// double operation in a fixed order; the build forbids fused multiply-add, so every target rounds
// alike. No globals, no drawing.
#include "render/cube_geometry.h"

#include <cmath>
#include <cstdlib>

#include "render/round_to_int.h"

// For every face, (v(i1) - v(i0)) x (v(i2) - v(i1)) points out of the cube, which the facing test
// relies on.
const int CubeVertices[kCubeCorners][3] = {
    {1, 1, 1}, {1, -1, 1}, {-1, -1, 1}, {-1, 1, 1}, {1, 1, -1}, {1, -1, -1}, {-1, -1, -1}, {-1, 1, -1},
};

const int CubeFaces[kCubeFaceCount][4] = {
    {3, 2, 1, 0},  // z = +1
    {4, 5, 6, 7},  // z = -1
    {0, 1, 5, 4},  // x = +1
    {6, 2, 3, 7},  // x = -1
    {7, 3, 0, 4},  // y = +1
    {5, 1, 2, 6},  // y = -1
};

namespace {

constexpr double kPi = 3.141592653589793;

double Radians(int degrees) { return static_cast<double>(degrees) * kPi / 180.0; }

void WidenByPoint(Rect* rect, ScreenPoint point) {
  if (point.x < rect->left) rect->left = point.x;
  if (point.x > rect->right) rect->right = point.x;
  if (point.y < rect->top) rect->top = point.y;
  if (point.y > rect->bottom) rect->bottom = point.y;
}

int EdgeLength(ScreenPoint from, ScreenPoint to) {
  double dx = static_cast<double>(to.x) - static_cast<double>(from.x);
  double dy = static_cast<double>(to.y) - static_cast<double>(from.y);
  return RoundToInt(std::hypot(dx, dy));
}

}  // namespace

void AdvanceAngles(CubeMotion* motion) {
  motion->angleX = (motion->angleX + 11) % 360;
  motion->angleY = (motion->angleY + 13) % 360;
  motion->angleZ = (motion->angleZ + 17) % 360;
}

void DriftAxis(int* centre, int* velocity, int margin, int extent) {
  *centre += *velocity;
  int speed = std::abs(*velocity);
  // The far edge wins when a narrow view meets both conditions at once.
  if (*centre + *velocity + margin > extent) {
    *velocity = -speed;
  } else if (*centre + *velocity - margin < 0) {
    *velocity = speed;
  }
}

void RotationRows(int angleX, int angleY, int angleZ, double rowX[3], double rowY[3]) {
  double a = Radians(angleX);
  double b = Radians(angleY);
  double c = Radians(angleZ);
  double sa = std::sin(a), ca = std::cos(a);
  double sb = std::sin(b), cb = std::cos(b);
  double sc = std::sin(c), cc = std::cos(c);
  rowX[0] = cb * cc;
  rowX[1] = -(cb * sc);
  rowX[2] = sb;
  double sasb = sa * sb;
  rowY[0] = ca * sc + sasb * cc;
  rowY[1] = ca * cc - sasb * sc;
  rowY[2] = -(sa * cb);
}

void ProjectCorners(const double rowX[3], const double rowY[3], int halfEdge, int centerX, int centerY,
                    ScreenPoint points[kCubeCorners]) {
  for (int i = 0; i < kCubeCorners; ++i) {
    double x = static_cast<double>(CubeVertices[i][0] * halfEdge);
    double y = static_cast<double>(CubeVertices[i][1] * halfEdge);
    double z = static_cast<double>(CubeVertices[i][2] * halfEdge);
    double sx = rowX[0] * x + rowX[1] * y + rowX[2] * z;
    double sy = rowY[0] * x + rowY[1] * y + rowY[2] * z;
    points[i].x = centerX + RoundToInt(sx);
    points[i].y = centerY + RoundToInt(sy);
  }
}

int64_t FacingCross(ScreenPoint p0, ScreenPoint p1, ScreenPoint p2) {
  int64_t ax = static_cast<int64_t>(p1.x) - p0.x, ay = static_cast<int64_t>(p1.y) - p0.y;
  int64_t bx = static_cast<int64_t>(p2.x) - p1.x, by = static_cast<int64_t>(p2.y) - p1.y;
  return ax * by - ay * bx;
}

bool PlaceFace(int face, const ScreenPoint points[kCubeCorners], FacePlacement* placement) {
  const int* corner = CubeFaces[face];
  ScreenPoint p0 = points[corner[0]], p1 = points[corner[1]], p2 = points[corner[2]];
  int64_t cross = FacingCross(p0, p1, p2);
  if (cross < 0) return false;  // turned away; cross 0 (seen edge-on) is still drawn
  placement->face = face;
  placement->corners[0] = p1;
  placement->corners[1] = p2;
  placement->corners[2] = p0;
  placement->w = EdgeLength(p1, p2);
  placement->hh = EdgeLength(p0, p1);
  placement->cross = cross;
  return true;
}

void StepCube(CubeMotion* motion, int halfEdge, int viewWidth, int viewHeight, CubeFrame* frame) {
  AdvanceAngles(motion);
  int margin = (3 * halfEdge) / 2;
  DriftAxis(&motion->centerX, &motion->velocityX, margin, viewWidth);
  DriftAxis(&motion->centerY, &motion->velocityY, margin, viewHeight);
  RotationRows(motion->angleX, motion->angleY, motion->angleZ, frame->rowX, frame->rowY);
  ProjectCorners(frame->rowX, frame->rowY, halfEdge, motion->centerX, motion->centerY, frame->points);

  frame->dirty = Rect{viewWidth, viewHeight, 0, 0};
  frame->faceCount = 0;
  for (int face = 0; face < kCubeFaceCount; ++face) {
    FacePlacement* placement = &frame->faces[frame->faceCount];
    if (!PlaceFace(face, frame->points, placement)) continue;
    for (int i = 0; i < 4; ++i) WidenByPoint(&frame->dirty, frame->points[CubeFaces[face][i]]);
    ++frame->faceCount;
  }
  frame->dirty.left -= 1;
  frame->dirty.top -= 1;
  frame->dirty.right += 1;
  frame->dirty.bottom += 1;
}

Rect UnionRect(Rect a, Rect b) {
  Rect u;
  u.left = a.left < b.left ? a.left : b.left;
  u.top = a.top < b.top ? a.top : b.top;
  u.right = a.right > b.right ? a.right : b.right;
  u.bottom = a.bottom > b.bottom ? a.bottom : b.bottom;
  return u;
}
