// Turns one row of libjpeg's red-green-blue samples into the blue-green-red pixels of a 24-bit DIB.
// Pure byte work: no libjpeg, no Windows headers.
#pragma once
#include <cstdint>

// Writes pixels * 3 bytes to dest: every pixel's first and third byte exchanged. dest and source
// must not overlap; bytes of dest beyond pixels * 3 are left alone. Uses the processor's byte
// shuffle where it has one (x86 SSSE3), otherwise CopyRgbAsBgrPlain.
void CopyRgbAsBgr(uint8_t* dest, const uint8_t* source, uint32_t pixels);

// The same, one pixel at a time, on every processor.
void CopyRgbAsBgrPlain(uint8_t* dest, const uint8_t* source, uint32_t pixels);
