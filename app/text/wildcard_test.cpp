#include "app/text/wildcard.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "app/text/sjis.h"

namespace vondal {
namespace {

// "ソ" and "表" end in 0x5C ("\"), "ポ" in 0x7C ("|"), "ー" in 0x5B ("["), the full-width space
// in 0x40 ("@"), "ア" in 0x41 ("A") and "ヂ" in 0x61 ("a").
constexpr char kSo[] = "ソ";
constexpr char kHyo[] = "表";

TEST(PlainMatcherTest, RecordCheckPatterns) {
  EXPECT_TRUE(jstrwldc("####", "2024", false));
  EXPECT_FALSE(jstrwldc("####", "202", false));
  EXPECT_FALSE(jstrwldc("####", "２０２４", false));
  EXPECT_TRUE(jstrwldc("#*.*", "7.050", false));
  EXPECT_TRUE(jstrwldc("#*.*", "14.", false));
  EXPECT_FALSE(jstrwldc("#*.*", ".7", false));
  EXPECT_TRUE(jstrwldc("@?*", "CW", false));
  EXPECT_TRUE(jstrwldc("@?*", "ssb", false));
  EXPECT_FALSE(jstrwldc("@?*", "C", false));
  EXPECT_FALSE(jstrwldc("@?*", "ＣＷ", false));
}

TEST(PlainMatcherTest, StarsAnywhere) {
  EXPECT_TRUE(jstrwldc("*ZZQ*", "QZ0ZZQ", false));
  EXPECT_TRUE(jstrwldc("*ZZQ*", "ZZQ", false));
  EXPECT_TRUE(jstrwldc("ABC*", "ABC", false));
  EXPECT_TRUE(jstrwldc("A**B", "AB", false));
  EXPECT_TRUE(jstrwldc("A**B", "AxyB", false));
  EXPECT_TRUE(jstrwldc("*", "", false));
  EXPECT_FALSE(jstrwldc("", "A", false));
  EXPECT_FALSE(jstrwldc("*B", "BA", false));
  EXPECT_TRUE(jstrwldc("*A*B", "AAAB", false));
}

TEST(PlainMatcherTest, QuestionMarkAfterStarNeedsOneCharacter) {
  EXPECT_FALSE(jstrwldc("A*?", "A", false));
  EXPECT_TRUE(jstrwldc("A*?", "AB", false));
  EXPECT_TRUE(jstrwldc("A*?", "A表", false));
  EXPECT_FALSE(jstrwldc("*?", "", false));
  EXPECT_FALSE(jstrwldc("*??", "X", false));
  EXPECT_TRUE(jstrwldc("*?*?", "XY", false));
  EXPECT_TRUE(jstrwldc("*?B", "AB", false));
  EXPECT_FALSE(jstrwldc("*?B", "B", false));
}

TEST(PlainMatcherTest, TwoByteCharacterIsOneUnit) {
  EXPECT_TRUE(jstrwldc("?", kHyo, false));
  EXPECT_FALSE(jstrwldc("??", kHyo, false));
  EXPECT_TRUE(jstrwldc(kSo, kSo, false));
  EXPECT_FALSE(jstrwldc(kSo, kHyo, false));
  // A second byte is never a character of its own, neither in the text nor in the pattern.
  EXPECT_FALSE(jstrwldc("*\\*", "ソ表", false));
  EXPECT_TRUE(jstrwldc("*\\*", "ソ\\", false));
  EXPECT_FALSE(jstrwldc("*|", "ポ", false));
  EXPECT_FALSE(jstrwldc("?\\", kSo, false));
  EXPECT_FALSE(jstrwldc("　", "、", false));  // pattern 0x81 0x40: its "@" is no letter class
  EXPECT_FALSE(jstrwldc("@", "　", false));
  EXPECT_TRUE(jstrwldc("*ー", "カー", false));
  EXPECT_TRUE(jstrwldc("ソ*表", "ソフト表", false));
}

TEST(PlainMatcherTest, CaseSwitchFoldsOnlyAsciiLetters) {
  EXPECT_TRUE(jstrwldc("ja1*", "JA1ABC", true));
  EXPECT_FALSE(jstrwldc("ja1*", "JA1ABC", false));
  EXPECT_FALSE(jstrwldc("ａ", "Ａ", true));
  EXPECT_FALSE(jstrwldc("ア", "ヂ", true));  // second bytes "A" and "a"
  EXPECT_FALSE(jstrwldc("[", "{", true));
}

TEST(PlainMatcherTest, BrokenCharacterAtTheEnd) {
  EXPECT_TRUE(jstrwldc("A?", "A\x83", false));
  EXPECT_FALSE(jstrwldc("A", "A\x83", false));
  EXPECT_TRUE(jstrwldc("A\x83", "A\x83", false));
  EXPECT_FALSE(jstrwldc("A\x83", "Aソ", false));
  EXPECT_FALSE(jstrwldc("*\x83", "ソ", false));
}

TEST(PlainMatcherTest, PathologicalPatternsFinish) {
  std::string text(400, 'a');
  EXPECT_FALSE(jstrwldc("*a*a*a*a*a*a*a*a*b", text, false));
  std::string longPattern;
  for (int i = 0; i < 5000; ++i) longPattern += "*a";
  EXPECT_FALSE(jstrwldc(longPattern + "b", text, false));
  EXPECT_FALSE(jstrwldc(longPattern, text, false));  // more "a" than the text holds
  EXPECT_TRUE(jstrwldc(longPattern, std::string(5000, 'a'), false));
  EXPECT_FALSE(jstrwldc(std::string(10000, '?'), text, false));
}

TEST(CallsignMatcherTest, Elements) {
  EXPECT_TRUE(MatchCallsign("JA#@@", "JA1AB"));
  EXPECT_FALSE(MatchCallsign("JA#@@", "JA1ABC"));
  EXPECT_FALSE(MatchCallsign("JA#@@", "JA1ab"));
  EXPECT_FALSE(MatchCallsign("ja*", "JA1"));
  EXPECT_TRUE(MatchCallsign("*/#", "JH1ABC/1"));
  EXPECT_FALSE(MatchCallsign("*/#", "JH1ABC/P"));
  EXPECT_TRUE(MatchCallsign("*/#", "JH1ABC/1/2"));
  EXPECT_TRUE(MatchCallsign("JA%A*", "JAB1"));
  EXPECT_FALSE(MatchCallsign("JA%A*", "JAA1"));
  EXPECT_TRUE(MatchCallsign("JA%", "JA%"));  // a "%" that ends the pattern stands for itself
  EXPECT_FALSE(MatchCallsign("JA%", "JAX"));
}

TEST(CallsignMatcherTest, RemembersOneByte) {
  EXPECT_TRUE(MatchCallsign("%@%=", "AA"));
  EXPECT_FALSE(MatchCallsign("%@%=", "AB"));
  EXPECT_TRUE(MatchCallsign("%#%&", "11"));
  EXPECT_TRUE(MatchCallsign("%@%=*", "AAB"));
  EXPECT_FALSE(MatchCallsign("%&", "A"));  // nothing remembered yet
  EXPECT_TRUE(MatchCallsign("%!", "A"));   // nothing to exclude yet
  EXPECT_FALSE(MatchCallsign("%#%!", "11"));
  EXPECT_TRUE(MatchCallsign("%#%!", "12"));
  EXPECT_TRUE(MatchCallsign("%?%#%=", "A11"));  // the last remembered byte counts
  EXPECT_FALSE(MatchCallsign("%?%#%=", "A1A"));
}

TEST(CallsignMatcherTest, MemoryAcrossStarsTriesEveryEarlierStart) {
  // The first digit that works is the second one: an earlier star has to be retried.
  EXPECT_TRUE(MatchCallsign("*%#*%=", "1232"));
  EXPECT_FALSE(MatchCallsign("*%#*%=", "1234"));
  EXPECT_TRUE(MatchCallsign("*%@?%=*", "JA1ABA"));
  std::string digits;
  for (int i = 0; i < 300; ++i) digits += static_cast<char>('0' + i % 10);
  EXPECT_FALSE(MatchCallsign("*%#*%#*%#*%#*%#*%=X", digits));
}

TEST(CallsignMatcherTest, WorksOnBytes) {
  EXPECT_FALSE(MatchCallsign("?", kHyo));
  EXPECT_TRUE(MatchCallsign("??", kHyo));
  EXPECT_TRUE(MatchCallsign("?\\", kSo));
  EXPECT_TRUE(MatchCallsign("\x81@",
                            "\x81"
                            "A"));  // the second byte of "　" reads as "@"
}

TEST(FileNameMatcherTest, NameAndExtensionApart) {
  EXPECT_TRUE(MatchFileName("*.VD", "2024log.vd"));
  EXPECT_FALSE(MatchFileName("*.VD", "2024log.VDI"));
  EXPECT_FALSE(MatchFileName("*.VD", "2024log"));
  EXPECT_FALSE(MatchFileName("*", "log.VD"));
  EXPECT_TRUE(MatchFileName("*", "log"));
  EXPECT_TRUE(MatchFileName("*.*", "a.b.VD"));
  EXPECT_FALSE(MatchFileName("*.*", "log"));
  EXPECT_TRUE(MatchFileName("log.", "LOG."));
  EXPECT_TRUE(MatchFileName("@4n*.VD?", "2024移動.VDS"));
  EXPECT_TRUE(MatchFileName("ソ*.VD", "ソフト.VD"));
}

// The matchers as the algorithm states them, recursing at every star with no shortcut. The real
// matchers must agree with them on every input.
bool ReferenceMatch(std::string_view p, std::string_view t, bool callsign, bool ignoreCase, int remembered) {
  auto unit = [callsign](std::string_view s, size_t i) { return callsign ? 1 : CharLength(s, i); };
  size_t i = 0, j = 0;
  while (i < p.size()) {
    if (p[i] == '*') {
      for (; i < p.size() && (p[i] == '*' || p[i] == '?'); ++i) {
        if (p[i] == '?' && j == t.size()) return false;
        if (p[i] == '?') j += unit(t, j);
      }
      if (i == p.size()) return true;
      for (size_t k = j;; k += unit(t, k)) {
        if (ReferenceMatch(p.substr(i), t.substr(k), callsign, ignoreCase, remembered)) return true;
        if (k == t.size()) return false;
      }
    }
    if (j == t.size()) return false;
    auto c = static_cast<unsigned char>(t[j]);
    bool single = unit(t, j) == 1;
    size_t step = 1;
    bool ok;
    if (callsign && p[i] == '%' && i + 1 < p.size()) {
      step = 2;
      char what = p[i + 1];
      if (what == '#' || what == '@' || what == '?') {
        ok = what == '?' || (what == '#' ? IsAsciiDigit(c) : IsAsciiUpper(c));
        remembered = c;
      } else {
        ok = what == '&' || what == '=' ? remembered == c
             : what == '!'              ? remembered != c
                                        : c != static_cast<unsigned char>(what);
      }
    } else if (p[i] == '?') {
      ok = true;
    } else if (p[i] == '#') {
      ok = single && IsAsciiDigit(c);
    } else if (p[i] == '@') {
      ok = single && (callsign ? IsAsciiUpper(c) : IsAsciiLetter(c));
    } else {
      step = unit(p, i);
      ok = callsign ? p[i] == t[j] : SameChar(p, i, t, j, ignoreCase);
    }
    if (!ok) return false;
    i += step;
    j += unit(t, j);
  }
  return j == t.size();
}

std::string Pick(std::mt19937& random, const std::vector<std::string>& pieces, int most) {
  std::string out;
  for (int n = static_cast<int>(random() % (most + 1)); n > 0; --n) out += pieces[random() % pieces.size()];
  return out;
}

TEST(MatcherAgreementTest, PlainMatcherAgreesWithPlainRecursion) {
  std::mt19937 random(2024);
  std::vector<std::string> patternPieces{"*", "?", "#", "@", "A", "a", "1", "ソ", "\\", "*?"};
  std::vector<std::string> textPieces{"A", "a", "1", "ソ", "\\", "b"};
  for (int i = 0; i < 30000; ++i) {
    std::string pattern = Pick(random, patternPieces, 6), text = Pick(random, textPieces, 8);
    bool ignoreCase = i % 2 == 0;
    ASSERT_EQ(jstrwldc(pattern, text, ignoreCase), ReferenceMatch(pattern, text, false, ignoreCase, -1))
        << "pattern " << pattern << " text " << text << " ignoreCase " << ignoreCase;
  }
}

TEST(MatcherAgreementTest, CallsignMatcherAgreesWithPlainRecursion) {
  std::mt19937 random(7);
  // Half the patterns from every element, half from stars and the memory alone, where an
  // earlier star must often be retried.
  std::vector<std::string> allPieces{"*",  "?",  "#",  "@",  "A",  "1",  "%#",
                                     "%@", "%?", "%&", "%=", "%!", "%A", "%"};
  std::vector<std::string> memoryPieces{"*", "*", "%#", "%?", "%=", "%!", "1"};
  std::vector<std::string> textPieces{"A", "B", "1", "2", "a"};
  for (int i = 0; i < 30000; ++i) {
    std::string pattern = Pick(random, i % 2 ? allPieces : memoryPieces, 6),
                text = Pick(random, textPieces, 7);
    ASSERT_EQ(MatchCallsign(pattern, text), ReferenceMatch(pattern, text, true, false, -1))
        << "pattern " << pattern << " text " << text;
  }
}

}  // namespace
}  // namespace vondal
