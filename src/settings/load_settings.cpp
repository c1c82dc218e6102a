// LoadSettings: the saver's settings file read with the real picture readers. Portable; kept apart
// so that code using only LoadSettingsFrom does not need the readers linked in.
#include "picture/readers.h"
#include "settings/settings_file.h"

const PictureReaders kPictureReaders = {LoadBmp, LoadGif, LoadJpeg};

void LoadSettings() { LoadSettingsFrom(SettingsPath, kPictureReaders); }
