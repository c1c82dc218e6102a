// Number options of whirlbox-tool's trace and render commands, read by the saver's own number
// scanner. No Windows headers.
#pragma once

// Parses a whole decimal number from low to high (leading blanks and a sign allowed, as strtol
// reads them); false for anything else.
bool ParseBoundedInt(const char* text, int low, int high, int* value);

// Parses "<W>x<H>" with both sides from 1 to kMaxSurfaceSide; false otherwise.
bool ParseViewSize(const char* text, int* width, int* height);

// Parses "<A>" or "<A>-<B>" with 1 <= A <= B <= kMaxFrames; a single A gives B = A.
constexpr int kMaxFrames = 100000000;
bool ParseFrames(const char* text, int* first, int* last);

// Largest half edge the trace and render commands take.
constexpr int kMaxHalfEdge = 100000;
