// The X11 hack's command line, default settings path, samples' folder and preview rule.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "x11/hack_options.h"

namespace {

struct Parsed {
  bool ok;
  HackOptions options;
};

Parsed Parse(std::vector<const char*> args, const char* env = nullptr) {
  args.insert(args.begin(), "whirlbox");
  Parsed parsed;
  const char* problem = nullptr;
  parsed.ok = ParseHackOptions(static_cast<int>(args.size()), args.data(), env, &parsed.options, &problem);
  EXPECT_EQ(parsed.ok, problem == nullptr) << "a refusal names its reason, a success none";
  return parsed;
}

std::string Show(const std::vector<const char*>& args, const char* env) {
  std::string text = env != nullptr ? std::string("XSCREENSAVER_WINDOW=") + env : "";
  for (const char* arg : args) text += std::string(" ") + arg;
  return text;
}

}  // namespace

TEST(HackOptions, TheWindowComesFromTheOptionsThenTheEnvironment) {
  struct Case {
    std::vector<const char*> args;
    const char* env;
    HackTarget target;
    unsigned long id;
  };
  const Case cases[] = {
      {{}, nullptr, kTargetOwnWindow, 0},
      {{"-window"}, nullptr, kTargetOwnWindow, 0},
      {{"--window"}, "0x2a", kTargetOwnWindow, 0},  // an explicit own window wins over the daemon's
      {{"-root"}, nullptr, kTargetRoot, 0},
      {{"--root"}, "", kTargetRoot, 0},               // an empty variable names nothing
      {{"-root"}, "0x2a00007", kTargetWindowId, 0x2a00007},  // the daemon's window stands for the root
      {{}, "44040199", kTargetWindowId, 44040199},    // xsecurelock writes decimal
      {{"-window-id", "0X1F"}, nullptr, kTargetWindowId, 0x1f},
      {{"--window-id", "123"}, "0x2a", kTargetWindowId, 123},  // the option wins over the variable
      {{"-root", "-window-id", "77"}, nullptr, kTargetWindowId, 77},
  };
  for (const Case& c : cases) {
    Parsed parsed = Parse(c.args, c.env);
    ASSERT_TRUE(parsed.ok) << Show(c.args, c.env);
    EXPECT_EQ(parsed.options.target, c.target) << Show(c.args, c.env);
    if (c.target == kTargetWindowId) {
      EXPECT_EQ(parsed.options.windowId, c.id) << Show(c.args, c.env);
    }
  }
}

TEST(HackOptions, SettingsFacesSizeAndSpeedAreTaken) {
  Parsed parsed = Parse({"--settings", "/tmp/w.ini", "-face1", "/a b/é.jpg", "--face6", "z.gif", "--size", "0",
                         "-speed", "100"});
  ASSERT_TRUE(parsed.ok);
  EXPECT_STREQ(parsed.options.settings, "/tmp/w.ini");
  EXPECT_STREQ(parsed.options.faces[0], "/a b/é.jpg");
  EXPECT_STREQ(parsed.options.faces[5], "z.gif");
  for (int k = 1; k < 5; ++k) EXPECT_EQ(parsed.options.faces[k], nullptr) << "face " << k + 1;
  EXPECT_EQ(parsed.options.size, 0);
  EXPECT_EQ(parsed.options.speed, 100);
  Parsed plain = Parse({});
  EXPECT_EQ(plain.options.settings, nullptr);
  EXPECT_EQ(plain.options.size, -1) << "no --size keeps the settings' size";
  EXPECT_EQ(plain.options.speed, -1);
}

TEST(HackOptions, BadCommandLinesAreRefused) {
  const std::vector<const char*> cases[] = {
      {"--size", "101"}, {"--size", "-1"}, {"--size", ""}, {"--size", "5x"}, {"--speed"},
      {"--face0", "a.bmp"}, {"--face7", "a.bmp"}, {"--face1"}, {"--face2", "a.png"}, {"--face2", "photo"},
      {"--settings"},
      {"-window-id"}, {"-window-id", "0x"}, {"-window-id", "0"}, {"-window-id", "12ab"}, {"-window-id", "0x1g"},
      {"-window-id", "0x100000000"}, {"-window-id", "4294967296"},
      {"-window", "-root"}, {"-window", "-window-id", "5"}, {"--fps"}, {"stray"},
  };
  for (const std::vector<const char*>& args : cases) EXPECT_FALSE(Parse(args).ok) << Show(args, nullptr);
  EXPECT_FALSE(Parse({}, "window").ok) << "a variable that names no window is an error, not the own window";
}

TEST(HackOptions, WindowIdLimits) {
  unsigned long id = 0;
  EXPECT_TRUE(ParseWindowId("0xFFFFFFFF", &id));
  EXPECT_EQ(id, 0xFFFFFFFFul);
  EXPECT_TRUE(ParseWindowId("4294967295", &id));
  EXPECT_EQ(id, 4294967295ul);
  EXPECT_TRUE(ParseWindowId("0x000000000000000000000001", &id)) << "leading zeros are no overflow";
  EXPECT_EQ(id, 1ul);
  EXPECT_FALSE(ParseWindowId(" 12", &id));
  EXPECT_FALSE(ParseWindowId(nullptr, &id));
}

TEST(HackPaths, DefaultSettingsFileAndSamples) {
  struct Case {
    const char* xdg;
    const char* home;
    const char* want;  // null: no default
  };
  const Case cases[] = {
      {"/x/conf", "/home/u", "/x/conf/whirlbox/whirlbox.ini"},
      {nullptr, "/home/u", "/home/u/.config/whirlbox/whirlbox.ini"},
      {"", "/home/u", "/home/u/.config/whirlbox/whirlbox.ini"},
      {"relative", "/home/u", "/home/u/.config/whirlbox/whirlbox.ini"},  // ignored, as the XDG rules say
      {nullptr, nullptr, nullptr},
      {nullptr, "", nullptr},
  };
  for (const Case& c : cases) {
    char path[64];
    bool found = DefaultSettingsPath(c.xdg, c.home, path, sizeof path);
    EXPECT_EQ(found, c.want != nullptr) << (c.xdg ? c.xdg : "(unset)") << " " << (c.home ? c.home : "(unset)");
    if (found && c.want != nullptr) {
      EXPECT_STREQ(path, c.want);
    }
  }
  char tiny[16];
  EXPECT_FALSE(DefaultSettingsPath("/x/conf", nullptr, tiny, sizeof tiny)) << "a path that does not fit";

  char dir[64];
  ASSERT_TRUE(SamplesDirBeside("/usr/libexec/xscreensaver/whirlbox", dir, sizeof dir));
  EXPECT_STREQ(dir, "/usr/share/whirlbox/samples");
  ASSERT_TRUE(SamplesDirBeside("/libexec/xscreensaver/whirlbox", dir, sizeof dir));
  EXPECT_STREQ(dir, "/share/whirlbox/samples");
  EXPECT_FALSE(SamplesDirBeside("/work/build/src/x11/whirlbox", dir, sizeof dir));
  EXPECT_FALSE(SamplesDirBeside("/usr/libexec/xscreensaver/whirlbox2", dir, sizeof dir));
}

TEST(HackRules, OnlyASmallWindowGivenByIdTakesThePreviewRules) {
  struct Case {
    HackTarget target;
    int width, height;
    int halfEdge, interval;  // want
  };
  const Case cases[] = {
      {kTargetWindowId, 200, 150, 18, 250},   // the settings GUI's preview: height / 8
      {kTargetWindowId, 319, 600, 75, 250},   // too narrow
      {kTargetWindowId, 800, 239, 29, 250},   // too low
      {kTargetWindowId, 320, 240, 122, 67},   // large enough: the settings' values
      {kTargetRoot, 200, 150, 122, 67},       // the root is never a preview
      {kTargetOwnWindow, 200, 150, 122, 67},  // nor the hack's own window
  };
  for (const Case& c : cases) {
    ViewRules rules = RulesForView(c.target, c.width, c.height, 122, 67);
    EXPECT_EQ(rules.halfEdge, c.halfEdge) << c.width << "x" << c.height << " target " << c.target;
    EXPECT_EQ(rules.interval, c.interval) << c.width << "x" << c.height << " target " << c.target;
  }
}
