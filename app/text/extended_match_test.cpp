#include <gtest/gtest.h>

#include <string>

#include "app/text/wildcard.h"

namespace vondal {
namespace {

TEST(ExtendedMatcherTest, CountsAndNegation) {
  EXPECT_TRUE(MatchExtended("@3n", "123", false));
  EXPECT_FALSE(MatchExtended("@3n", "12", false));
  EXPECT_FALSE(MatchExtended("@3n", "1234", false));
  EXPECT_TRUE(MatchExtended("@!n", "A", false));
  EXPECT_FALSE(MatchExtended("@!n", "1", false));
  EXPECT_TRUE(MatchExtended("@!n", "表", false));
  EXPECT_TRUE(MatchExtended("@0nA", "A", false));
  EXPECT_TRUE(MatchExtended("@12n", "123456789012", false));
  EXPECT_TRUE(MatchExtended("JA#@2u", "JA1AB", false));
  EXPECT_TRUE(MatchExtended("@2Z", "移動", false));
  EXPECT_FALSE(MatchExtended("@2Z", "移", false));
}

TEST(ExtendedMatcherTest, OneOrMoreTakesAllAndGivesNothingBack) {
  EXPECT_TRUE(MatchExtended("@+n", "7", false));
  EXPECT_TRUE(MatchExtended("@+n.@+n", "14.025", false));
  EXPECT_FALSE(MatchExtended("@+n", "", false));
  EXPECT_FALSE(MatchExtended("@+n1", "121", false));
  EXPECT_TRUE(MatchExtended("*@+n", "QRP5", false));
  EXPECT_TRUE(MatchExtended("@+!s", "JA1ABC", false));
}

TEST(ExtendedMatcherTest, Escapes) {
  EXPECT_TRUE(MatchExtended("A@?", "A?", false));
  EXPECT_FALSE(MatchExtended("A@?", "AB", false));
  EXPECT_TRUE(MatchExtended("@*@#@@", "*#@", false));
  EXPECT_FALSE(MatchExtended("@*", "x", false));
  EXPECT_TRUE(MatchExtended("*@**", "a*b", false));
}

TEST(ExtendedMatcherTest, BadClassFailsTheWholeMatch) {
  EXPECT_FALSE(MatchExtended("@x", "x", false));
  EXPECT_FALSE(MatchExtended("*@x", "abc", false));
  EXPECT_FALSE(MatchExtended("ABC*@x", "ABC", false));
  EXPECT_FALSE(MatchExtended("A@", "A", false));
  EXPECT_FALSE(MatchExtended("@3", "123", false));
  EXPECT_FALSE(MatchExtended("@!3n", "A", false));
  EXPECT_FALSE(MatchExtended("@表", "表", false));
}

TEST(ExtendedMatcherTest, HugeCountsNeitherWrapNorHang) {
  EXPECT_FALSE(MatchExtended("@99999999999999999999999999n", "123", false));
  EXPECT_FALSE(MatchExtended("@18446744073709551617n", "1", false));  // 2^64 + 1
  EXPECT_FALSE(MatchExtended("*@4294967297n", std::string(300, '1'), false));
}

// One pattern per class: a character at each edge of the class and one just outside.
struct ClassCase {
  const char* cls;
  const char* inside;
  const char* outside;
};

TEST(ExtendedMatcherTest, ClassEdges) {
  const ClassCase cases[] = {
      {"h", " \xDF~ｱ", "\x1F"},
      {"h", "A", "あ"},
      {"Z", "　", "A"},
      {"Z", "\xFC\xFC", "ｱ"},
      {"a", "AZaz", "@"},
      {"a", "z", "["},
      {"A", "ＡＺａｚ", "０"},
      {"l", "az", "A"},
      {"L", "ａｚ", "Ａ"},
      {"u", "AZ", "a"},
      {"U", "ＡＺ", "ａ"},
      {"n", "09", "/"},
      {"n", "0", ":"},
      {"N", "０９", "9"},
      {"k", "\xA6\xDF", "\xA5"},
      {"K", "ァヶ", "ぁ"},
      {"s", " ", "　"},
      {"S", "　", " "},
      {"p", ".", "．"},
      {"P", "．", "."},
      {"b", "()[]{}｢｣", "<"},
      {"B", "（【】", "＋"},
      {"B", "（", "‥"},
      {"m", "!/:@[`{~", "0"},
      {"m", "~", "A"},
      {"M", "、・＋", "ぁ"},
      {"H", "ぁん", "ァ"},
      {"J", "ぁァんヶ", "亜"},
      {"C", "亜\xFC\xFCヶ々", "ω"},
      {"G", "Αω", "А"},
      {"R", "Ая", "ω"},
      {"c", "\x01\x1F", " "},
      {"t", "\t", " "},
      {"$", "\t 　", "_"},
  };
  for (const ClassCase& c : cases) {
    std::string each = std::string("@+") + c.cls;
    std::string one = std::string("@") + c.cls;
    EXPECT_TRUE(MatchExtended(each, c.inside, false)) << c.cls << " " << c.inside;
    EXPECT_FALSE(MatchExtended(one, c.outside, false)) << c.cls << " " << c.outside;
    EXPECT_TRUE(MatchExtended(std::string("@!") + c.cls, c.outside, false)) << c.cls << " " << c.outside;
  }
}

TEST(ExtendedMatcherTest, KanaMarksFollowTheKanaBeforeThem) {
  EXPECT_TRUE(MatchExtended("@+K", "カード", false));
  EXPECT_TRUE(MatchExtended("@+H", "らーめん", false));
  EXPECT_TRUE(MatchExtended("@+J", "カーらー", false));
  EXPECT_FALSE(MatchExtended("@+K", "らー", false));
  EXPECT_FALSE(MatchExtended("@+K", "ーカ", false));  // nothing before the mark
  EXPECT_TRUE(MatchExtended("?@K", "カー", false));   // the text decides, not the element
  EXPECT_FALSE(MatchExtended("?@K", "Aー", false));
  EXPECT_TRUE(MatchExtended("@M", "ー", false));
  EXPECT_TRUE(MatchExtended("A@M", "A゛", false));
  EXPECT_FALSE(MatchExtended("?@M", "カ゜", false));
  EXPECT_TRUE(MatchExtended("?@!M", "カ゜", false));
  EXPECT_TRUE(MatchExtended("@Z", "ー", false));  // other classes go by the code
  // A kanji whose second byte is a lead byte too (亜 0x88 0x9F) is still one character before
  // the mark.
  EXPECT_FALSE(MatchExtended("?@K", "亜ー", false));
  EXPECT_TRUE(MatchExtended("?@M", "亜ー", false));
}

TEST(ExtendedMatcherTest, LiteralsAndCase) {
  EXPECT_TRUE(MatchExtended("ja1*", "JA1ABC", true));
  EXPECT_FALSE(MatchExtended("ja1*", "JA1ABC", false));
  EXPECT_FALSE(MatchExtended("ア", "ヂ", true));
  EXPECT_FALSE(MatchExtended("\\", "ソ", false));
  EXPECT_TRUE(MatchExtended("*表", "ソ表", false));
  EXPECT_TRUE(MatchExtended("?", "表", false));
  EXPECT_FALSE(MatchExtended("#", "\x83", false));
  EXPECT_TRUE(MatchExtended("@!n", "\x83", false));  // a broken character belongs to no class
  EXPECT_FALSE(MatchExtended("@h", "\x83", false));
}

}  // namespace
}  // namespace vondal
