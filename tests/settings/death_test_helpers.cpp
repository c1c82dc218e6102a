// The exact text of a fatal error as a regular expression.
#include "settings/death_test_helpers.h"

std::string FatalPattern(int code, const std::string& message) {
  std::string text = "fatal " + std::to_string(code) + "\n" + message + "\n";
  std::string pattern = "^";
  for (char c : text) {
    if (std::string("\\^$.|?*+()[]{}").find(c) != std::string::npos) pattern += '\\';
    pattern += c;
  }
  return pattern + "$";
}
