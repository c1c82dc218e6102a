// Start-up of the saver's portable state for tests: view, half edge, pictures, heap surfaces, load
// state and the whole view dirty, as start-up does before the first frame.
#pragma once
#include "raster_reference.h"
#include "settings/settings_file.h"

// The back buffer starts with random bytes: the first frame must erase whatever the memory held.
void StartSaver(int width, int height, int halfEdge, PackedDib* const pictures[kFaceCount]);
void StartSaver(int width, int height, int halfEdge, TestPicture* pictures);
