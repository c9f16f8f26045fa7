#include "app/text/text_helpers.h"

#include <gtest/gtest.h>

#include "app/text/half_width.h"
#include "app/text/sjis.h"

namespace vondal {
namespace {

using Words = std::vector<std::string_view>;

TEST(SjisTest, ByteKindAndCharacterStarts) {
  std::string_view text = "aソb";
  EXPECT_EQ(ByteKind(text, 0), 0);
  EXPECT_EQ(ByteKind(text, 1), 1);
  EXPECT_EQ(ByteKind(text, 2), 2);
  EXPECT_EQ(ByteKind(text, 3), 0);
  EXPECT_EQ(ByteKind("ソ\x83", 2), 0);  // a lead byte at the very end stands alone
  EXPECT_TRUE(IsCharStart("ソ\x83", 3));
  std::string_view kanji = "亜亜";  // 0x88 0x9F: both bytes in the lead range
  EXPECT_EQ(ByteKind(kanji, 2), 1);
  EXPECT_EQ(ByteKind(kanji, 3), 2);
  EXPECT_EQ(PrevCharStart(kanji, 4), 2u);
  EXPECT_EQ(PrevCharStart("a亜b", 3), 1u);
  EXPECT_EQ(PrevCharStart("\x83"
                          "Aa",
                          3),
            2u);
}

// The run is measured 16 bytes at a time: a stop at every place in and across such blocks,
// for each kind of byte that ends it.
TEST(SjisTest, PrintableAsciiRunStopsAtTheFirstOtherByte) {
  for (char stop : {'\x1F', '\x7F', '\x80', '\xFF', '\0'}) {
    for (size_t at = 0; at < 40; ++at) {
      std::string text(40, 'A');
      text[at] = stop;
      EXPECT_EQ(PrintableAsciiRun(text), at) << static_cast<int>(stop) << " at " << at;
    }
  }
  EXPECT_EQ(PrintableAsciiRun(std::string(33, '~')), 33u);
  EXPECT_EQ(PrintableAsciiRun(" !"), 2u);
  EXPECT_EQ(PrintableAsciiRun(""), 0u);
}

TEST(TextHelpersTest, TrimBlanksAndTabsOnly) {
  EXPECT_EQ(Trim("  \tJA1 ABC \t"), "JA1 ABC");
  EXPECT_EQ(Trim("　移動　"), "　移動　");
  EXPECT_EQ(Trim(" \t "), "");
}

TEST(TextHelpersTest, CaseChangesLeaveSecondBytesAlone) {
  // ヂ is 0x83 0x61 ("a"), ア 0x83 0x41 ("A").
  EXPECT_EQ(ToUpperAscii("ja1ヂabc"), "JA1ヂABC");
  EXPECT_EQ(ToLowerAscii("JA1アABC"), "ja1アabc");
  EXPECT_EQ(InvertCase("jA1ヂ"), "Ja1ヂ");
  EXPECT_EQ(Capitalise("jA1abc xYZ"), "Ja1Abc Xyz");
  EXPECT_EQ(Capitalise("abcヂdef"), "AbcヂDef");  // a two-byte character ends a run
}

TEST(TextHelpersTest, FindStepsByCharacters) {
  EXPECT_EQ(FindText("ソ\\", "\\"), 2u);
  EXPECT_EQ(FindText("ソ表", "\\"), std::string_view::npos);
  EXPECT_EQ(FindText("ソ表", "表"), 2u);
  EXPECT_EQ(FindText("JA1abc", "ABC", true), 3u);
  EXPECT_EQ(FindText("JA1abc", "ABC"), std::string_view::npos);
  EXPECT_EQ(FindText("ヂ", "ア", true), std::string_view::npos);
  EXPECT_EQ(FindText("abc", ""), 0u);
  EXPECT_EQ(FindText("ab", "abc"), std::string_view::npos);
  EXPECT_EQ(FindText("ソ", "\x83"), std::string_view::npos);  // never half a character
}

TEST(TextHelpersTest, CompareModes) {
  EXPECT_GT(CompareText("a", "B"), 0);
  EXPECT_LT(CompareText("a", "B", CaseMode::kIgnore), 0);
  EXPECT_EQ(CompareText("JA1abc", "ja1ABC", CaseMode::kIgnore), 0);
  // "_" lies between the upper- and the lower-case letters.
  EXPECT_GT(CompareText("a", "_", CaseMode::kLower), 0);
  EXPECT_LT(CompareText("a", "_", CaseMode::kUpper), 0);
  EXPECT_LT(CompareText("ab", "abc"), 0);
  EXPECT_EQ(CompareText("", ""), 0);
  EXPECT_GT(CompareText("表", "A"), 0);  // bytes compare unsigned
  EXPECT_NE(CompareText("ヂ", "ア", CaseMode::kUpper), 0);
  EXPECT_NE(CompareText("ヂ",
                        "\x83"
                        "A",
                        CaseMode::kIgnore),
            0);  // second byte against a letter
  EXPECT_EQ(CompareTextN("JA1ABC", "ja1XYZ", 3, CaseMode::kUpper), 0);
  EXPECT_LT(CompareTextN("JA1ABC", "JA1XYZ", 4), 0);
  EXPECT_LT(CompareTextN("JA", "JA1", 3), 0);
}

TEST(TextHelpersTest, FitCopyNeverLeavesHalfACharacter) {
  std::string line = "0123456789";
  EXPECT_EQ(FitCopy(line, 2, 5, "表示AB"), 6u);
  EXPECT_EQ(line, "01表示6789");
  line = "0123456789";
  EXPECT_EQ(FitCopy(line, 3, 5, "ソ表"), 5u);
  EXPECT_EQ(line, "012ソ56789");
  line = "ab表cd";
  FitCopy(line, 3, 3, "X");  // lands on the second byte of 表
  EXPECT_EQ(line, "ab Xcd");
  line = "表示";
  FitCopy(line, 0, 0, "X");  // cuts 表 after its first byte
  EXPECT_EQ(line, "X 示");
  line = "";
  EXPECT_EQ(FitCopy(line, 3, 10, "AB"), 5u);
  EXPECT_EQ(line, "   AB");
  EXPECT_EQ(FitCopy(line, 4, 3, "Z"), 4u);
  EXPECT_EQ(line, "   AB");
  line = "0123";
  EXPECT_EQ(FitCopy(line, 1, 3, "A\x83"), 2u);  // the broken end would pair with "2"
  EXPECT_EQ(line, "0A23");
}

TEST(TextHelpersTest, SplitAtTheFirstSeparatorThatOccurs) {
  EXPECT_EQ(Split("a,b;c", ",;"), (Words{"a", "b;c"}));
  EXPECT_EQ(Split("a;b,c", ",;"), (Words{"a", "b,c"}));
  EXPECT_EQ(Split(",a,,b,", ","), (Words{"a", "b"}));
  EXPECT_EQ(Split("abc", ","), (Words{"abc"}));
  EXPECT_EQ(Split("", ","), Words{});
  EXPECT_EQ(Split("a,b,c", ",", 2), (Words{"a", "b"}));
  EXPECT_EQ(Split("ソ\\x", "\\"), (Words{"ソ", "x"}));
  EXPECT_EQ(Split("ソ表", "\\"), (Words{"ソ表"}));
  EXPECT_EQ(Split("ポ|ポ", "|"), (Words{"ポ", "ポ"}));
  EXPECT_EQ(SplitWords(" JA1  \tABC 599 "), (Words{"JA1", "ABC", "599"}));
  EXPECT_EQ(SplitWords(" JA1  \tABC 599 ", 2), (Words{"JA1", "ABC"}));
  EXPECT_EQ(SplitWords("　移動　運用"), (Words{"　移動　運用"}));
}

TEST(TextHelpersTest, NumbersAndFrequencies) {
  EXPECT_EQ(FormatNumber(42, 5), "   42");
  EXPECT_EQ(FormatNumber(123456, 3), "123456");
  EXPECT_EQ(FormatNumber(0), "0");
  EXPECT_EQ(FrequencyToKhz("7.05"), 7050);
  EXPECT_EQ(FrequencyToKhz("14.0255"), 14025);
  EXPECT_EQ(FrequencyToKhz("1296.1"), 1296100);
  EXPECT_EQ(FrequencyToKhz("7."), 7000);
  EXPECT_EQ(FrequencyToKhz(".5"), 500);
  EXPECT_EQ(FrequencyToKhz("430.05MHz"), 430050);
  EXPECT_EQ(FrequencyToKhz("7"), 0);
  EXPECT_EQ(FrequencyToKhz("a7.05"), 0);
  EXPECT_EQ(FrequencyToKhz(" 7.05"), 0);
  EXPECT_EQ(FrequencyToKhz("99999999999999999999.0"), 0);
}

TEST(TextHelpersTest, HalfWidthWithPositions) {
  EXPECT_EQ(ToHalfWidth("ＪＡ１ＡＢＣ／１　ｑｒｐ"), "JA1ABC/1 qrp");
  EXPECT_EQ(ToHalfWidth("”’￥＼～－＠"), "\"'\\\\~-@");
  EXPECT_EQ(ToHalfWidth("表ソｱ"), "表ソｱ");
  std::string_view text = "ＡＢ表Ｃ";
  size_t pos = 4;  // 表
  EXPECT_EQ(ToHalfWidth(text, pos), "AB表C");
  EXPECT_EQ(pos, 2u);
  pos = 5;  // its second byte
  ToHalfWidth(text, pos);
  EXPECT_EQ(pos, 2u);
  pos = 6;
  ToHalfWidth(text, pos);
  EXPECT_EQ(pos, 4u);
  pos = text.size();
  ToHalfWidth(text, pos);
  EXPECT_EQ(pos, 5u);
}

TEST(TextHelpersTest, SpacesToTabsAtTabStops) {
  EXPECT_EQ(SpacesToTabs("a       b", 8), "a\tb");
  EXPECT_EQ(SpacesToTabs("abcdefg b", 8), "abcdefg b");
  EXPECT_EQ(SpacesToTabs("a   b", 8), "a   b");
  EXPECT_EQ(SpacesToTabs("表      x", 8), "表\tx");
  EXPECT_EQ(SpacesToTabs("ab\r\n        x", 8), "ab\r\n\tx");
  EXPECT_EQ(SpacesToTabs("a\t       x", 4), "a\t\t   x");
  EXPECT_EQ(SpacesToTabs("a  b", 0), "a  b");
}

TEST(TextHelpersTest, DayOfWeek) {
  EXPECT_EQ(DayOfWeek(1950, 1, 1), 0);
  EXPECT_EQ(DayOfWeek(2000, 2, 29), 2);
  EXPECT_EQ(DayOfWeek(2023, 12, 31), 0);
  EXPECT_EQ(DayOfWeek(2024, 1, 1), 1);
  EXPECT_EQ(DayOfWeek(2100, 3, 1), 1);
}

}  // namespace
}  // namespace vondal
