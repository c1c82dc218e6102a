// The face levels' globals and their life: the top levels made beside the pictures, the face levels
// made once the half edge is fixed, forgotten when tests change the pictures. No drawing here, and
// no role or settings rules.
#include "render/face_levels.h"

#include <cstdlib>

#include "render/painter.h"
#include "settings/settings_file.h"

PictureLevels FaceLevels[kCubeFaceCount];

void MakeLoadedLevels(PackedDib** picture, PictureLevels* levels) {
  *levels = PictureLevels{};
  if (!StretchablePicture(*picture) || !BuildPictureLevels(*picture, kLevelSideCap, levels)) return;
  if (levels->topWidth < (*picture)->biWidth || levels->topHeight < (*picture)->biHeight) {
    std::free(*picture);
    *picture = nullptr;
  }
}

bool EnsureFaceLevels(int face) {
  PictureLevels& levels = FaceLevels[face];
  const int side = FaceSideForHalfEdge(CubeHalfEdge);
  if (levels.block != nullptr && (levels.faceSide == side || levels.top == nullptr)) return true;
  if (levels.top == nullptr) {
    const PackedDib* picture = FacePictures[face];
    if (!StretchablePicture(picture) || !BuildPictureLevels(picture, kLevelSideCap, &levels)) return false;
  }
  // A new half edge (the hack's window resized) makes them again while the top level is kept.
  return BuildFaceLevels(side, &levels) || levels.block != nullptr;
}

void KeepShownLevels(int halfEdge) {
  for (int k = 0; k < kCubeFaceCount; ++k) {
    if (FaceLevels[k].top == nullptr) continue;
    // Out of memory: the top level and the picture stay, and the first frame tries again.
    if (!BuildFaceLevels(FaceSideForHalfEdge(halfEdge), &FaceLevels[k])) continue;
    std::free(FaceLevels[k].top);
    FaceLevels[k].top = nullptr;
    std::free(FacePictures[k]);
    FacePictures[k] = nullptr;
  }
}

void ForgetFaceLevels() {
  for (PictureLevels& levels : FaceLevels) FreePictureLevels(&levels);
}
