#include "tools/scroll/line_search.h"

#include <gtest/gtest.h>

#include "app/text/wildcard.h"

namespace vondal::scroll {
namespace {

// The search must answer exactly as the matcher: its quick look may only pass over lines the
// matcher would refuse.
void ExpectSameAsMatcher(std::string_view pattern, std::string_view line) {
  for (bool ignoreCase : {false, true}) {
    EXPECT_EQ(LineSearch(pattern, ignoreCase).Matches(line), jstrwldc(pattern, line, ignoreCase))
        << pattern << " / " << line << (ignoreCase ? " ignoring case" : "");
  }
}

TEST(LineSearch, AnswersAsTheMatcher) {
  for (std::string_view line : {"0027  JA7QQA   3回", "0027  ja7qqa", "JA7", "", "ｱｲｳ ア 漢字", "x*y"}) {
    for (std::string_view pattern : {"**", "*JA7QQ*", "*ja7qq*", "*7Q?A*", "0027*", "*#回", "*ア*", "*ｲｳ*",
                                     "*漢字", "JA7", "*", "", "*@#*", "x@y"}) {
      ExpectSameAsMatcher(pattern, line);
    }
  }
}

TEST(LineSearch, TwoByteCharactersWhoseSecondByteIsALetterStillMatchIgnoringCase) {
  // ア is 0x83 0x41: its second byte is "A".
  EXPECT_TRUE(LineSearch("*ア*", true).Matches("xアy"));
  EXPECT_FALSE(LineSearch("*ア*", true)
                   .Matches("x\x83"
                            "ay"));
  ExpectSameAsMatcher("*ア*",
                      "x\x83"
                      "ay");
}

}  // namespace
}  // namespace vondal::scroll
