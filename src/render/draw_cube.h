// DrawCube: one animation step drawn into the back buffer. No platform headers.
#pragma once

// Advances the animation by one step, draws the facing faces into BackSurface (each picture
// stretched into FaceSurface, then mapped onto its parallelogram) and updates DirtyRect and
// PrevDirtyRect. Ends the process through Abort 202 or 205 when a face cannot be drawn. Reads
// CubeHalfEdge, ViewWidth, ViewHeight and FacePictures; never touches the window.
void DrawCube();
