// Argument parsing shared by the trace and render commands of whirlbox-tool.
#pragma once

// Parses "<W>x<H>" with both sides from 1 to 32768; false otherwise.
bool ParseViewSize(const char* text, int* width, int* height);

// Parses a whole decimal number from low to high; false for anything else.
bool ParseBoundedInt(const char* text, int low, int high, int* value);
