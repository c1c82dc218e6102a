// whirlbox: the cube as an XScreenSaver hack. Reads the command line, opens the window, loads the
// pictures and runs the frames; the portable core draws, the X11 layer copies. Holds no state.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "x11/hack_options.h"
#include "x11/hack_settings.h"
#include "x11/x11_loop.h"
#include "x11/x11_window.h"

// The samples beside the installed program, wherever the package put it.
static void FindSamples() {
  static char exe[4096], dir[4096];
  ssize_t length = readlink("/proc/self/exe", exe, sizeof exe - 1);
  if (length <= 0) return;
  exe[length] = '\0';
  if (SamplesDirBeside(exe, dir, sizeof dir)) HackSamplesDir = dir;
}

int main(int argc, char** argv) {
  HackOptions options;
  const char* problem = nullptr;
  if (!ParseHackOptions(argc, argv, std::getenv("XSCREENSAVER_WINDOW"), &options, &problem)) {
    std::fprintf(stderr, "whirlbox: %s\n%s", problem, kHackUsage);
    return 2;
  }
  if (options.help) {
    std::fputs(kHackUsage, stdout);
    return 0;
  }
  if (!InstallEndSignals() || !OpenHackWindow(options)) return 1;
  // The window comes first, so that a fatal error in the settings or a picture is drawn in it.
  FindSamples();
  LoadHackSettings(options);
  RunHack();
}
