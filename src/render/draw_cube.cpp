// DrawCube: the geometry of cube_geometry.cpp applied to the animation globals, then the erase and
// each facing face painted by the painter. There is no system error code here, so the failure
// messages carry 0.
#include "render/draw_cube.h"

#include "render/face_levels.h"
#include "render/painter.h"
#include "render/surface.h"
#include "settings/settings_file.h"
#include "shell/fatal.h"
#include "shell/saver_rules.h"

int AngleX = kInitialCubeMotion.angleX;
int AngleY = kInitialCubeMotion.angleY;
int AngleZ = kInitialCubeMotion.angleZ;
int CenterX = kInitialCubeMotion.centerX;
int CenterY = kInitialCubeMotion.centerY;
int VelocityX = kInitialCubeMotion.velocityX;
int VelocityY = kInitialCubeMotion.velocityY;
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
  SetCubeMotion(kInitialCubeMotion);
  for (ScreenPoint& point : ScreenPoints) point = ScreenPoint{0, 0};
  DirtyRect = Rect{0, 0, 0, 0};
  PrevDirtyRect = Rect{0, 0, 0, 0};
}

namespace {

// The scratch surface's size as the transfer sees it: 0 when there is no usable scratch surface.
int ScratchWidth() { return SurfaceUsable(FaceSurface) ? FaceSurface.width : 0; }
int ScratchHeight() { return SurfaceUsable(FaceSurface) ? FaceSurface.height : 0; }

// The picture is checked first, where a stretch into the scratch surface would have failed: a face
// without levels has a picture the painter cannot read (or no memory was left to reduce it). The
// face is then painted from the level nearest its size on the screen, by the same transfer as a
// picture: the coverage is the transfer's whatever the level.
void DrawFace(const FacePlacement& placement) {
  if (!EnsureFaceLevels(placement.face)) Abort(kFatalStretch, 0);
  const PackedDib* level = FaceLevel(&FaceLevels[placement.face], placement.corners);
  if (level == nullptr) Abort(kFatalStretch, 0);  // no memory left for the level
  if (!TransferPicture(BackSurface, placement.corners, level, placement.w, placement.hh, ScratchWidth(),
                       ScratchHeight())) {
    Abort(kFatalTransfer, 0);
  }
}

// The erase leaves out the parallelograms of the faces that paint every pixel of theirs. A face
// larger than the scratch surface paints only part of its parallelogram; it is not left out, so the
// pixels it leaves are erased, and the ones it paints are painted after the erase all the same.
void EraseAround(Rect erase, const CubeFrame& frame) {
  ParallelogramWalk walks[kCubeFaceCount];
  int count = 0;
  for (int i = 0; i < frame.faceCount; ++i) {
    const FacePlacement& face = frame.faces[i];
    if (PicturePaintsWholeParallelogram(BackSurface, face.corners, face.w, face.hh, ScratchWidth(), ScratchHeight(),
                                        &walks[count])) {
      ++count;
    }
  }
  FillAroundParallelograms(BackSurface, erase, walks, count);
}

}  // namespace

Rect DrawCube() {
  Rect erase = DirtyRect;
  CubeMotion motion = CurrentCubeMotion();
  CubeFrame frame;
  StepCube(&motion, CubeHalfEdge, ViewWidth, ViewHeight, &frame);
  SetCubeMotion(motion);
  for (int i = 0; i < kCubeCorners; ++i) ScreenPoints[i] = frame.points[i];
  PrevDirtyRect = DirtyRect;
  DirtyRect = frame.dirty;
  EraseAround(erase, frame);
  for (int i = 0; i < frame.faceCount; ++i) DrawFace(frame.faces[i]);
  return UnionRect(PrevDirtyRect, DirtyRect);
}
