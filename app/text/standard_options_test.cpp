#include "app/text/standard_options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vondal {
namespace {

StandardOption Find(std::vector<std::string> arguments) { return FindStandardOption(arguments); }

TEST(StandardOptionsTest, HelpWinsOverVersionWhereverEachStands) {
  EXPECT_EQ(Find({"--help"}), StandardOption::kHelp);
  EXPECT_EQ(Find({"mylog", "out.txt", "--version"}), StandardOption::kVersion);
  EXPECT_EQ(Find({"--version", "x", "--help"}), StandardOption::kHelp);
}

TEST(StandardOptionsTest, OnlyTheWholeWordsCount) {
  // A log or an option that merely looks alike runs the program as before.
  EXPECT_EQ(Find({}), StandardOption::kNone);
  for (const char* other : {"-help", "--Help", "--help=1", "--versions", "-h", "/help", "./--help", "?"}) {
    EXPECT_EQ(Find({other}), StandardOption::kNone) << other;
  }
}

}  // namespace
}  // namespace vondal
