// The cube's model and the geometry of one animation frame as pure functions: angles, drift and
// bounce, rotation rows, projection, facing test, edge lengths and dirty rectangles. No drawing and
// no globals; DrawCube feeds the results to the painter.
#pragma once
#include <cstdint>

#include "picture/win_records.h"

constexpr int kCubeCorners = 8;
constexpr int kCubeFaceCount = 6;

// Corners at +-1 on each axis, scaled by the half edge when projected.
extern const int CubeVertices[kCubeCorners][3];

// Each face walks round its side through neighbouring corners i0, i1, i2, i3; its picture's top-left
// corner sits on i1, top-right on i2, bottom-left on i0. Face k shows FacePictures[k].
extern const int CubeFaces[kCubeFaceCount][4];

struct ScreenPoint {
  int32_t x;
  int32_t y;
};

// The moving part of the animation: rotation angles in whole degrees (0 to 359), the cube's centre
// on the view and its drift in pixels per frame.
struct CubeMotion {
  int angleX;
  int angleY;
  int angleZ;
  int centerX;
  int centerY;
  int velocityX;
  int velocityY;
};

// One face that passes the facing test, ready for the stretch and the parallelogram transfer.
struct FacePlacement {
  int face;                // index into CubeFaces and FacePictures
  ScreenPoint corners[3];  // P1, P2, P0: where the picture's top-left, top-right, bottom-left land
  int w;                   // length of the picture's top edge, P1 to P2
  int hh;                  // length of its left edge, P1 to P0
  int64_t cross;           // facing value; 0 when P0, P1, P2 lie on one line
};

// Everything one step computes, in the order DrawCube uses it.
struct CubeFrame {
  double rowX[3];  // first two rows of Rx(a) Ry(b) Rz(c)
  double rowY[3];
  ScreenPoint points[kCubeCorners];
  int faceCount;  // faces that pass the facing test, in table order
  FacePlacement faces[kCubeFaceCount];
  Rect dirty;  // the area the new cube covers, widened by one pixel on every side
};

// The motion every process starts from: angles 0, centre at the view's top-left corner (not its
// middle), drift 19, 23 pixels per frame.
constexpr CubeMotion kInitialCubeMotion = {0, 0, 0, 0, 0, 19, 23};

// Adds 11, 13 and 17 degrees, modulo 360.
void AdvanceAngles(CubeMotion* motion);

// Moves centre by velocity, then looks one step ahead and turns velocity away from the far edge
// (tested first) or the near edge. margin is the bounce margin, extent the view's size on that axis.
void DriftAxis(int* centre, int* velocity, int margin, int extent);

// The first two rows of the rotation for angles in whole degrees, each term one double operation in
// a fixed order so every build gives the same corners.
void RotationRows(int angleX, int angleY, int angleZ, double rowX[3], double rowY[3]);

// Orthographic projection of the eight corners scaled by halfEdge around the centre, in vertex order.
void ProjectCorners(const double rowX[3], const double rowY[3], int halfEdge, int centerX, int centerY,
                    ScreenPoint points[kCubeCorners]);

// (P1 - P0) x (P2 - P1) in 64 bits: positive when P0, P1, P2 run clockwise on screen.
int64_t FacingCross(ScreenPoint p0, ScreenPoint p1, ScreenPoint p2);

// Fills placement for face and returns true when it faces the viewer (cross >= 0); false when it is
// turned away.
bool PlaceFace(int face, const ScreenPoint points[kCubeCorners], FacePlacement* placement);

// One animation step: advances motion (angles, drift, bounce) for a view of viewWidth x viewHeight
// and computes the frame's corners, facing faces and dirty rectangle.
void StepCube(CubeMotion* motion, int halfEdge, int viewWidth, int viewHeight, CubeFrame* frame);

// The smallest rectangle holding both, taken as min of left/top and max of right/bottom even when
// one of them is empty, as the copy area is defined.
Rect UnionRect(Rect a, Rect b);
