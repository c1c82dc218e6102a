// The fatal error text and caption: their limits, and the table of fatal codes.
#include <gtest/gtest.h>

#include <climits>
#include <cstdarg>
#include <set>
#include <string>

#include "shell/fatal.h"

static bool Format(char (&text)[kFatalTextSize], const char* format, ...) {
  va_list args;
  va_start(args, format);
  bool fits = FormatFatalText(text, format, args);
  va_end(args);
  return fits;
}

TEST(FatalText, MessageOf1023CharactersFitsAndIsKeptWhole) {
  char text[kFatalTextSize];
  std::string message(1023, 'x');
  ASSERT_TRUE(Format(text, "%s", message.c_str()));
  EXPECT_EQ(std::string(text), message);
}

TEST(FatalText, MessageOf1024CharactersOverflowsWithoutWritingPastTheBuffer) {
  struct {
    char text[kFatalTextSize];
    char guard[16];
  } area;
  std::fill(std::begin(area.guard), std::end(area.guard), '#');
  std::string message(1000, 'y');
  EXPECT_FALSE(Format(area.text, "%s%s", message.c_str(), "123456789012345678901234"));  // 1024 characters
  for (char c : area.guard) EXPECT_EQ(c, '#');
  EXPECT_FALSE(Format(area.text, "%s%s", message.c_str(), std::string(5000, 'z').c_str()));
  for (char c : area.guard) EXPECT_EQ(c, '#');
}

TEST(FatalText, ArgumentsAreFormattedAsPrintfDoes) {
  char text[kFatalTextSize];
  ASSERT_TRUE(Format(text, kFatalReadLine.format, 6));
  EXPECT_STREQ(text, "read error on line 6 of whirlbox.ini\nexpecting a file name");
  ASSERT_TRUE(Format(text, kFatalPreviewBad.format, 4294967295u));
  EXPECT_STREQ(text, "preview handle (4294967295) is bad");
}

TEST(FatalText, FormattingFailureIsReportedAsOverflow) {
  char text[kFatalTextSize];
  // A wide string that the C locale cannot convert makes the formatting itself fail.
  const wchar_t unconvertible[] = {static_cast<wchar_t>(0x20AC), 0};
  EXPECT_FALSE(Format(text, "%ls", unconvertible));
}

TEST(FatalCaption, NegativeCodesAndTheLongestCodeFit) {
  char caption[kFatalCaptionSize];
  ASSERT_TRUE(FormatFatalCaption(caption, 551));
  EXPECT_STREQ(caption, "Fatal Error Code 551");
  ASSERT_TRUE(FormatFatalCaption(caption, -7));
  EXPECT_STREQ(caption, "Fatal Error Code -7");
  ASSERT_TRUE(FormatFatalCaption(caption, INT_MIN));
  EXPECT_STREQ(caption, "Fatal Error Code -2147483648");  // 28 characters: every int fits in 31
}

TEST(FatalCodes, EveryCallSiteHasItsOwnCode) {
  std::set<int> seen;
  for (const FatalCall& call : kAllFatalCalls) {
    EXPECT_TRUE(seen.insert(call.code).second) << "code " << call.code << " used twice";
    EXPECT_LT(std::string(call.format).size(), 200u);
  }
  EXPECT_EQ(seen.size(), 33u);  // the saver's 31 and the X11 hack's view (806, 809)
}

TEST(FatalOverflowTexts, AreTheWordsUsersSee) {
  EXPECT_STREQ(kFatalTextOverflow, "Abort(): text buffer overflow");
  EXPECT_STREQ(kFatalCaptionOverflow, "Abort(): capton buffer overflow");
}
