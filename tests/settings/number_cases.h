// What follows the six name lines of a settings file, and the size and speed it must give. Run by
// the native tests and by the Windows test program under Wine, so both builds are seen to agree.
#pragma once

struct NumberCase {
  const char* text;  // the bytes after the sixth name line
  int size;
  int speed;
};

inline constexpr NumberCase kNumberCases[] = {
    {"", 50, 50},                            // nothing after the names
    {"7\n", 7, 50},                          // only the size
    {"letters\n", 50, 50},                   // no number at all
    {"150 -3\n", 100, 0},                    // clamped to 0 to 100
    {"0x20 010\n", 32, 8},                   // hexadecimal and octal
    {"30\n70\n", 30, 70},                    // on two lines
    {"\n\n  30\t70\n", 30, 70},              // after blank lines, a tab between
    {"30 70\r\n", 30, 70},                   // CR LF line end
    {"30\r70", 30, 70},                      // a lone CR is white space
    {"30 70 and more 90\n", 30, 70},         // the rest is ignored
    {"+5 -0x0A\n", 5, 0},                    // signs, also before 0x
    {"5 0X1f\n", 5, 31},                     // X in upper case, hex digits in either case
    {"0x\n", 50, 50},                        // "0x" without a digit is no number
    {"0xg 40\n", 50, 50},                    // nor with a letter after it; the second is not read
    {"25 0x\n", 25, 50},                     // the same for the second number
    {"08\n", 0, 8},                          // octal stops at 8, which then is the second number
    {"-\n", 50, 50},                         // a sign alone
    {"- 5 6\n", 50, 50},                     // a sign must touch its digits
    {"30,70\n", 30, 50},                     // a comma is no white space
    {"99999999999 -99999999999\n", 100, 0},  // beyond the int range
    {"0 0\n", 0, 0},
    {"100 100\n", 100, 100},
    {"30\x1a 70\n", 30, 50},                 // Ctrl-Z ends a text-mode file
    {"\x1a 30 70\n", 50, 50},
};
