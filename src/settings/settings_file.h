// The settings file: six picture names, then the size and the speed; the globals it fills, the rule
// that chooses a picture's reader by its name, and reading and writing the file. The pictures are
// loaded through the readers the caller gives; the last steps of a safe rewrite are file_replace.h's.
#pragma once

#include "picture/packed_dib.h"
#include "render/picture_levels.h"
#include "settings/text_file.h"

constexpr int kFaceCount = 6;
constexpr int kFaceNameSize = 260;  // at most 259 characters and the terminator

// Filled by LoadSettings, read by the renderer, the setup dialog and start-up; all zero until then.
extern char FaceFiles[kFaceCount][kFaceNameSize];  // picture path of each face; entry n-1 is line n
// The loaded pictures as the readers returned them, until the renderer's levels (FaceLevels) replace
// them: null for one larger than any face can show, and for all once the role fixes the half edge.
extern PackedDib* FacePictures[kFaceCount];
extern int SizeSetting;                              // 0 (small) to 100 (large)
extern int SpeedSetting;                             // 0 (slow) to 100 (fast)
extern int CubeHalfEdge;                             // pixels, derived from SizeSetting
extern int FrameInterval;                            // milliseconds, derived from SpeedSetting

// The file the saver reads and the setup dialog writes: "c:\windows\whirlbox.ini". Only tests point
// it elsewhere.
extern const char* SettingsPath;

enum FaceFormat { kFaceBmp, kFaceGif, kFaceJpeg, kFaceNoFormat };

// The reader that the text from the name's last '.' chooses, ignoring the case of ASCII letters:
// ".bmp", ".gif" or ".jpg"; kFaceNoFormat for anything else or no '.'.
FaceFormat FaceFormatOf(const char* name);

// What is wrong with a name line, each the fatal error it ends with: 555 (nothing read), 559 (under 4
// characters), 561 (no '.') or 569 (another ending).
enum NameFault { kNameGood, kNameUnread, kNameShort, kNameNoDot, kNameOtherEnding };

// Reads the next name line of the settings file into name (kFaceNameSize characters) as fgets with
// a count of 260 does, cuts it at the line feed and returns the reader it names. On a fault returns
// kFaceNoFormat and sets *fault; the caller reports it (AbortBadName) once the earlier faces are
// known to have loaded.
FaceFormat ReadFaceName(TextFile* text, char* name, NameFault* fault);

// Ends the process with the fatal error of fault for name line line (1 to 6) holding name.
[[noreturn]] void AbortBadName(NameFault fault, int line, const char* name);

// The picture readers, one per name ending; each returns a new picture or null.
struct PictureReaders {
  PackedDib* (*bmp)(const char* path);
  PackedDib* (*gif)(const char* path);
  PackedDib* (*jpeg)(const char* path);
  // A JPEG's picture and levels at once (LoadJpegLevels); null: jpeg, then MakeLoadedLevels.
  bool (*jpegLevels)(const char* path, PackedDib** picture, PictureLevels* levels);
};

// LoadBmp, LoadGif, LoadJpeg and LoadJpegLevels.
extern const PictureReaders kPictureReaders;

// The picture of name read by the reader its format (not kFaceNoFormat) chooses; null when the
// reader fails. The caller owns the picture.
PackedDib* ReadFacePicture(const PictureReaders& readers, FaceFormat format, const char* name);

// The face picture of name and its levels, as the loading threads make them: false when the reader
// fails. *picture is null when only the levels are kept (MakeLoadedLevels, LoadJpegLevels).
bool LoadFacePicture(const PictureReaders& readers, FaceFormat format, const char* name, PackedDib** picture,
                     PictureLevels* levels);

// Reads the settings file at path, loads the six pictures through readers into FacePictures (and
// their levels into FaceLevels) and
// sets FaceFiles, SizeSetting, SpeedSetting, CubeHalfEdge and FrameInterval. Every problem ends
// the process through Abort (551, 555, 559, 561, 569, 571); a missing size or speed stays 50.
void LoadSettingsFrom(const char* path, const PictureReaders& readers);

// LoadSettingsFrom(SettingsPath, kPictureReaders): what start-up calls once.
void LoadSettings();

// Writes FaceFiles, SizeSetting and SpeedSetting to path in text mode, beside the file first and
// in its place only once the whole write succeeded. Where the system refuses the new file or the
// move, path is rewritten in place. On failure the process ends through Abort 336; the old file
// stays unless the rewrite in place was under way.
void SaveSettingsTo(const char* path);

// SaveSettingsTo(SettingsPath): what the setup dialog's OK calls.
void SaveSettings();
