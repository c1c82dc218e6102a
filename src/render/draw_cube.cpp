// DrawCube: the geometry of cube_geometry.cpp applied to the animation globals, then each facing face
// drawn from its picture in one pass (the stretch and the parallelogram transfer together). No
// platform headers; there is no system error code here, so the failure messages carry 0.
#include "render/draw_cube.h"

#include "render/cube_state.h"
#include "render/erase_around.h"
#include "render/raster_fill.h"
#include "render/raster_picture_transfer.h"
#include "render/stretch_mapping.h"
#include "render/surface.h"
#include "render/surface_rows.h"
#include "settings/settings_state.h"
#include "shell/fatal.h"
#include "shell/saver_state.h"

namespace {

// The scratch surface's size as the transfer sees it: 0 when there is no usable scratch surface.
int ScratchWidth() { return SurfaceUsable(FaceSurface) ? FaceSurface.width : 0; }
int ScratchHeight() { return SurfaceUsable(FaceSurface) ? FaceSurface.height : 0; }

// A face in one pass. The black fill of (0, 0)-(w, hh) in the scratch surface, the
// stretch into it and the transfer from it paint the back buffer exactly as TransferPicture does (the
// stretch covers every scratch pixel the transfer reads), without the round trip through the scratch
// memory, which costs more than the drawing itself on large views. The picture is checked first, where
// the stretch would have failed.

void DrawFace(const FacePlacement& placement) {
  const PackedDib* picture = FacePictures[placement.face];
  if (!StretchablePicture(picture)) Abort(kFatalStretch.code, kFatalStretch.format, 0);
  if (!TransferPicture(BackSurface, placement.corners, picture, placement.w, placement.hh, ScratchWidth(),
                       ScratchHeight())) {
    Abort(kFatalTransfer.code, kFatalTransfer.format, 0);
  }
}

// The erase: around the faces when each of them paints its whole parallelogram; otherwise (a face
// larger than the scratch surface leaves pixels unpainted) the whole rectangle first.
void EraseAround(Rect erase, const CubeFrame& frame) {
  ParallelogramWalk walks[kCubeFaceCount];
  int count = 0;
  for (int i = 0; i < frame.faceCount; ++i) {
    const FacePlacement& face = frame.faces[i];
    PictureCoverage coverage = PictureTransferCoverage(BackSurface, face.corners, face.w, face.hh, ScratchWidth(),
                                                       ScratchHeight(), &walks[count]);
    if (coverage == kCoversSome) {
      FillSurfaceRect(BackSurface, erase, kBlack);
      return;
    }
    if (coverage == kCoversAll) ++count;
  }
  FillAroundParallelograms(BackSurface, erase, walks, count);
}

}  // namespace

void DrawCube() { EraseAndDrawCube(Rect{0, 0, 0, 0}); }

void EraseAndDrawCube(Rect erase) {
  CubeMotion motion = CurrentCubeMotion();
  CubeFrame frame;
  StepCube(&motion, CubeHalfEdge, ViewWidth, ViewHeight, &frame);
  SetCubeMotion(motion);
  for (int i = 0; i < kCubeCorners; ++i) ScreenPoints[i] = frame.points[i];
  PrevDirtyRect = DirtyRect;
  DirtyRect = frame.dirty;
  EraseAround(erase, frame);
  for (int i = 0; i < frame.faceCount; ++i) DrawFace(frame.faces[i]);
}
