// The "%i" conversion of the C standard, done by hand so that every build reads the size and speed
// alike (the runtimes differ in corners such as "0x" without a digit). Portable: no Windows headers.
#pragma once
#include "settings/text_file.h"

// Skips white space, then reads the longest prefix of an optionally signed decimal, octal (leading
// 0) or hexadecimal (0x or 0X) number and stores it in *value. Returns false, leaving *value alone,
// when the characters read do not form a number ("", "-", "0x", letters); as with scanf, those
// characters are consumed. Values beyond the int range give INT_MIN or INT_MAX.
bool ScanInt(TextFile* text, int* value);

// The same with decimal digits only, as strtol with base 10 reads them ("010" is 10, "0x1" stops
// after the 0).
bool ScanDecimalInt(TextFile* text, int* value);
