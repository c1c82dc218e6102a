// Reading and judging one picture name line of the settings file. Portable: no Windows headers,
// no picture readers (the caller chooses the reader from the result).
#pragma once
#include "settings/text_file.h"
#include "shell/fatal_codes.h"

enum FaceFormat { kFaceBmp, kFaceGif, kFaceJpeg, kFaceNoFormat };

// The reader that the text from the name's last '.' chooses, ignoring the case of ASCII letters:
// ".bmp", ".gif" or ".jpg"; kFaceNoFormat for anything else or no '.'.
FaceFormat FaceFormatOf(const char* name);

// Reads the next name line of the settings file into name (kFaceNameSize characters) as fgets with
// a count of 260 does, cuts it at the line feed and returns the reader it names. On a fault returns
// kFaceNoFormat and sets *fault to the fatal error the line ends with: 555 (nothing read), 559
// (under 4 characters), 561 (no '.') or 569 (other ending), whose message takes the line number
// and the name, in that order. The caller reports it once the earlier faces are known to have
// loaded.
FaceFormat ReadFaceName(TextFile* text, char* name, const FatalCall** fault);
