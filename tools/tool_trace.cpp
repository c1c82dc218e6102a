// whirlbox-tool trace: the geometry of each frame step from the load state, printed line by line.
// Geometry only: no surfaces, no pictures, no Windows headers.
#include <cstdio>
#include <cstring>

#include "render/cube_geometry.h"
#include "tool_args.h"
#include "tool_commands.h"

const char kTraceUsage[] = "whirlbox-tool trace --view <W>x<H> --half-edge <E> [--frames <N>]";

namespace {

void PrintFrame(int n, const CubeMotion& motion, const CubeFrame& frame, Rect copy) {
  std::printf("frame %d angles %d %d %d centre %d %d velocity %d %d\n", n, motion.angleX, motion.angleY,
              motion.angleZ, motion.centerX, motion.centerY, motion.velocityX, motion.velocityY);
  std::printf("points");
  for (const ScreenPoint& point : frame.points) std::printf(" %d,%d", point.x, point.y);
  std::printf("\n");
  for (int i = 0; i < frame.faceCount; ++i) {
    std::printf("face %d w %d hh %d\n", frame.faces[i].face, frame.faces[i].w, frame.faces[i].hh);
  }
  std::printf("dirty %d %d %d %d copy %d %d %d %d\n", frame.dirty.left, frame.dirty.top, frame.dirty.right,
              frame.dirty.bottom, copy.left, copy.top, copy.right, copy.bottom);
}

}  // namespace

int RunTrace(int argc, char** argv) {
  int width = 0, height = 0, halfEdge = -1, frames = 1;
  for (int i = 0; i < argc; i += 2) {  // each option and its value
    const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
    bool ok = false;
    if (std::strcmp(argv[i], "--view") == 0) ok = ParseViewSize(value, &width, &height);
    if (std::strcmp(argv[i], "--half-edge") == 0) ok = ParseBoundedInt(value, 0, kMaxHalfEdge, &halfEdge);
    if (std::strcmp(argv[i], "--frames") == 0) ok = ParseBoundedInt(value, 1, kMaxFrames, &frames);
    if (!ok) {
      std::fprintf(stderr, "trace: bad or unknown option %s\n", argv[i]);
      return 2;
    }
  }
  if (width == 0 || halfEdge < 0) {
    std::fprintf(stderr, "trace: --view and --half-edge are required\n");
    return 2;
  }
  CubeMotion motion = kInitialCubeMotion;
  Rect dirty{0, 0, width, height};  // start-up marks the whole view dirty before the first frame
  for (int n = 1; n <= frames; ++n) {
    CubeFrame frame;
    StepCube(&motion, halfEdge, width, height, &frame);
    PrintFrame(n, motion, frame, UnionRect(dirty, frame.dirty));
    dirty = frame.dirty;
  }
  return 0;
}
