// The frame geometry: the worked frames at 1024 x 768 with half edge 122, the bounce, the square
// frames every 90 steps, the orientation at rest, narrow views and the rounding of small cubes.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "render/cube_geometry.h"

namespace {

struct Steps {
  CubeMotion motion;
  CubeFrame frame;
  Rect previousDirty;
};

// Steps from the load state n times, starting (as start-up does) with the whole view dirty.
Steps RunFrames(int width, int height, int halfEdge, int n) {
  Steps run{kInitialCubeMotion, CubeFrame{}, Rect{0, 0, width, height}};
  Rect dirty{0, 0, width, height};
  for (int i = 0; i < n; ++i) {
    run.previousDirty = dirty;
    StepCube(&run.motion, halfEdge, width, height, &run.frame);
    dirty = run.frame.dirty;
  }
  return run;
}

std::string Describe(Rect r) {
  char text[80];
  std::snprintf(text, sizeof text, "%d %d %d %d", r.left, r.top, r.right, r.bottom);
  return text;
}

std::string Describe(const ScreenPoint* points, int count) {
  std::string text;
  for (int i = 0; i < count; ++i) {
    char one[32];
    std::snprintf(one, sizeof one, "(%d,%d)", points[i].x, points[i].y);
    text += one;
  }
  return text;
}

std::string DrawnFaces(const CubeFrame& frame) {
  std::string text;
  for (int i = 0; i < frame.faceCount; ++i) text += std::to_string(frame.faces[i].face);
  return text;
}

}  // namespace

TEST(CubeGeometry, FirstFrameAt1024x768) {
  Steps run = RunFrames(1024, 768, 122, 1);
  EXPECT_EQ(run.motion.angleX, 11);
  EXPECT_EQ(run.motion.angleY, 13);
  EXPECT_EQ(run.motion.angleZ, 17);
  EXPECT_EQ(run.motion.centerX, 19);
  EXPECT_EQ(run.motion.centerY, 23);
  EXPECT_EQ(run.motion.velocityX, 19);
  EXPECT_EQ(run.motion.velocityY, 23);
  const double rowX[3] = {0.931795, -0.284878, 0.224951};
  const double rowY[3] = {0.328047, 0.926185, -0.185919};
  for (int i = 0; i < 3; ++i) {
    EXPECT_NEAR(run.frame.rowX[i], rowX[i], 1e-6) << "row x " << i;
    EXPECT_NEAR(run.frame.rowY[i], rowY[i], 1e-6) << "row y " << i;
  }
  EXPECT_EQ(Describe(run.frame.points, 8), "(125,153)(195,-73)(-32,-153)(-102,73)(70,199)(140,-27)(-87,-107)(-157,119)");
  ASSERT_EQ(DrawnFaces(run.frame), "034");
  const int w[3] = {241, 237, 241}, hh[3] = {237, 72, 72};
  const char* corners[3] = {"(-32,-153)(195,-73)(-102,73)", "(-32,-153)(-102,73)(-87,-107)",
                            "(-102,73)(125,153)(-157,119)"};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(run.frame.faces[i].w, w[i]) << "face " << run.frame.faces[i].face;
    EXPECT_EQ(run.frame.faces[i].hh, hh[i]) << "face " << run.frame.faces[i].face;
    EXPECT_EQ(Describe(run.frame.faces[i].corners, 3), corners[i]);
    EXPECT_GT(run.frame.faces[i].cross, 0);
  }
  EXPECT_EQ(Describe(run.frame.dirty), "-158 -154 196 200");
  EXPECT_EQ(Describe(UnionRect(run.previousDirty, run.frame.dirty)), "-158 -154 1024 768");
}

TEST(CubeGeometry, SecondFrameCopiesTheAreaItErasedAndDrew) {
  Steps run = RunFrames(1024, 768, 122, 2);
  EXPECT_EQ(run.motion.angleX, 22);
  EXPECT_EQ(run.motion.angleY, 26);
  EXPECT_EQ(run.motion.angleZ, 34);
  EXPECT_EQ(run.motion.centerX, 38);
  EXPECT_EQ(run.motion.centerY, 46);
  EXPECT_EQ(Describe(run.previousDirty), "-158 -154 196 200");
  EXPECT_EQ(Describe(run.frame.dirty), "-169 -159 245 251");
  EXPECT_EQ(Describe(UnionRect(run.previousDirty, run.frame.dirty)), "-169 -159 245 251");
}

TEST(CubeGeometry, CentreBouncesOffTheRightEdgeAtFrame44) {
  Steps run = RunFrames(1024, 768, 122, 43);
  EXPECT_EQ(run.motion.centerX, 817);
  EXPECT_EQ(run.motion.velocityX, 19);
  StepCube(&run.motion, 122, 1024, 768, &run.frame);  // frame 44: 836 + 19 + 183 > 1024
  EXPECT_EQ(run.motion.centerX, 836);
  EXPECT_EQ(run.motion.velocityX, -19);
  StepCube(&run.motion, 122, 1024, 768, &run.frame);
  EXPECT_EQ(run.motion.centerX, 817);
  EXPECT_EQ(run.motion.velocityX, -19);
}

TEST(CubeGeometry, Frame90ShowsFace3AsAnAxisParallelSquare) {
  Steps run = RunFrames(1024, 768, 122, 90);
  EXPECT_EQ(run.motion.angleX, 270);
  EXPECT_EQ(run.motion.angleY, 90);
  EXPECT_EQ(run.motion.angleZ, 90);
  EXPECT_EQ(run.motion.centerX, 418);
  EXPECT_EQ(run.motion.centerY, 506);
  EXPECT_EQ(DrawnFaces(run.frame), "01345");  // face 2, opposite the square, is turned away
  for (int i = 0; i < run.frame.faceCount; ++i) {
    const FacePlacement& face = run.frame.faces[i];
    if (face.face == 3) {
      EXPECT_EQ(Describe(face.corners, 3), "(540,384)(540,628)(296,384)");
      EXPECT_EQ(face.w, 244);
      EXPECT_EQ(face.hh, 244);
    } else {
      EXPECT_EQ(face.cross, 0) << "side face " << face.face;
      EXPECT_TRUE(face.w == 0 || face.hh == 0) << "side face " << face.face << " w " << face.w << " hh " << face.hh;
    }
  }
  EXPECT_EQ(Describe(run.frame.dirty), "295 383 541 629");
}

TEST(CubeGeometry, Frame180ShowsFace0AndTheCycleReturnsToRestAt360) {
  Steps run = RunFrames(1024, 768, 122, 180);
  EXPECT_EQ(run.motion.angleX, 180);
  EXPECT_EQ(run.motion.angleY, 180);
  EXPECT_EQ(run.motion.angleZ, 180);
  EXPECT_EQ(DrawnFaces(run.frame), "02345");
  EXPECT_EQ(run.frame.faces[0].w, 244);
  EXPECT_EQ(run.frame.faces[0].hh, 244);
  CubeMotion motion = kInitialCubeMotion;
  for (int n = 1; n <= 360; ++n) {
    AdvanceAngles(&motion);
    bool rest = motion.angleX == 0 && motion.angleY == 0 && motion.angleZ == 0;
    EXPECT_EQ(rest, n == 360) << "frame " << n;
  }
}

TEST(CubeGeometry, RestOrientationShowsFace0UprightAndUnmirrored) {
  double rowX[3], rowY[3];
  RotationRows(0, 0, 0, rowX, rowY);
  ScreenPoint points[kCubeCorners];
  ProjectCorners(rowX, rowY, 100, 500, 400, points);
  // Model x points right and model y down on the screen.
  EXPECT_EQ(points[0].x, 600);
  EXPECT_EQ(points[0].y, 500);
  EXPECT_EQ(points[2].x, 400);
  EXPECT_EQ(points[2].y, 300);
  FacePlacement face;
  ASSERT_TRUE(PlaceFace(0, points, &face));
  EXPECT_GT(face.cross, 0);
  // The picture's top-left corner lands top-left, its top-right to the right of it, its bottom-left
  // below it: upright, not mirrored.
  EXPECT_EQ(Describe(face.corners, 3), "(400,300)(600,300)(400,500)");
  EXPECT_FALSE(PlaceFace(1, points, &face));
}

TEST(CubeGeometry, NarrowViewStepsBackAndForth) {
  CubeMotion motion = kInitialCubeMotion;
  const int want[] = {19, 38, 57, 76, 95, 114, 95, 114, 95, 114, 95, 114};
  CubeFrame frame;
  for (int n = 0; n < 12; ++n) {
    StepCube(&motion, 122, 300, 768, &frame);
    EXPECT_EQ(motion.centerX, want[n]) << "frame " << n + 1;
  }
}

TEST(CubeGeometry, BounceOnlyPastAnEdgeAndTheFarEdgeWins) {
  struct Case {
    int centre, velocity, margin, extent;
    int wantCentre, wantVelocity;
    const char* why;
  };
  const Case cases[] = {
      {40, -19, 183, 100, 21, -19, "21 - 19 + 183 > 100 and 21 - 19 - 183 < 0: the far edge wins"},
      {10, -19, 5, 1000, -9, 19, "-9 - 19 - 5 < 0: turns at the near edge"},
      {100, 10, 50, 170, 110, 10, "110 + 10 + 50 reaches the far edge exactly: no turn"},
      {100, -10, 80, 1000, 90, -10, "90 - 10 - 80 reaches the near edge exactly: no turn"},
  };
  for (const Case& c : cases) {
    int centre = c.centre, velocity = c.velocity;
    DriftAxis(&centre, &velocity, c.margin, c.extent);
    EXPECT_EQ(centre, c.wantCentre) << c.why;
    EXPECT_EQ(velocity, c.wantVelocity) << c.why;
  }
}

TEST(CubeGeometry, CornerOnAHalfRoundsAwayFromZero) {
  // Half edge 53, frame 45 (angles 135, 225, 45): corner 2 projects to y = 79.5 exactly and corner 4
  // to -79.5; a fused or extended-precision sum would land beside the half.
  Steps run = RunFrames(1024, 768, 53, 45);
  ASSERT_EQ(run.motion.angleX, 135);
  EXPECT_EQ(run.frame.points[2].y - run.motion.centerY, 80);
  EXPECT_EQ(run.frame.points[4].y - run.motion.centerY, -80);
}

TEST(CubeGeometry, SmallCubeFacesOnALineAreStillDrawn) {
  // Half edge 14 (a preview host 112 pixels high), frame 7: rounding puts the corners of faces 0
  // and 1 on one line although both edges are long.
  Steps run = RunFrames(152, 112, 14, 7);
  int onLine = 0;
  for (int i = 0; i < run.frame.faceCount; ++i) {
    const FacePlacement& face = run.frame.faces[i];
    if (face.cross != 0) continue;
    ++onLine;
    EXPECT_EQ(face.w, 8) << "face " << face.face;
    EXPECT_EQ(face.hh, 27) << "face " << face.face;
  }
  EXPECT_EQ(onLine, 2);
}

TEST(CubeGeometry, SmallCubesSometimesShowTwoOrFourFaces) {
  CubeMotion motion = kInitialCubeMotion;
  CubeFrame frame;
  int counts[kCubeFaceCount + 1] = {};
  for (int n = 0; n < 360; ++n) {
    StepCube(&motion, 4, 640, 480, &frame);
    ++counts[frame.faceCount];
  }
  EXPECT_EQ(counts[2], 4);
  EXPECT_EQ(counts[3], 299);
  EXPECT_EQ(counts[4], 49);
  EXPECT_EQ(counts[5], 8);
}

TEST(CubeGeometry, UnionTakesTheOuterEdges) {
  EXPECT_EQ(Describe(UnionRect(Rect{0, 0, 1024, 768}, Rect{-158, -154, 196, 200})), "-158 -154 1024 768");
  EXPECT_EQ(Describe(UnionRect(Rect{5, 6, 7, 8}, Rect{1, 9, 3, 10})), "1 6 7 10");
}
