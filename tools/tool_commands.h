// The subcommands of whirlbox-tool. Each takes the arguments after its name and returns the exit
// code: 0 done, 1 refused or fatal, 2 usage.
#pragma once

struct ToolCommand {
  const char* name;
  const char* usage;
  int (*run)(int argc, char** argv);
};

int RunTrace(int argc, char** argv);   // tool_trace.cpp
