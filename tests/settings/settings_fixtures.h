// Settings files for tests, and picture readers that only record what they were asked to load.
#pragma once
#include <string>
#include <vector>

#include "picture/packed_dib.h"
#include "settings/settings_file.h"

// Six lines "face<n>.bmp" ended by line end, then rest.
std::string SixNames(const std::string& lineEnd = "\n");

// Writes text to a fresh file in the test folder and returns its path.
std::string WriteSettingsFile(const std::string& name, const std::string& text);

// The paths the fake readers were given since the last ClearReaderCalls, each prefixed with the
// reader's name ("bmp:", "gif:", "jpg:"), in the order the loader's threads called them. A path
// containing "broken" gives null.
extern std::vector<std::string> ReaderCalls;
void ClearReaderCalls();
extern const PictureReaders kFakeReaders;
