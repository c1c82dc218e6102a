// DrawCube: the geometry of cube_geometry.cpp applied to the animation globals, then one stretch and
// one parallelogram transfer per facing face. No platform headers; natively there is no system error
// code, so the failure messages carry 0.
#include "render/draw_cube.h"

#include "render/cube_state.h"
#include "render/raster_fill.h"
#include "render/raster_stretch.h"
#include "render/raster_transfer.h"
#include "render/surface.h"
#include "settings/settings_state.h"
#include "shell/fatal.h"
#include "shell/saver_state.h"

namespace {

void DrawFace(const FacePlacement& placement) {
  FillSurfaceRect(FaceSurface, Rect{0, 0, placement.w, placement.hh}, kBlack);
  if (!StretchPicture(FaceSurface, placement.w, placement.hh, FacePictures[placement.face])) {
    Abort(kFatalStretch.code, kFatalStretch.format, 0);
  }
  if (!TransferParallelogram(BackSurface, placement.corners, FaceSurface, placement.w, placement.hh)) {
    Abort(kFatalTransfer.code, kFatalTransfer.format, 0);
  }
}

}  // namespace

void DrawCube() {
  CubeMotion motion{AngleX, AngleY, AngleZ, CenterX, CenterY, VelocityX, VelocityY};
  CubeFrame frame;
  StepCube(&motion, CubeHalfEdge, ViewWidth, ViewHeight, &frame);
  AngleX = motion.angleX;
  AngleY = motion.angleY;
  AngleZ = motion.angleZ;
  CenterX = motion.centerX;
  CenterY = motion.centerY;
  VelocityX = motion.velocityX;
  VelocityY = motion.velocityY;
  for (int i = 0; i < kCubeCorners; ++i) ScreenPoints[i] = frame.points[i];
  PrevDirtyRect = DirtyRect;
  DirtyRect = frame.dirty;
  for (int i = 0; i < frame.faceCount; ++i) DrawFace(frame.faces[i]);
}
