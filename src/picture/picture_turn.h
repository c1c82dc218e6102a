// Where a stored picture's pixels go in the upright one for each Exif orientation (2 mirrors left-right, 3 turns
// 180 degrees, 4 mirrors top-bottom, 5 transposes, 6 turns 90 degrees clockwise, 7 transverses, 8 turns 90 degrees
// anticlockwise), written straight into bottom-up packed DIB rows. Plain memory work; never libjpeg.
#pragma once
#include <cstddef>
#include <cstdint>

// Scanlines a turn by a quarter (5-8) gathers before writing them as columns: 64 colour rows are
// 192 bytes, three cache lines, of every upright row at a time, and the fewer the bands, the fewer
// times each upright row's lines are fetched. A 6028-pixel colour band takes 1.2 MB.
constexpr uint32_t kTurnBandRows = 64;

// Whether the upright picture's width and height are the stored height and width (5-8).
inline bool TurnSwapsSides(int orientation) { return orientation >= 5 && orientation <= 8; }

// For orientations 1-4, which keep every scanline a row: the pixel area's row (0 the first, the
// bottom) that scanline y (0 the top) of a picture of height rows goes to, and whether its pixels
// are mirrored.
inline size_t TurnedRowIndex(int orientation, uint32_t y, uint32_t height) {
  return orientation == 3 || orientation == 4 ? y : height - 1 - y;
}
inline bool TurnMirrorsRows(int orientation) { return orientation == 2 || orientation == 3; }

// For orientations 5-8: writes count (at most kTurnBandRows) stored scanlines, band[0] being
// scanline first of a width x height picture with bytesPerPixel 1 (grey) or 3 (RGB, which become
// BGR), into their columns of the upright height x width picture whose bottom row starts at bits.
void WriteBandTurned(int orientation, const uint8_t* const* band, uint32_t first, uint32_t count, uint32_t width,
                     uint32_t height, int bytesPerPixel, uint8_t* bits, size_t stride);
