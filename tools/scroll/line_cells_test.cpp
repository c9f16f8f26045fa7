#include "tools/scroll/line_cells.h"

#include <gtest/gtest.h>

#include "tools/scroll/frame_text.h"

namespace vondal::scroll {
namespace {

TEST(LineCells, TabsGoToTheNextStopWithADotInTheirFirstCell) {
  // A tab at column 2 fills columns 2 and 3.
  EXPECT_EQ(LineCells("ab\tc", 0, 8, 12), "ab･ c       ");
  EXPECT_EQ(LineCells("\tx", 0, 8, 12), "･   x       ");
  EXPECT_EQ(ExpandedWidth("ab\tc"), 5);
  EXPECT_EQ(ExpandedWidth("漢\t"), 4);
}

TEST(LineCells, ControlCharactersAndBytesThatAreNoCharacterTakeOneSafeCell) {
  EXPECT_EQ(LineCells(std::string("a\x1b[2J\x7f\0b", 8), 0, 0, 12), "a^[2J^^b    ");
  EXPECT_EQ(LineCells("\x80\xA0\xFD"
                      "ｶ",
                      0, 0, 12),
            "???ｶ        ");
  // A lead byte that ends the line alone is no character.
  EXPECT_EQ(LineCells("a\x81", 0, 0, 12), "a?          ");
}

TEST(LineCells, ATwoByteCharacterCutAtTheRightEdgeShowsATilde) {
  EXPECT_EQ(LineCells("abcdefghijk漢", 0, 8, 12), "abcdefghijk~");
  EXPECT_EQ(LineCells("abcdefghij漢", 0, 8, 12), "abcdefghij漢");
}

TEST(LineCells, ScrolledSidewaysTheFixedColumnsStayBeforeABar) {
  const std::string line = "0123456789abcdefghijklmnopqrstuvwxyz";
  // Four fixed columns, "|", then the line from column 8 + 4 = 12.
  EXPECT_EQ(LineCells(line, 8, 4, 12), "0123|cdefghi");
  EXPECT_EQ(LineCells(line, 8, 0, 12), "|89abcdefghi");
  // Past the end of the line only blanks follow.
  EXPECT_EQ(LineCells("short", 8, 2, 12), "sh|         ");
}

TEST(LineCells, TwoByteCharactersCutByTheFixedColumnsOrTheOffsetShowTildes) {
  // 漢 takes columns 3-4. Four fixed columns cut its second half off; the scrolled part starts
  // at column 1 + 4 = 5, behind it.
  EXPECT_EQ(LineCells("abc漢字def", 1, 4, 12), "abc~|字def  ");
  // Three fixed columns: the scrolled part starts at column 4, its second half.
  EXPECT_EQ(LineCells("abc漢字def", 1, 3, 12), "abc|~字def  ");
}

TEST(FrameText, RulerShowsTheTensDigitEveryTenColumns) {
  EXPECT_EQ(Ruler(25), "0         1         2    ");
  EXPECT_EQ(Ruler(0), "");
  EXPECT_EQ(Ruler(101).substr(100), "0");
}

TEST(FrameText, LongFileNamesKeepTheirStartAndTheirEnd) {
  EXPECT_EQ(FitFileName("short.txt", 12), "short.txt");
  // Base name at 14: n = (14 + 20 - 30 - 1) / 2 = 1, at least 2; the tail takes 16 bytes.
  EXPECT_EQ(FitFileName("/home/reports/2024-12-31-a.txt", 20), "/h･･2024-12-31-a.txt");
  // A long folder part: n = (28 + 20 - 33 - 1) / 2 = 7.
  EXPECT_EQ(FitFileName("/aaaaaaaaaaaaaaaaaaaaaaaaaa/b.txt", 20), "/aaaaaa･･aaaaa/b.txt");
}

TEST(FrameText, FittingNeverCutsATwoByteCharacter) {
  // 29 bytes into 12: the head of 2 bytes would end inside 漢, so it keeps 1; the tail of 9
  // bytes would start inside な, so it starts one byte later.
  EXPECT_EQ(FitFileName("a漢字かなカナ漢字かなカナ.txt", 12), "a･･カナ.txt");
}

}  // namespace
}  // namespace vondal::scroll
