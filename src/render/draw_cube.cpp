// DrawCube: the geometry of cube_geometry.cpp applied to the animation globals, then one stretch and
// one parallelogram transfer per facing face. No platform headers; natively there is no system error
// code, so the failure messages carry 0.
#include "render/draw_cube.h"


#include "render/cube_state.h"
#include "render/raster_picture_transfer.h"
#include "render/stretch_mapping.h"
#include "render/surface.h"
#include "render/surface_rows.h"
#include "settings/settings_state.h"
#include "shell/fatal.h"
#include "shell/saver_state.h"

namespace {

// Steps 8.4 to 8.6 in one pass. The black fill of (0, 0)-(w, hh) in the scratch surface, the
// stretch into it and the transfer from it paint the back buffer exactly as TransferPicture does (the
// stretch covers every scratch pixel the transfer reads), without the round trip through the scratch
// memory, which costs more than the drawing itself on large views. The picture is checked first, where
// the stretch would have failed.
void DrawFace(const FacePlacement& placement) {
  const PackedDib* picture = FacePictures[placement.face];
  if (!StretchablePicture(picture)) Abort(kFatalStretch.code, kFatalStretch.format, 0);
  bool scratch = SurfaceUsable(FaceSurface);
  if (!TransferPicture(BackSurface, placement.corners, picture, placement.w, placement.hh,
                       scratch ? FaceSurface.width : 0, scratch ? FaceSurface.height : 0)) {
    Abort(kFatalTransfer.code, kFatalTransfer.format, 0);
  }
}

}  // namespace

void DrawCube() {
  CubeMotion motion = CurrentCubeMotion();
  CubeFrame frame;
  StepCube(&motion, CubeHalfEdge, ViewWidth, ViewHeight, &frame);
  SetCubeMotion(motion);
  for (int i = 0; i < kCubeCorners; ++i) ScreenPoints[i] = frame.points[i];
  PrevDirtyRect = DirtyRect;
  DirtyRect = frame.dirty;
  for (int i = 0; i < frame.faceCount; ++i) DrawFace(frame.faces[i]);
}
