// Runs the built whirlbox-tool (WHIRLBOX_TOOL) as a program and collects what it prints. Test code
// only; popen, so POSIX or Windows.
#pragma once
#include <string>
#include <vector>

struct ToolRun {
  int exitCode;
  std::string out;  // standard output
  std::string err;  // standard error
};

// Runs the tool with args (each quoted for the shell), inside folder when one is given, so that
// relative names resolve there.
ToolRun RunTool(const std::vector<std::string>& args, const std::string& folder = "");
