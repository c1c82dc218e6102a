// The row copies of the JPEG reader: libjpeg's RGB samples into a DIB's BGR pixels, and a row's
// bytes reversed for the mirroring orientations. Plain memory work on the processor's byte shuffle
// where it has one; never libjpeg.
#pragma once
#include <cstddef>
#include <cstdint>

// Defined where the copies can use the x86 byte shuffle (SSSE3), if the processor has it.
#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
#define WHIRLBOX_SHUFFLE_ROWS 1
// Whether the processor has it; asked once.
bool HasByteShuffle();
#endif

// Writes pixels * 3 bytes to dest: every pixel's first and third byte exchanged (libjpeg's red,
// green, blue become a DIB's blue, green, red). dest and source must not overlap; bytes of dest
// beyond pixels * 3 are left alone. Uses the processor's byte shuffle where it has one (x86
// SSSE3), otherwise CopyRgbAsBgrPlain.
void CopyRgbAsBgr(uint8_t* dest, const uint8_t* source, uint32_t pixels);

// The same, one pixel at a time, on every processor.
void CopyRgbAsBgrPlain(uint8_t* dest, const uint8_t* source, uint32_t pixels);

// Writes bytes bytes to dest in the reverse order of source's: a grey row mirrored, or an RGB row
// mirrored and made BGR at once, since reversing a pixel's three bytes exchanges red and blue.
// dest and source must not overlap. Uses the byte shuffle like CopyRgbAsBgr.
void CopyReversed(uint8_t* dest, const uint8_t* source, size_t bytes);

// The same, one byte at a time, on every processor.
void CopyReversedPlain(uint8_t* dest, const uint8_t* source, size_t bytes);
