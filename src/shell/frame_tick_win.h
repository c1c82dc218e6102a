// One animation frame on Windows: compose it in the back buffer, then copy the changed area to the
// saver window. Windows build only.
#pragma once

// The frame step of WM_TIMER 1. Does nothing while Abort's box is shown. Ends the process through
// Abort 315 when the window's drawing context cannot be had.
void RunFrameStep();
