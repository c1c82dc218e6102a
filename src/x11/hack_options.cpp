// The X11 hack's command line, the default settings path and the preview rule. Pure functions: no
// X headers, no globals, no file access.
#include "x11/hack_options.h"

#include <cstdio>
#include <cstring>

#include "shell/saver_rules.h"

const char kHackUsage[] =
    "usage: whirlbox [-root | -window | -window-id ID] [--settings FILE] [--face1 PATH ... --face6 PATH]\n"
    "                [--size 0-100] [--speed 0-100]\n"
    "Without -window-id, XSCREENSAVER_WINDOW names the window to draw in; without it either, -root draws\n"
    "on the root window and -window (the default) opens a window of its own.\n";

namespace {

// Digits only, the value from 0 to 100.
bool ParseSetting(const char* text, int* value) {
  if (text == nullptr || *text == '\0') return false;
  int result = 0;
  for (const char* c = text; *c != '\0'; ++c) {
    if (*c < '0' || *c > '9') return false;
    result = result * 10 + (*c - '0');
    if (result > 100) return false;
  }
  *value = result;
  return true;
}

// The option's name without its one or two leading dashes; null for a word that is no option.
const char* OptionName(const char* arg) {
  if (arg[0] != '-') return nullptr;
  return arg[1] == '-' ? arg + 2 : arg + 1;
}

// The face number of "face1" ... "face6", or 0.
int FaceOption(const char* name) {
  if (std::strncmp(name, "face", 4) != 0 || name[4] < '1' || name[4] > '0' + kFaceCount || name[5] != '\0') return 0;
  return name[4] - '0';
}

// Sets options->target (and the id from envWindow); returns the problem, or null.
const char* ChooseTarget(bool root, bool ownWindow, bool idGiven, const char* envWindow, HackOptions* options) {
  // -root with -window-id: the id wins, as the daemon's window does.
  if (ownWindow && (root || idGiven)) return "choose one of -root, -window and -window-id";
  if (idGiven) {
    options->target = kTargetWindowId;
  } else if (envWindow != nullptr && *envWindow != '\0' && !ownWindow) {
    if (!ParseWindowId(envWindow, &options->windowId)) return "XSCREENSAVER_WINDOW holds no window id";
    options->target = kTargetWindowId;
  } else {
    options->target = root ? kTargetRoot : kTargetOwnWindow;
  }
  return nullptr;
}

}  // namespace

bool ParseWindowId(const char* text, unsigned long* id) {
  if (text == nullptr) return false;
  bool hex = text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
  const char* digits = hex ? text + 2 : text;
  if (*digits == '\0') return false;
  unsigned long long value = 0;
  for (const char* c = digits; *c != '\0'; ++c) {
    int digit;
    if (*c >= '0' && *c <= '9') {
      digit = *c - '0';
    } else if (hex && *c >= 'a' && *c <= 'f') {
      digit = *c - 'a' + 10;
    } else if (hex && *c >= 'A' && *c <= 'F') {
      digit = *c - 'A' + 10;
    } else {
      return false;
    }
    value = value * (hex ? 16 : 10) + static_cast<unsigned>(digit);
    if (value > 0xFFFFFFFFull) return false;  // X ids are 32-bit; this also stops any overflow
  }
  if (value == 0) return false;
  *id = static_cast<unsigned long>(value);
  return true;
}

bool ParseHackOptions(int argc, const char* const* argv, const char* envWindow, HackOptions* options,
                      const char** problem) {
  *options = HackOptions{kTargetOwnWindow, 0, nullptr, {}, -1, -1, false};
  bool root = false, ownWindow = false, idGiven = false;
  for (int i = 1; i < argc; ++i) {
    const char* name = OptionName(argv[i]);
    const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
    int face = name != nullptr ? FaceOption(name) : 0;
    bool ok = true;
    if (name == nullptr) {
      *problem = "unexpected argument";
      return false;
    } else if (std::strcmp(name, "root") == 0) {
      root = true;
      continue;
    } else if (std::strcmp(name, "window") == 0) {
      ownWindow = true;
      continue;
    } else if (std::strcmp(name, "h") == 0 || std::strcmp(name, "help") == 0) {
      options->help = true;
      continue;
    } else if (std::strcmp(name, "window-id") == 0) {
      ok = ParseWindowId(value, &options->windowId);
      idGiven = true;
      *problem = "-window-id needs a window id (0x... or decimal)";
    } else if (std::strcmp(name, "settings") == 0) {
      ok = value != nullptr && *value != '\0';
      options->settings = value;
      *problem = "--settings needs a file";
    } else if (face != 0) {
      // The reader is chosen by the name, as in a settings file: a wrong one is refused here.
      ok = value != nullptr && FaceFormatOf(value) != kFaceNoFormat;
      options->faces[face - 1] = value;
      *problem = "--face<N> needs a picture file ending in .bmp, .gif or .jpg";
    } else if (std::strcmp(name, "size") == 0) {
      ok = ParseSetting(value, &options->size);
      *problem = "--size needs a number from 0 to 100";
    } else if (std::strcmp(name, "speed") == 0) {
      ok = ParseSetting(value, &options->speed);
      *problem = "--speed needs a number from 0 to 100";
    } else {
      *problem = "unknown option";
      return false;
    }
    if (!ok) return false;
    ++i;
  }
  *problem = ChooseTarget(root, ownWindow, idGiven, envWindow, options);
  return *problem == nullptr;
}

bool DefaultSettingsPath(const char* xdgConfigHome, const char* home, char* path, size_t size) {
  int length;
  // A relative XDG_CONFIG_HOME is invalid by the base-directory rules and is ignored.
  if (xdgConfigHome != nullptr && xdgConfigHome[0] == '/') {
    length = std::snprintf(path, size, "%s/whirlbox/whirlbox.ini", xdgConfigHome);
  } else if (home != nullptr && home[0] != '\0') {
    length = std::snprintf(path, size, "%s/.config/whirlbox/whirlbox.ini", home);
  } else {
    return false;
  }
  return length >= 0 && static_cast<size_t>(length) < size;
}

ViewRules RulesForView(HackTarget target, int width, int height, int halfEdge, int interval) {
  if (target == kTargetWindowId && (width < kPreviewMaxWidth || height < kPreviewMaxHeight)) {
    return ViewRules{PreviewHalfEdge(height), kPreviewInterval};
  }
  return ViewRules{halfEdge, interval};
}

bool SamplesDirBeside(const char* exe, char* dir, size_t size) {
  static const char kInstalled[] = "/libexec/xscreensaver/whirlbox";
  size_t length = std::strlen(exe), tail = sizeof kInstalled - 1;
  if (length < tail || std::strcmp(exe + length - tail, kInstalled) != 0) return false;
  int written = std::snprintf(dir, size, "%.*s/share/whirlbox/samples", static_cast<int>(length - tail), exe);
  return written >= 0 && static_cast<size_t>(written) < size;
}
