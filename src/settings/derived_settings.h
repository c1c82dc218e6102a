// The animation parameters derived from the two settings, and the settings' limits. Portable: no
// Windows headers.
#pragma once

// Size and speed when the settings file gives none.
constexpr int kDefaultSetting = 50;

// The setting limited to 0 to 100.
int ClampSetting(int setting);

// Half the cube's edge in pixels for a size setting of 0 to 100 (32 to 480).
int HalfEdgeForSize(int size);

// The frame timer's period in milliseconds for a speed setting of 0 to 100 (501 to 26).
int IntervalForSpeed(int speed);
