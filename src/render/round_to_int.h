// Rounding of doubles to whole pixels and milliseconds, shared by the renderer and the settings.
#pragma once

// Rounds halves away from zero: 2.5 gives 3, -2.5 gives -3; 0 and not-a-number give 0. Values beyond
// the 32-bit range give the nearest limit instead of undefined behaviour.
int RoundToInt(double x);
