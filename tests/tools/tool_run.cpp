// Running whirlbox-tool from the tests: a shell command through popen (cmd.exe under Windows), standard
// error kept in a file. The output's line ends must be the platform's: LF, or CR LF under Windows.
#include "tools/tool_run.h"

#include <gtest/gtest.h>

#include <cstdio>
#ifndef _WIN32
#include <sys/wait.h>
#endif

#include "common/test_files.h"

#ifdef _WIN32
// A Unix path from the build (the tool's) names the same file on Wine's drive Z:.
static std::string WindowsPath(std::string path) {
  if (!path.empty() && path[0] == '/') path = "Z:" + path;
  for (char& c : path) c = c == '/' ? '\\' : c;
  return path;
}

static std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

static FILE* OpenCommand(const std::string& command) { return _popen(command.c_str(), "rb"); }
static int ExitCodeOf(int status) { return status; }
#else
static std::string Quoted(const std::string& text) { return "'" + text + "'"; }
static FILE* OpenCommand(const std::string& command) { return popen(command.c_str(), "r"); }
static int ExitCodeOf(int status) { return WIFEXITED(status) ? WEXITSTATUS(status) : -1; }
#endif

// Text as the tests compare it, with LF line ends; a line end that is not the platform's is a failure.
static std::string PlainLines(const std::string& text, const char* what) {
#ifdef _WIN32
  std::string plain;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) ADD_FAILURE() << what << " has a bare LF: " << text;
    plain += text[i];
  }
  return plain;
#else
  if (text.find('\r') != std::string::npos) ADD_FAILURE() << what << " has a CR: " << text;
  return text;
#endif
}

ToolRun RunTool(const std::vector<std::string>& args, const std::string& folder) {
  std::string errPath = TempPath("tool_stderr.txt");
#ifdef _WIN32
  std::string command = folder.empty() ? "" : "cd /d " + Quoted(folder) + " && ";
  command += Quoted(WindowsPath(WHIRLBOX_TOOL));
#else
  std::string command = folder.empty() ? "" : "cd " + Quoted(folder) + " && ";
  command += Quoted(WHIRLBOX_TOOL);
#endif
  for (const std::string& arg : args) command += " " + Quoted(arg);
  command += " 2>" + Quoted(errPath);
#ifdef _WIN32
  command = Quoted(command);  // cmd /c drops the first and the last quote of a line that starts with one
#endif
  ToolRun run{-1, "", ""};
  FILE* pipe = OpenCommand(command);
  if (pipe == nullptr) return run;
  char buffer[256];
  size_t got;
  std::string out;
  while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, got);
#ifdef _WIN32
  int status = _pclose(pipe);
#else
  int status = pclose(pipe);
#endif
  run.exitCode = ExitCodeOf(status);
  run.out = PlainLines(out, "standard output");
  Bytes err = ReadBytes(errPath);
  run.err = PlainLines(std::string(err.begin(), err.end()), "standard error");
  return run;
}
