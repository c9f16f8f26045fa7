#include "app/text/brackets.h"

#include <gtest/gtest.h>

namespace vondal {
namespace {

TEST(BracketTest, NestedPairsBothWays) {
  EXPECT_EQ(FindMatchingBracket("(a(b)c)", 0), 6);
  EXPECT_EQ(FindMatchingBracket("(a(b)c)", 6), 0);
  EXPECT_EQ(FindMatchingBracket("(a(b)c)", 2), 4);
  EXPECT_EQ(FindMatchingBracket("[{<>}]", 1), 4);
  EXPECT_EQ(FindMatchingBracket("<a>", 2), 0);
  EXPECT_EQ(FindMatchingBracket("\xA2ｱ\xA2\xA3\xA3", 0), 4);  // ｢ｱ｢｣｣
  EXPECT_EQ(FindMatchingBracket("(]", 0), kNoPartner);
  EXPECT_EQ(FindMatchingBracket("((a)", 0), kNoPartner);
  EXPECT_EQ(FindMatchingBracket("a)", 1), kNoPartner);
}

TEST(BracketTest, NoBracketHere) {
  EXPECT_EQ(FindMatchingBracket("(a)", 1), kNotABracket);
  EXPECT_EQ(FindMatchingBracket("(a)", 3), kNotABracket);
  EXPECT_EQ(FindMatchingBracket("", 0), kNotABracket);
  EXPECT_EQ(FindMatchingBracket("（", 0), kNotABracket);
}

TEST(BracketTest, SecondBytesAreNoBrackets) {
  // ー is 0x81 0x5B ("["), ボ 0x83 0x7B ("{"), マ 0x83 0x7D ("}").
  EXPECT_EQ(FindMatchingBracket("(ー)", 0), 3);
  EXPECT_EQ(FindMatchingBracket("(ー)", 2), kNotABracket);
  EXPECT_EQ(FindMatchingBracket("{ボマ}", 0), 5);
  EXPECT_EQ(FindMatchingBracket("{ボマ}", 5), 0);
  EXPECT_EQ(FindMatchingBracket("[亜ー]", 5), 0);  // 亜: both bytes in the lead range
}

TEST(BracketTest, DoubleQuotesHideBrackets) {
  EXPECT_EQ(FindMatchingBracket("(\")\")", 0), 4);
  EXPECT_EQ(FindMatchingBracket("(\")\")", 4), 0);
  EXPECT_EQ(FindMatchingBracket("(\"(\")", 0), 4);
}

TEST(BracketTest, QuotesPairByParity) {
  EXPECT_EQ(FindMatchingBracket("a\"b\"c\"d\"", 1), 3);
  EXPECT_EQ(FindMatchingBracket("a\"b\"c\"d\"", 3), 1);
  EXPECT_EQ(FindMatchingBracket("a\"b\"c\"d\"", 5), 7);
  EXPECT_EQ(FindMatchingBracket("'x'", 2), 0);
  EXPECT_EQ(FindMatchingBracket("\x1Cx\x1C", 0), 2);
  EXPECT_EQ(FindMatchingBracket("\"ab", 0), kNoPartner);
  EXPECT_EQ(FindMatchingBracket("ab\"", 2), kNoPartner);
}

TEST(FullWidthBracketTest, PairsNestingAndQuotes) {
  // 「 0x8175 opens, 」 0x8176 closes.
  EXPECT_EQ(FindMatchingFullWidthBracket("「a「b」c」", 0), 9);
  EXPECT_EQ(FindMatchingFullWidthBracket("「a「b」c」", 9), 0);
  EXPECT_EQ(FindMatchingFullWidthBracket("「a「b」c」", 3), 6);
  EXPECT_EQ(FindMatchingFullWidthBracket("（x）", 0), 3);
  EXPECT_EQ(FindMatchingFullWidthBracket("‘x’", 0), 3);
  EXPECT_EQ(FindMatchingFullWidthBracket("【x】", 3), 0);
  EXPECT_EQ(FindMatchingFullWidthBracket("「\"」\"」", 0), 6);
  EXPECT_EQ(FindMatchingFullWidthBracket("「」", 1), kNotABracket);
  EXPECT_EQ(FindMatchingFullWidthBracket("‥＋(", 0), kNotABracket);
  EXPECT_EQ(FindMatchingFullWidthBracket("‥＋(", 2), kNotABracket);
  EXPECT_EQ(FindMatchingFullWidthBracket("‥＋(", 4), kNotABracket);
  EXPECT_EQ(FindMatchingFullWidthBracket("「「」", 0), kNoPartner);
  EXPECT_EQ(FindMatchingFullWidthBracket("」", 0), kNoPartner);
}

}  // namespace
}  // namespace vondal
