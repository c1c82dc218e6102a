// The copy of the back buffer to the window: one image of the view's size, in shared memory when the
// X server takes it (MIT-SHM), else a plain image sent with each copy. Xlib and MIT-SHM only.
#pragma once
#include "picture/win_records.h"

extern int HackImageShared;  // 1 while the image lives in a shared segment

// Makes the image for ViewWidth x ViewHeight on HackWindow's visual. The shared segment is removed
// (IPC_RMID) as soon as the server has attached it, so a killed hack leaves none; a server without
// MIT-SHM, or one that refuses the segment (BadAccess across IPC namespaces), gets a plain image.
// False when memory runs out.
bool CreateHackImage();

// Converts rect of BackSurface (clipped to the view) into the image and puts that part on the window.
void CopyToWindow(Rect rect);

// Puts rect of the image, which holds the current frame, on the window again (after an Expose).
void RepaintWindow(Rect rect);

// Detaches and frees the image; CreateHackImage may follow for a new size.
void DestroyHackImage();
