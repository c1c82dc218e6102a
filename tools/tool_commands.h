// The subcommands of whirlbox-tool. Each takes the arguments after its name and returns the exit
// code: 0 done, 1 refused or fatal, 2 usage.
#pragma once

struct ToolCommand {
  const char* name;
  const char* usage;
  int (*run)(int argc, char** argv);
};

// whirlbox-tool picture FILE [--dib OUT] [--frame N] (tool_picture.cpp).
extern const char kPictureUsage[];
int RunPicture(int argc, char** argv);

// whirlbox-tool settings FILE (tool_settings.cpp).
extern const char kSettingsUsage[];
int RunSettings(int argc, char** argv);

// whirlbox-tool trace ... (tool_trace.cpp).
extern const char kTraceUsage[];
int RunTrace(int argc, char** argv);

// whirlbox-tool render ... (tool_render.cpp).
extern const char kRenderUsage[];
int RunRender(int argc, char** argv);
