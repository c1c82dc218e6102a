// The cube's model: its eight corners and its six faces as corner indices. Constant tables only;
// no drawing and no platform headers.
#pragma once

constexpr int kCubeCorners = 8;
constexpr int kCubeFaceCount = 6;

// Corners at +-1 on each axis, scaled by the half edge when projected.
extern const int CubeVertices[kCubeCorners][3];

// Each face walks round its side through neighbouring corners i0, i1, i2, i3; its picture's top-left
// corner sits on i1, top-right on i2, bottom-left on i0. Face k shows FacePictures[k].
extern const int CubeFaces[kCubeFaceCount][4];
