// Expecting a fatal error: the native Abort prints "fatal <code>" and the message to standard
// output and exits with 1; death tests read standard error, so the child sends one to the other.
#pragma once
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

// The message as a regular expression that matches only itself, after "fatal <code>\n".
std::string FatalPattern(int code, const std::string& message);

#define EXPECT_FATAL(statement, code, message)                                                 \
  EXPECT_EXIT(                                                                                 \
      {                                                                                        \
        dup2(2, 1);                                                                            \
        statement;                                                                             \
      },                                                                                       \
      ::testing::ExitedWithCode(1), FatalPattern(code, message))
