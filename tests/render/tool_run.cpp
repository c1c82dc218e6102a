// RunTool: popen of the built whirlbox-tool with its standard error discarded.
#include "tool_run.h"

#include <sys/wait.h>

#include <cstdio>

ToolRun RunTool(const std::string& arguments) {
  std::string command = std::string(WHIRLBOX_TOOL) + " " + arguments + " 2>/dev/null";
  ToolRun run{"", -1};
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return run;
  char buffer[4096];
  size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) run.output.append(buffer, got);
  int status = pclose(pipe);
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}
