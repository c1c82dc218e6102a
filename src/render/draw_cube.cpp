// DrawCube: the geometry of cube_geometry.cpp applied to the animation globals, then one stretch and
// one parallelogram transfer per facing face. No platform headers; natively there is no system error
// code, so the failure messages carry 0.
#include "render/draw_cube.h"

#include <cstdint>

#include "render/cube_state.h"
#include "render/raster_stretch.h"
#include "render/raster_transfer.h"
#include "render/surface.h"
#include "settings/settings_state.h"
#include "shell/fatal.h"
#include "shell/saver_state.h"

namespace {

// The face scratch memory described as a DIB of the stretched face's own size (clipped to the
// surface), with rows of 3 * w bytes and at least one spare byte instead of the view's long rows: the
// transfer then reads from a compact block and may load four bytes per pixel. The pixels drawn are
// the same; nothing outside the frame step reads the scratch surface.
Surface FaceScratch(int w, int hh) {
  int width = w < FaceSurface.width ? w : FaceSurface.width;
  int height = hh < FaceSurface.height ? hh : FaceSurface.height;
  int64_t stride = ((3 * static_cast<int64_t>(width) + 4) / 4) * 4;
  if (width <= 0 || height <= 0 || stride * height > static_cast<int64_t>(FaceSurface.stride) * FaceSurface.height) {
    return FaceSurface;
  }
  return Surface{FaceSurface.bits, width, height, static_cast<int32_t>(stride)};
}

// Step 8.4, the black fill of (0, 0)-(w, hh) in the scratch surface, is left out: the stretch paints
// every pixel of that rectangle that lies on the surface, and the transfer reads no other.
void DrawFace(const FacePlacement& placement) {
  Surface scratch = FaceScratch(placement.w, placement.hh);
  if (!StretchPicture(scratch, placement.w, placement.hh, FacePictures[placement.face])) {
    Abort(kFatalStretch.code, kFatalStretch.format, 0);
  }
  if (!TransferParallelogram(BackSurface, placement.corners, scratch, placement.w, placement.hh)) {
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
