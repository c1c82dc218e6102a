// whirlbox-tool settings FILE: reads a settings file by the saver's own rules, loading the six
// pictures (names relative to the current folder as given), and prints what the saver derives, or
// the fatal error it would end with (the native Abort prints "fatal <code>" and the message and
// exits with 1). Native only.
#include <cstdio>

#include "settings/settings_file.h"
#include "tool_commands.h"

const char kSettingsUsage[] = "whirlbox-tool settings FILE";

int RunSettings(int argc, char** argv) {
  if (argc != 1) {
    std::fprintf(stderr, "usage: %s\n", kSettingsUsage);
    return 2;
  }
  LoadSettingsFrom(argv[0], kPictureReaders);
  std::printf("size %i speed %i half-edge %i interval %i\n", SizeSetting, SpeedSetting, CubeHalfEdge, FrameInterval);
  for (int i = 0; i < kFaceCount; ++i) std::printf("face %i: %s\n", i + 1, FaceFiles[i]);
  return 0;
}
