// Reading and writing the settings file: six picture names, then the size and the speed. Portable:
// no Windows headers; the pictures are loaded through the readers the caller gives.
#pragma once
#include "picture/packed_dib.h"

// The file the saver reads and the setup dialog writes: "c:\windows\whirlbox.ini". Only tests point
// it elsewhere.
extern const char* SettingsPath;

// The picture readers, one per name ending; each returns a new picture or null.
struct PictureReaders {
  PackedDib* (*bmp)(const char* path);
  PackedDib* (*gif)(const char* path);
  PackedDib* (*jpeg)(const char* path);
};

// LoadBmp, LoadGif and LoadJpeg (settings/load_settings.cpp).
extern const PictureReaders kPictureReaders;

// Reads the settings file at path, loads the six pictures through readers into FacePictures and
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
