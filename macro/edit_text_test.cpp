#include "macro/edit_text.h"

#include <gtest/gtest.h>

#include "app/text/brackets.h"

namespace vondal {
namespace {

// a b 日(2-3) 本(4-5) c d
constexpr std::string_view kMixed = "ab日本cd";
// ア is 0x83 0x41: its second byte is the letter "A".
constexpr std::string_view kKanaA = "アA";

int Move(std::string_view text, int cursor, char move, int offset = 0, int width = 20) {
  return MovedCursor(text, cursor, offset, width, move);
}

TEST(EditTextTest, CharacterStepsNeverLandInsideAPair) {
  EXPECT_EQ(Move(kMixed, 1, '+'), 2);
  EXPECT_EQ(Move(kMixed, 2, '+'), 4);
  EXPECT_EQ(Move(kMixed, 8, '+'), 8);
  EXPECT_EQ(Move(kMixed, 4, '-'), 2);
  EXPECT_EQ(Move(kMixed, 0, '-'), 0);
  EXPECT_EQ(Move(kKanaA, 3, '-'), 2);
  EXPECT_EQ(Move(kKanaA, 2, '-'), 0);
  EXPECT_EQ(Move(kMixed, 5, '<'), 0);
  EXPECT_EQ(Move(kMixed, 1, '>'), 8);
  EXPECT_EQ(Move(kMixed, 3, 'x'), 3);
}

TEST(EditTextTest, WindowMovesKeepPairsWhole) {
  // "L": the first visible column, one further when it holds a second byte.
  EXPECT_EQ(Move(kMixed, 6, 'L', 2, 4), 2);
  EXPECT_EQ(Move(kMixed, 6, 'L', 3, 4), 4);
  // "R": the end when the rest fits; else the last column, back onto a pair's first byte, or
  // before a pair the edge cuts.
  EXPECT_EQ(Move(kMixed, 0, 'R', 2, 20), 8);
  EXPECT_EQ(Move(kMixed, 0, 'R', 0, 4), 2);
  EXPECT_EQ(Move(kMixed, 1, 'R', 1, 4), 2);
  EXPECT_EQ(Move(kMixed, 0, 'R', 0, 3), 1);
  EXPECT_EQ(Move("abcdefgh", 0, 'R', 0, 5), 4);
  // "l" and "r": half a window ((5 + 1) / 2 = 3), off a second byte, "r" not past the end.
  EXPECT_EQ(Move(kMixed, 6, 'l', 0, 5), 2);
  EXPECT_EQ(Move(kMixed, 2, 'l', 0, 5), 0);
  EXPECT_EQ(Move(kMixed, 0, 'r', 0, 5), 4);
  EXPECT_EQ(Move(kMixed, 6, 'r', 0, 5), 8);
  EXPECT_EQ(Move(kMixed, 8, 'r', 0, 5), 8);
}

TEST(EditTextTest, WindowFollowsTheCursor) {
  EXPECT_EQ(OffsetShowingCursor(kMixed, 1, 4, 4), 1);   // left of the window
  EXPECT_EQ(OffsetShowingCursor(kMixed, 6, 0, 4), 3);   // right of it
  EXPECT_EQ(OffsetShowingCursor(kMixed, 4, 0, 4), 2);   // on a lead byte right of it: one more
  EXPECT_EQ(OffsetShowingCursor(kMixed, 2, 0, 3), 1);   // on a pair the right edge cuts
  EXPECT_EQ(OffsetShowingCursor(kMixed, 2, 0, 20), 0);  // inside
  // After a deletion the end of the text comes back to the last column, not below 0.
  EXPECT_EQ(OffsetAfterDeletion(5, 10, 8), 0);
  EXPECT_EQ(OffsetAfterDeletion(11, 10, 4), 8);
  EXPECT_EQ(OffsetAfterDeletion(12, 10, 4), 10);  // one column left of the end: stays
}

TEST(EditTextTest, SearchAndReplaceMatchWholeCharactersOnly) {
  EXPECT_EQ(FindTarget("xaby", 1, "a"), 1);  // from the cursor itself
  EXPECT_EQ(FindTarget("xaby", 2, "a"), -1);
  EXPECT_EQ(FindTarget(kKanaA, 0, "A"), 2);  // not the second byte of ア
  EXPECT_EQ(FindTarget(kMixed, 0, "本"), 4);
  EXPECT_EQ(FindTarget(kMixed, 0, ""), -1);

  EXPECT_EQ(ReplaceEvery("aaaa", "aa", "b"), "bb");
  EXPECT_EQ(ReplaceEvery("aaa", "aa", "a"), "aa");
  EXPECT_EQ(ReplaceEvery("abc", "", "x"), "abc");
  EXPECT_EQ(ReplaceEvery(kKanaA, "A", "x"), "アx");
  EXPECT_EQ(ReplaceEvery("日本日", "日", "月"), "月本月");
}

TEST(EditTextTest, BracketPartnersHalfAndFullWidth) {
  EXPECT_EQ(PartnerBracket("(a)", 0), 2);
  EXPECT_EQ(PartnerBracket("x「a」", 1), 4);
  EXPECT_EQ(PartnerBracket("x「a」", 4), 1);
  EXPECT_EQ(PartnerBracket("(a", 0), kNoPartner);
  EXPECT_EQ(PartnerBracket("ab", 0), kNotABracket);
  EXPECT_EQ(PartnerBracket("ab", 2), kNotABracket);
}

TEST(EditTextTest, CaseModes) {
  EXPECT_EQ(CaseConverted('a', 'U', false), 'A');
  EXPECT_EQ(CaseConverted('A', 'L', false), 'a');
  EXPECT_EQ(CaseConverted('A', 'R', false), 'a');
  EXPECT_EQ(CaseConverted('a', 'R', false), 'A');
  EXPECT_EQ(CaseConverted('a', 'I', false), 'A');
  EXPECT_EQ(CaseConverted('A', 'I', true), 'a');
  EXPECT_EQ(CaseConverted('a', ' ', false), 'a');
  EXPECT_EQ(CaseConverted('1', 'U', false), '1');
}

}  // namespace
}  // namespace vondal
