// Runs the built whirlbox-tool (path given by the build) and collects what it prints.
#pragma once
#include <string>

struct ToolRun {
  std::string output;  // standard output only
  int exitCode;        // -1 when the tool did not exit normally
};

ToolRun RunTool(const std::string& arguments);
