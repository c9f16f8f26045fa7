#include "console/screen.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "console/fake_terminal.h"

namespace vondal {
namespace {

std::string Text(const Screen& screen, int row, int from, int to) {
  return std::string(screen.RowText(row).substr(from, to - from));
}

TEST(Screen, StartsBlankAndIsCutTo200By80) {
  Screen screen(250, 100);
  EXPECT_EQ(screen.Width(), 200);
  EXPECT_EQ(screen.Height(), 80);
  EXPECT_EQ(screen.CharAt(79, 199), ' ');
  EXPECT_EQ(screen.AttrAt(79, 199), kPlainAttr);
  EXPECT_TRUE(screen.RowChanged(0));
}

TEST(Screen, PutTextDrawsCharactersAndControlBytes) {
  Screen screen(80, 25);
  int end = screen.PutTextToEnd("ab漢\x01", 3, 10, 0x1F, 0x2A);
  EXPECT_EQ(end, 15);
  EXPECT_EQ(Text(screen, 3, 10, 15), "ab漢A");
  EXPECT_EQ(screen.KindAt(3, 12), kFirstHalf);
  EXPECT_EQ(screen.KindAt(3, 13), kSecondHalf);
  EXPECT_EQ(screen.AttrAt(3, 12), 0x1F);
  EXPECT_EQ(screen.AttrAt(3, 14), 0x2A);  // the control byte in the control attribute
}

TEST(Screen, TwoByteCharacterInTheLastAllowedColumnBecomesTilde) {
  Screen screen(80, 25);
  EXPECT_EQ(screen.PutText("a漢", 0, 0, 2, 7, 7), 2);
  EXPECT_EQ(Text(screen, 0, 0, 3), "a~ ");
  EXPECT_EQ(screen.KindAt(0, 1), kSingleByte);
  // The same at the right edge of the screen.
  EXPECT_EQ(screen.PutTextToEnd("漢", 1, 79, 7, 7), 80);
  EXPECT_EQ(screen.CharAt(1, 79), '~');
}

TEST(Screen, OverwritingEitherHalfRepairsTheOtherHalf) {
  Screen screen(80, 25);
  screen.PutTextToEnd("漢字", 0, 0, 7, 7);
  screen.PutTextToEnd("x", 0, 1, 7, 7);  // over the second half of 漢
  EXPECT_EQ(Text(screen, 0, 0, 4), "~x字");
  screen.PutTextToEnd("y", 0, 2, 7, 7);  // over the first half of 字
  EXPECT_EQ(Text(screen, 0, 0, 4), "~xy~");
  EXPECT_EQ(screen.KindAt(0, 3), kSingleByte);

  screen.PutTextToEnd("漢字", 1, 0, 7, 7);
  screen.PutChar('z', 1, 2, 7);  // first half of 字
  EXPECT_EQ(Text(screen, 1, 0, 4), "漢z~");
  screen.PutChar('w', 1, 1, 7);  // second half of 漢
  EXPECT_EQ(Text(screen, 1, 0, 4), "~wz~");

  // A two-byte character drawn across the boundary of another.
  screen.PutTextToEnd("漢字", 2, 0, 7, 7);
  screen.PutTextToEnd("仮", 2, 1, 7, 7);
  EXPECT_EQ(Text(screen, 2, 0, 4), "~仮~");
}

TEST(Screen, ClearingHalfACharacterRepairsTheRest) {
  Screen screen(80, 25);
  screen.PutTextToEnd("漢字仮名", 0, 0, 7, 7);
  screen.ClearCells(0, 1, 4);
  EXPECT_EQ(Text(screen, 0, 0, 8), "~    ~名");
  screen.ClearCells(0, 70, 500);  // the end is cut to W-1
  EXPECT_EQ(screen.CharAt(0, 79), ' ');
}

TEST(Screen, DrawingAtOrBeyondTheWidthDrawsNothing) {
  Screen fresh(80, 25);
  FakeTerminal terminal(80, 25);
  fresh.Flush(terminal);
  EXPECT_EQ(fresh.PutTextToEnd("abc", 2, 80, 7, 7), 80);
  EXPECT_EQ(fresh.PutTextToEnd("abc", 2, 95, 7, 7), 95);
  EXPECT_EQ(fresh.PutTextToEnd("", 2, 5, 7, 7), 5);
  EXPECT_FALSE(fresh.RowChanged(2));
}

TEST(Screen, ReverseScrollAndClearRows) {
  Screen screen(80, 25);
  screen.PutTextToEnd("row1", 1, 0, 0x1E, 0x1E);
  screen.PutTextToEnd("row2", 2, 0, 7, 7);
  screen.ReverseCells(1, 0, 1);
  EXPECT_EQ(screen.AttrAt(1, 0), 0xE1);
  EXPECT_EQ(screen.AttrAt(1, 2), 0x1E);
  screen.ScrollUp(1, 3);
  EXPECT_EQ(Text(screen, 1, 0, 4), "row2");
  EXPECT_EQ(Text(screen, 3, 0, 4), "    ");
  screen.ScrollDown(1, 3);
  EXPECT_EQ(Text(screen, 1, 0, 4), "    ");
  EXPECT_EQ(Text(screen, 2, 0, 4), "row2");
  screen.ClearRows(2, 2);
  EXPECT_EQ(Text(screen, 2, 0, 4), "    ");
}

// The program keeps its screen in a block of (3 × W + 13) × H bytes from its local pool.
TEST(Screen, LivesInTheBlockItIsGivenAndCopiesOwnTheirs) {
  EXPECT_EQ(Screen::BlockBytes(80, 25), (3u * 80 + 13) * 25);
  EXPECT_EQ(Screen::BlockBytes(250, 100), (3u * 200 + 13) * 80);
  std::vector<unsigned char> block(Screen::BlockBytes(80, 25) + 2, 0xEE);
  Screen screen(80, 25, block.data() + 1);  // any alignment
  EXPECT_EQ(screen.BufferBytes(), block.size() - 2);
  EXPECT_EQ(block.front(), 0xEE);
  EXPECT_EQ(block.back(), 0xEE);  // nothing written outside the block
  screen.PutTextToEnd("漢a", 4, 3, 0x1E, 0x1E);
  EXPECT_NE(std::string(block.begin(), block.end()).find("漢a"), std::string::npos);

  // Scrolling moves characters, attributes and kinds together; a copy keeps what it copied.
  screen.ScrollDown(4, 6);
  Screen copy = screen;
  screen.ClearRows(0, 24);
  EXPECT_EQ(Text(copy, 5, 3, 6), "漢a");
  EXPECT_EQ(copy.KindAt(5, 4), kSecondHalf);
  EXPECT_EQ(copy.AttrAt(5, 5), 0x1E);
  EXPECT_EQ(Text(copy, 4, 0, 80), std::string(80, ' '));
  copy.ScrollUp(0, 24);
  EXPECT_EQ(Text(copy, 4, 3, 6), "漢a");
  EXPECT_EQ(Text(screen, 5, 3, 6), "   ");
  FakeTerminal terminal(80, 25);
  copy.Flush(terminal);
  EXPECT_EQ(terminal.Row(4).substr(3, 3), "漢a");
  screen = copy;
  EXPECT_EQ(Text(screen, 4, 3, 6), "漢a");
  EXPECT_EQ(block.back(), 0xEE);
}

TEST(Screen, BoxUsesTheCurrentGlyphSet) {
  Screen screen(80, 25);
  screen.DrawBox(0, 0, 2, 3, 7);
  EXPECT_EQ(Text(screen, 0, 0, 4), "\x01\x06\x06\x02");
  EXPECT_EQ(Text(screen, 1, 0, 4), "\x05  \x05");
  EXPECT_EQ(Text(screen, 2, 0, 4), "\x03\x06\x06\x04");
  screen.SetFrameGlyphs(FrameGlyphSet::kAscii);
  screen.DrawBox(0, 0, 2, 3, 7);
  EXPECT_EQ(Text(screen, 0, 0, 4), "+--+");
  EXPECT_EQ(Text(screen, 1, 0, 4), "|  |");
  screen.SetFrameGlyphs(FrameGlyphSet::kNone);
  screen.DrawBox(0, 0, 2, 3, 7);
  EXPECT_EQ(Text(screen, 0, 0, 4), "    ");
}

TEST(Screen, FlushWritesOnlyChangedRowsAsRunsAndSparesTheBottom) {
  Screen screen(80, 25);
  FakeTerminal terminal(80, 25);
  screen.PutTextToEnd("bottom", 24, 0, 7, 7);
  screen.PutTextToEnd(std::string(80, 'x'), 23, 0, 7, 7);
  screen.Flush(terminal);
  EXPECT_EQ(terminal.Row(24), std::string(80, ' '));        // row H-1 never written
  EXPECT_EQ(terminal.Row(23), std::string(79, 'x') + ' ');  // last cell of row H-2 untouched
  EXPECT_EQ(terminal.runsDrawn(), 24u);                     // one run per row of equal attribute

  size_t before = terminal.cellsDrawn();
  screen.Flush(terminal);
  EXPECT_EQ(terminal.cellsDrawn(), before);  // nothing changed, nothing sent

  size_t runs = terminal.runsDrawn();
  screen.PutTextToEnd("ab", 5, 10, 0x1F, 0x1F);
  screen.PutTextToEnd("漢", 5, 12, 0x2F, 0x2F);
  screen.ReverseCells(5, 13, 13);  // the second half's attribute does not split the character
  screen.Flush(terminal);
  EXPECT_EQ(terminal.runsDrawn() - runs, 4u);  // plain, ab, 漢, plain
  EXPECT_EQ(terminal.Row(5).substr(10, 4), "ab漢");
  EXPECT_EQ(terminal.Attr(5, 12), 0x2F);
}

TEST(Screen, TwoByteCharacterCutByTheSparedCellShowsTilde) {
  Screen screen(80, 25);
  FakeTerminal terminal(80, 25);
  screen.PutTextToEnd("漢", 23, 78, 7, 7);
  screen.Flush(terminal);
  EXPECT_EQ(terminal.Row(23).substr(78), "~ ");
}

}  // namespace
}  // namespace vondal
