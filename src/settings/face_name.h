// Reading and judging one picture name line of the settings file. Portable: no Windows headers,
// no picture readers (the caller chooses the reader from the result).
#pragma once
#include "settings/text_file.h"

enum FaceFormat { kFaceBmp, kFaceGif, kFaceJpeg, kFaceNoFormat };

// The reader that the text from the name's last '.' chooses, ignoring the case of ASCII letters:
// ".bmp", ".gif" or ".jpg"; kFaceNoFormat for anything else or no '.'.
FaceFormat FaceFormatOf(const char* name);

// Reads line (1 to 6) of the settings file into name (kFaceNameSize characters) as fgets with a
// count of 260 does, cuts it at the line feed and returns the reader it names. Ends the process
// through Abort 555 (nothing read), 559 (under 4 characters), 561 (no '.') or 569 (other ending).
FaceFormat ReadFaceName(TextFile* text, int line, char* name);
