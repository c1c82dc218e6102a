// The face levels' globals and their life: made beside the pictures, trimmed for the half edge,
// forgotten when tests change the pictures. No drawing here, and no role or settings rules.
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
  if (FaceLevels[face].count > 0) return true;
  const PackedDib* picture = FacePictures[face];
  return StretchablePicture(picture) && BuildPictureLevels(picture, kLevelSideCap, &FaceLevels[face]);
}

void KeepShownLevels(int halfEdge) {
  for (int k = 0; k < kCubeFaceCount; ++k) {
    if (FaceLevels[k].count == 0) continue;
    std::free(FacePictures[k]);
    FacePictures[k] = nullptr;
    KeepLevelsForHalfEdge(halfEdge, &FaceLevels[k]);  // out of memory: the larger levels stay, still right
  }
}

void ForgetFaceLevels() {
  for (PictureLevels& levels : FaceLevels) FreePictureLevels(&levels);
}
