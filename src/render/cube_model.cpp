// The cube's corner and face tables. For every face, (v(i1) - v(i0)) x (v(i2) - v(i1)) points out of
// the cube, which the facing test relies on. No platform headers.
#include "render/cube_model.h"

const int CubeVertices[kCubeCorners][3] = {
    {1, 1, 1}, {1, -1, 1}, {-1, -1, 1}, {-1, 1, 1}, {1, 1, -1}, {1, -1, -1}, {-1, -1, -1}, {-1, 1, -1},
};

const int CubeFaces[kCubeFaceCount][4] = {
    {3, 2, 1, 0},  // z = +1
    {4, 5, 6, 7},  // z = -1
    {0, 1, 5, 4},  // x = +1
    {6, 2, 3, 7},  // x = -1
    {7, 3, 0, 4},  // y = +1
    {5, 1, 2, 6},  // y = -1
};
