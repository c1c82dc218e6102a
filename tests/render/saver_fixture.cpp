// StartSaver for the frame and tool tests.
#include "saver_fixture.h"

#include <gtest/gtest.h>

#include "render/draw_cube.h"
#include "render/face_levels.h"
#include "render/surface.h"
#include "shell/saver_rules.h"

void StartSaver(int width, int height, int halfEdge, PackedDib* const pictures[kFaceCount]) {
  ViewWidth = width;
  ViewHeight = height;
  CubeHalfEdge = halfEdge;
  for (int k = 0; k < kFaceCount; ++k) FacePictures[k] = pictures[k];
  ForgetFaceLevels();  // the first frame makes the new pictures' levels
  FreeSurface(&BackSurface);
  FreeSurface(&FaceSurface);
  ASSERT_TRUE(AllocateSurface(width, height, &BackSurface));
  ASSERT_TRUE(AllocateSurface(width, height, &FaceSurface));
  std::mt19937 random(11);
  FillRandom(BackSurface, &random);
  ResetCubeState();
  DirtyRect = Rect{0, 0, width, height};
}

void StartSaver(int width, int height, int halfEdge, TestPicture* pictures) {
  PackedDib* headers[kFaceCount];
  for (int k = 0; k < kFaceCount; ++k) headers[k] = pictures[k].header();
  StartSaver(width, height, halfEdge, headers);
}
