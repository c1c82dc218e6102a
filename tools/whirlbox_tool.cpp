// whirlbox-tool: runs the saver's own portable code from the command line.
#include <cstdio>
#include <cstring>

#include "tool_commands.h"

static const ToolCommand kCommands[] = {
    {"picture", kPictureUsage, RunPicture},
    {"settings", kSettingsUsage, RunSettings},
    {"help", "whirlbox-tool help", nullptr},
    {"trace", kTraceUsage, RunTrace},
    {"render", kRenderUsage, RunRender},
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
