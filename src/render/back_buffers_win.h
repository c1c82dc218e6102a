// The two off-screen surfaces on Windows: memory device contexts with 24-bit DIB sections of the
// view's size. The painter draws on the back buffer's pixel memory; the face surface is made and
// checked but not drawn on (see render/surface.h).
#pragma once
#include <windows.h>

extern HDC BackDc;          // the back buffer; holds BackBitmap selected
extern HBITMAP BackBitmap;  // 24-bit ViewWidth x ViewHeight DIB section, bottom-up
extern HDC FaceDc;          // the face scratch surface; holds FaceBitmap selected
extern HBITMAP FaceBitmap;  // same size and format as BackBitmap

// Creates both surfaces for SaverWindow at ViewWidth x ViewHeight and points BackSurface and
// FaceSurface at their pixel memory. Called once at start-up; succeeds completely or ends the
// process through Abort (589-615).
void CreateBackBuffers();
