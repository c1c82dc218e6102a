// whirlbox-tool: runs the saver's own portable code from the command line.
#include <cstdio>
#include <cstring>

#include "tool_commands.h"

static const ToolCommand kCommands[] = {
    {"picture", kPictureUsage, RunPicture},
    {"settings", kSettingsUsage, RunSettings},
    {"help", "whirlbox-tool help", nullptr},
    {"trace", "whirlbox-tool trace --view <W>x<H> --half-edge <E> [--frames <N>]", RunTrace},
    {"render",
     "whirlbox-tool render --view <W>x<H> [--half-edge <E> | --preview] --frames <A>[-<B>] --out <DIR> (FACE1 ... FACE6 | --settings FILE)",
     RunRender},
};

static int Usage() {
  std::fprintf(stderr, "usage:\n");
  for (const ToolCommand& command : kCommands) std::fprintf(stderr, "  %s\n", command.usage);
  return 2;
}

int main(int argc, char** argv) {
  if (argc < 2) return Usage();
  for (const ToolCommand& command : kCommands) {
    if (std::strcmp(argv[1], command.name) == 0 && command.run != nullptr) {
      return command.run(argc - 2, argv + 2);
    }
  }
  return Usage();
}
