// Reads a text file the way the Windows runtime's text mode does, on every platform, so the native
// tool and the saver see the same characters (CR LF is one line feed, a lone CR stays a character,
// and Ctrl-Z ends the file), and scans its numbers as "%i" does. Portable: stdio only.
#pragma once
#include <cstdio>

struct TextFile {
  std::FILE* file;
  const char* string;  // read instead of file, as it is (no translation), when not null
  int aheadByte;  // raw byte read after a CR that was not a line feed, or -1
  int peeked;     // translated character already taken from the file, or -1
  bool ended;     // Ctrl-Z or the end of the file has been reached
  bool failed;    // a read error happened
};

// Opens path in binary mode and does the text translation here. False if it cannot be opened or
// is a folder.
bool OpenTextFile(TextFile* text, const char* path);
void CloseTextFile(TextFile* text);

// A NUL-terminated string read as it is, without the text-mode translation: a command-line argument
// scanned by the same number rules as the settings file. Needs no closing.
TextFile TextOfString(const char* string);

// The next character (0 to 255) after translation, or EOF at the end, at Ctrl-Z or on a read error.
int TextGet(TextFile* text);

// The character TextGet would return next, without taking it.
int TextPeek(TextFile* text);

// Reads as fgets(line, count, file) does in text mode: up to count - 1 characters, stopping after a
// line feed, then a terminator. False, with line indeterminate, when nothing could be read or a
// read error happened. count is at least 2.
bool ReadTextLine(TextFile* text, char* line, int count);

// Skips white space, then reads the longest prefix of an optionally signed decimal, octal (leading
// 0) or hexadecimal (0x or 0X) number and stores it in *value. Returns false, leaving *value alone,
// when the characters read do not form a number ("", "-", "0x", letters); as with scanf, those
// characters are consumed. Values beyond the int range give INT_MIN or INT_MAX.
bool ScanInt(TextFile* text, int* value);

// The same with decimal digits only, as strtol with base 10 reads them ("010" is 10, "0x1" stops
// after the 0).
bool ScanDecimalInt(TextFile* text, int* value);
