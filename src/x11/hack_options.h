// The X11 hack's command line and the rules it implies: where it draws, which settings file it
// reads, the overrides of faces, size and speed, and the preview rule for a small host window.
// Pure functions, no X headers, so the tests run them without a display.
#pragma once
#include <cstddef>

#include "settings/settings_file.h"

enum HackTarget {
  kTargetOwnWindow,  // a top-level window of its own (-window, and the default)
  kTargetRoot,       // the root window (-root)
  kTargetWindowId,   // a window made by someone else (-window-id, XSCREENSAVER_WINDOW)
};

struct HackOptions {
  HackTarget target;
  unsigned long windowId;          // kTargetWindowId only
  const char* settings;            // --settings FILE; null: the default file
  const char* faces[kFaceCount];   // --face1 ... --face6; null: the settings' picture
  int size;                        // --size 0-100; -1: the settings' size
  int speed;                       // --speed 0-100; -1: the settings' speed
  bool help;                       // -h / --help: print the usage and end
};

extern const char kHackUsage[];

// Reads argv (argv[0] is the program) with envWindow, the value of XSCREENSAVER_WINDOW (null when
// unset). Each option is taken with one or two leading dashes. An explicit -window-id wins; else
// XSCREENSAVER_WINDOW names the window, also with -root, since the daemon's window stands for the
// root; -window alone keeps a window of its own. Returns false and points *problem at a short
// reason for an unknown option, a missing or bad value, or a bad XSCREENSAVER_WINDOW.
bool ParseHackOptions(int argc, const char* const* argv, const char* envWindow, HackOptions* options,
                      const char** problem);

// A window id as XScreenSaver ("0x2a00007") or xsecurelock ("44040199") writes it: 0x or 0X and hex
// digits, or decimal digits, nothing else, from 1 to 0xFFFFFFFF. False otherwise.
bool ParseWindowId(const char* text, unsigned long* id);

// The settings file read when --settings is not given: $XDG_CONFIG_HOME/whirlbox/whirlbox.ini when
// that variable holds an absolute path, else $HOME/.config/whirlbox/whirlbox.ini. False when neither
// applies or the path does not fit in size characters.
bool DefaultSettingsPath(const char* xdgConfigHome, const char* home, char* path, size_t size);

// The cube's half edge and the frame interval for a view. A window given by id that is narrower
// than 320 or lower than 240 pixels is a settings GUI's preview: the preview's rules, as on Windows.
struct ViewRules {
  int halfEdge;
  int interval;  // ms
};
constexpr int kPreviewMaxWidth = 320;
constexpr int kPreviewMaxHeight = 240;
ViewRules RulesForView(HackTarget target, int width, int height, int halfEdge, int interval);

// The installed samples' folder for the program at exe: <prefix>/share/whirlbox/samples when exe
// is <prefix>/libexec/xscreensaver/whirlbox, so a package installed under any prefix finds its own.
// False for a program elsewhere (a build tree) or a path that does not fit in size characters.
bool SamplesDirBeside(const char* exe, char* dir, size_t size);
