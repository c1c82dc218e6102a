// Running whirlbox-tool from the tests: a shell command through popen, standard error kept in a file.
#include "tools/tool_run.h"

#include <sys/wait.h>

#include <cstdio>

#include "common/test_files.h"

ToolRun RunTool(const std::vector<std::string>& args, const std::string& folder) {
  std::string errPath = TempPath("tool_stderr.txt");
  std::string command = folder.empty() ? "" : "cd '" + folder + "' && ";
  command += "'" WHIRLBOX_TOOL "'";
  for (const std::string& arg : args) command += " '" + arg + "'";
  command += " 2>'" + errPath + "'";
  ToolRun run{-1, "", ""};
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return run;
  char buffer[256];
  size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) run.out.append(buffer, got);
  int status = pclose(pipe);
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  Bytes err = ReadBytes(errPath);
  run.err.assign(err.begin(), err.end());
  return run;
}
