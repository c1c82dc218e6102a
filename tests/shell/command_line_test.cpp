// The role chosen from the command line and the preview host handle.
#include <gtest/gtest.h>
#include <unistd.h>

#include <vector>

#include "shell/saver_rules.h"

static SaverRole Role(std::vector<const char*> args) {
  args.insert(args.begin(), "whirlbox.scr");
  return ChooseRole(static_cast<int>(args.size()), args.data());
}

static PreviewHandle Handle(std::vector<const char*> args) {
  args.insert(args.begin(), "whirlbox.scr");
  return ReadPreviewHandle(static_cast<int>(args.size()), args.data());
}

TEST(ChooseRole, NoArgumentAndSaverSwitchesRunTheFullScreenSaver) {
  EXPECT_EQ(Role({}), kRoleSaver);
  EXPECT_EQ(Role({"/s"}), kRoleSaver);
  EXPECT_EQ(Role({"-S"}), kRoleSaver);
  EXPECT_EQ(Role({"/a"}), kRoleSaver);
  EXPECT_EQ(Role({""}), kRoleSaver);
  EXPECT_EQ(Role({"/x", "/c"}), kRoleSaver);  // only argument 1 decides
  EXPECT_EQ(Role({"-"}), kRoleSaver);
}

TEST(ChooseRole, AnythingStartingWithCOpensSetup) {
  for (const char* arg : {"/c", "/C", "-c", "-C", "c", "C", "/c:1234", "config", "Cancel"}) {
    EXPECT_EQ(Role({arg}), kRoleSetup) << arg;
  }
  EXPECT_EQ(Role({"/c", "1234"}), kRoleSetup);
}

TEST(ChooseRole, AnythingStartingWithPIsThePreview) {
  for (const char* arg : {"/p", "/P", "-p", "-P", "p", "P1234", "/p:1234", "preview"}) {
    EXPECT_EQ(Role({arg}), kRolePreview) << arg;
  }
}

TEST(PreviewHandle, TheFourRulesReadTheSameHandle) {
  struct Case {
    std::vector<const char*> args;
    PreviewSource source;  // the rule that read the handle
  };
  const Case cases[] = {
      {{"/p", "1234"}, kHandleInArgument2},
      {{"/p:1234"}, kHandleAfterColon},
      {{"/p 1234"}, kHandleAfterSpace},  // one argument holding a blank, as some hosts quote it
      {{"/P1234"}, kHandleAfterP},
  };
  for (const Case& c : cases) {
    PreviewHandle handle = Handle(c.args);
    EXPECT_TRUE(handle.found) << c.args[0];
    EXPECT_EQ(handle.handle, 1234u) << c.args[0];
    EXPECT_EQ(handle.source, c.source) << c.args[0];
  }
}

TEST(PreviewHandle, MissingNumbersFailWithTheCodeOfTheRuleThatApplied) {
  struct Case {
    std::vector<const char*> args;
    const char* fatal;  // what the saver ends with
  };
  const Case cases[] = {
      {{"/p"}, "fatal 689\ncan't get handle for preview\nfrom argv\\[1\\]='/p'"},
      // lower-case p: no upper-case 'P' to read after
      {{"/p1234"}, "fatal 689\ncan't get handle for preview\nfrom argv\\[1\\]='/p1234'"},
      {{"/P"}, "fatal 689"},
      {{"/p", "abc"}, "fatal 674\ncan't get handle for preview\nfrom argv\\[1\\]='/p'\nand argv\\[2\\]='abc'"},
      {{"/p:"}, "fatal 679\ncan't get handle for preview\nfrom argv\\[1\\]='/p:'"},
      {{"/p x"}, "fatal 684\ncan't get handle for preview\nfrom argv\\[1\\]='/p x'"},
  };
  for (const Case& c : cases) {
    std::vector<const char*> args = c.args;
    args.insert(args.begin(), "whirlbox.scr");
    PreviewHandle handle = Handle(c.args);
    EXPECT_FALSE(handle.found) << c.args[0];
    EXPECT_EXIT((dup2(2, 1), AbortWithoutPreviewHandle(handle.source, args.data())), ::testing::ExitedWithCode(1),
                c.fatal)
        << c.args[0];
  }
}

TEST(PreviewHandle, NumbersAreReadAsPercentUReadsThem) {
  EXPECT_EQ(Handle({"/p", "0"}).handle, 0u);
  EXPECT_TRUE(Handle({"/p", "0"}).found);
  EXPECT_EQ(Handle({"/p", "  42xyz"}).handle, 42u);
  EXPECT_EQ(Handle({"/p", "+7"}).handle, 7u);
  EXPECT_EQ(Handle({"/p", "-1"}).handle, 4294967295u);
  EXPECT_EQ(Handle({"/p:12:34"}).handle, 12u);           // the text after the first ':'
  EXPECT_EQ(Handle({"/p", "5", "extra"}).handle, 5u);    // argument 2 whatever follows
  EXPECT_EQ(Handle({"/p:9", "77"}).handle, 77u);         // three arguments: argument 2 wins
  EXPECT_EQ(Handle({"xP5P6"}).handle, 5u);               // the first upper-case 'P'
}

TEST(ReadUnsigned, RejectsSignsWithoutDigitsAndWrapsLargeNumbers) {
  unsigned value = 99;
  EXPECT_FALSE(ReadUnsigned("", &value));
  EXPECT_FALSE(ReadUnsigned("-", &value));
  EXPECT_FALSE(ReadUnsigned(" +x", &value));
  EXPECT_EQ(value, 99u);
  ASSERT_TRUE(ReadUnsigned("4294967296", &value));
  EXPECT_EQ(value, 0u);
  ASSERT_TRUE(ReadUnsigned("\t\n 4294967295", &value));
  EXPECT_EQ(value, 4294967295u);
}
