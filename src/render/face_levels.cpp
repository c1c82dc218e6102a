// The face levels' globals and their life: the top levels made beside the pictures, the face levels
// planned once the half edge is fixed, forgotten when tests change the pictures. No drawing here, and
// no role or settings rules.
#include "render/face_levels.h"

#include <cstdlib>

#include "picture/jpeg_reader.h"
#include "render/painter.h"
#include "settings/settings_file.h"

PictureLevels FaceLevels[kCubeFaceCount];

void MakeLoadedLevels(PackedDib** picture, PictureLevels* levels) {
  *levels = PictureLevels{};
  if (!StretchablePicture(*picture) || !BuildPictureLevels(*picture, kTopLevelSide, levels)) return;
  if (levels->topWidth < (*picture)->biWidth || levels->topHeight < (*picture)->biHeight) {
    std::free(*picture);
    *picture = nullptr;
  }
}

namespace {

bool StartStream(void* context, const PackedDib* header) {
  return StretchablePicture(header) && StartTopLevel(header, kTopLevelSide, static_cast<TopLevelStream*>(context));
}

void AddStreamRow(void* context, const uint8_t* row) { AddTopLevelRow(static_cast<TopLevelStream*>(context), row); }

}  // namespace

bool LoadJpegLevels(const char* path, PackedDib** picture, PictureLevels* levels) {
  *levels = PictureLevels{};
  TopLevelStream stream{};
  const JpegRowSink sink = {StartStream, AddStreamRow, &stream};
  if (!LoadJpegToSink(path, &sink, picture)) {
    FreeTopLevelStream(&stream);
    return false;
  }
  if (*picture != nullptr) {
    MakeLoadedLevels(picture, levels);
  } else {
    FinishTopLevel(&stream, levels);
  }
  return true;
}

bool EnsureFaceLevels(int face) {
  PictureLevels& levels = FaceLevels[face];
  if (levels.top == nullptr) {
    const PackedDib* picture = FacePictures[face];
    if (!StretchablePicture(picture) || !BuildPictureLevels(picture, kTopLevelSide, &levels)) return false;
  }
  // A new half edge (the hack's window resized) plans them again.
  const int side = FaceSideForHalfEdge(CubeHalfEdge);
  if (levels.faceSide != side) PlanFaceLevels(side, &levels);
  return true;
}

void KeepShownLevels(int halfEdge) {
  for (int k = 0; k < kCubeFaceCount; ++k) {
    if (FaceLevels[k].top == nullptr) continue;
    PlanFaceLevels(FaceSideForHalfEdge(halfEdge), &FaceLevels[k]);
    std::free(FacePictures[k]);
    FacePictures[k] = nullptr;
  }
}

void ForgetFaceLevels() {
  for (PictureLevels& levels : FaceLevels) FreePictureLevels(&levels);
}
