// whirlbox-tool trace, run as a program: the first frame at 1024 x 768 with half edge 122, line by
// line, and its refusal of bad options.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/tool_run.h"


TEST(ToolTrace, FirstFramePrintsTheWorkedGeometry) {
  const std::string worked =
      "frame 1 angles 11 13 17 centre 19 23 velocity 19 23\n"
      "points 125,153 195,-73 -32,-153 -102,73 70,199 140,-27 -87,-107 -157,119\n"
      "face 0 w 241 hh 237\n"
      "face 3 w 237 hh 72\n"
      "face 4 w 241 hh 72\n"
      "dirty -158 -154 196 200 copy -158 -154 1024 768\n";
  ToolRun run = RunTool({"trace", "--view", "1024x768", "--half-edge", "122"});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.out, worked);
  // Numbers are decimal even with a leading 0, and may have leading blanks and a sign.
  run = RunTool({"trace", "--view", "01024x0768", "--half-edge", " +0122"});
  EXPECT_EQ(run.out, worked);
}

TEST(ToolTrace, FramesOptionRunsThatManySteps) {
  ToolRun run = RunTool({"trace", "--view", "1024x768", "--half-edge", "122", "--frames", "45"});
  EXPECT_EQ(run.exitCode, 0);
  size_t last = run.out.rfind("frame ");
  ASSERT_NE(last, std::string::npos);
  EXPECT_EQ(run.out.substr(last, run.out.find('\n', last) - last),
            "frame 45 angles 135 225 45 centre 817 253 velocity -19 23");
}

TEST(ToolTrace, BadOptionsAreUsageErrors) {
  const std::vector<std::vector<std::string>> cases = {
      {"trace"},
      {"trace", "--view", "1024", "--half-edge", "122"},
      {"trace", "--view", "1024x768"},
      {"trace", "--view", "1024x768", "--half-edge", "122", "--frames", "0"},
      {"trace", "--view", "0x5", "--half-edge", "3"},
      {"trace", "--view", "10x10", "--half-edge", "3", "--colour", "red"}};
  for (const std::vector<std::string>& args : cases) {
    ToolRun run = RunTool(args);
    EXPECT_EQ(run.exitCode, 2) << args.size() << " arguments";
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err, "");
  }
}
