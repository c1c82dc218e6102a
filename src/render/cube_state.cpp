// Definitions of the animation globals with their load values. No platform headers.
#include "render/cube_state.h"

int AngleX = 0;
int AngleY = 0;
int AngleZ = 0;
int CenterX = 0;  // the cube starts at the view's top-left corner
int CenterY = 0;
int VelocityX = 19;
int VelocityY = 23;
ScreenPoint ScreenPoints[kCubeCorners];
Rect DirtyRect = {0, 0, 0, 0};  // start-up sets it to the whole view before the first frame
Rect PrevDirtyRect = {0, 0, 0, 0};

CubeMotion CurrentCubeMotion() { return CubeMotion{AngleX, AngleY, AngleZ, CenterX, CenterY, VelocityX, VelocityY}; }

void SetCubeMotion(const CubeMotion& motion) {
  AngleX = motion.angleX;
  AngleY = motion.angleY;
  AngleZ = motion.angleZ;
  CenterX = motion.centerX;
  CenterY = motion.centerY;
  VelocityX = motion.velocityX;
  VelocityY = motion.velocityY;
}

void ResetCubeState() {
  SetCubeMotion(InitialCubeMotion());
  for (ScreenPoint& point : ScreenPoints) point = ScreenPoint{0, 0};
  DirtyRect = Rect{0, 0, 0, 0};
  PrevDirtyRect = Rect{0, 0, 0, 0};
}
