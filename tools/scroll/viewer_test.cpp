#include "tools/scroll/viewer.h"

#include <gtest/gtest.h>

#include "app/text/sjis.h"
#include "console/fake_terminal.h"
#include "console/key_source.h"
#include "tools/scroll/frame_text.h"
#include "tools/scroll/line_colors.h"

namespace vondal::scroll {
namespace {

constexpr int kCtrlR = 18;
constexpr int kCtrlP = 16;

// "line 0" ... "line <count-1>".
std::string NumberedLines(int count) {
  std::string content;
  for (int i = 0; i < count; ++i) content += "line " + std::to_string(i) + "\n";
  return content;
}

class ViewerTest : public ::testing::Test {
 protected:
  void TearDown() override { SetKeySource(nullptr); }

  // Starts a viewer on `content` with the command line `args` on an 80 × 25 screen.
  Viewer& Open(const std::string& content, std::vector<std::string> args = {"t.txt"}) {
    content_ = content;
    EXPECT_EQ(ParseOptions(args, 25, 80, &options_), "");
    EXPECT_EQ(BuildText(content_, options_.colorMode, "", allocator_, &text_), "");
    FitViewToText(static_cast<long>(text_.count()), &options_);
    viewer_ = std::make_unique<Viewer>(text_, options_, 80, terminal_);
    SetKeySource(&terminal_);
    viewer_->DrawAll();
    return *viewer_;
  }
  void Press(const KeyEvent& key) { EXPECT_EQ(viewer_->HandleKey(key), 0); }
  void Press(int scanCode, bool shift = false) { Press(ExtendedKey(scanCode, shift)); }
  void Type(std::string_view text) {
    for (char c : text) Press(CharacterKey(static_cast<unsigned char>(c)));
  }
  std::string Row(int row) const {
    std::string text = terminal_.Row(row);
    return text.substr(0, text.find_last_not_of(' ') + 1);
  }

  std::string content_;
  ScrollOptions options_;
  BlockAllocator allocator_{SIZE_MAX, kScrollBlockSize};
  ScrollText text_;
  FakeTerminal terminal_{80, 25};
  std::unique_ptr<Viewer> viewer_;
};

TEST_F(ViewerTest, AShortFileEndsTheViewAtTheEndOfFileRow) {
  Viewer& viewer = Open("a\nb\nc\n", {"t.txt", "-b20"});
  EXPECT_EQ(Row(3), "c");
  EXPECT_EQ(Row(4), "[EOF]");
  EXPECT_EQ(terminal_.Attr(4, 0), kEndOfFileAttr);
  // The footer follows at once, with the column figure only.
  EXPECT_EQ(Row(5), std::string(Ruler(75)) + "x0");
  EXPECT_EQ(terminal_.Attr(5, 75), kStatusAttr);
  Press(scan::kDown);
  EXPECT_EQ(viewer.pane(0).position, 0);
  // Nothing to go to or to split.
  Type("1\t");
  EXPECT_FALSE(viewer.split());
}

TEST_F(ViewerTest, PagesMoveHalfAViewAndStopAtTheEnds) {
  Viewer& viewer = Open(NumberedLines(100));
  EXPECT_EQ(Row(0), Ruler(80).substr(0, 71));
  EXPECT_EQ(Row(24 - 1), Ruler(68) + "y0     x0");
  Press(scan::kPgDn);
  EXPECT_EQ(viewer.pane(0).position, 11);
  EXPECT_EQ(Row(1), "line 11");
  EXPECT_EQ(Row(23).substr(68), "y11    x0");
  Press(scan::kEnd);
  EXPECT_EQ(viewer.pane(0).position, 78);
  Press(scan::kPgDn);
  Press(scan::kDown);
  EXPECT_EQ(viewer.pane(0).position, 78);
  EXPECT_EQ(Row(22), "line 99");
  Press(scan::kPgUp);
  EXPECT_EQ(viewer.pane(0).position, 67);
  Press(scan::kHome);
  Press(scan::kUp);
  EXPECT_EQ(viewer.pane(0).position, 0);
}

TEST_F(ViewerTest, SearchMarksMatchingLinesAndJumpsToTheNextBelowTheView) {
  Viewer& viewer = Open(NumberedLines(100));
  // The prompt starts with the previous pattern, "**".
  terminal_.PushKey(CharacterKey(8));
  terminal_.PushKey(CharacterKey(8));
  terminal_.PushKeys("*7*\r");
  Type("F");
  EXPECT_EQ(viewer.pattern(), "*7*");
  // Lines 7 and 17 are in view; the jump goes to 27, into the middle row.
  EXPECT_EQ(viewer.pane(0).position, 27 - 11);
  EXPECT_EQ(terminal_.Attr(1 + 11, 0), 7 * 16);
  EXPECT_EQ(Row(1 + 11), "line 27");
  // Line 37 is the last one shown: the next jump goes to 47.
  Type("n");
  EXPECT_EQ(viewer.pane(0).position, 47 - 11);
  Type("p");
  EXPECT_EQ(viewer.pane(0).position, 27 - 11);
  EXPECT_EQ(terminal_.KeysLeft(), 0u);
}

TEST_F(ViewerTest, NonMatchOfTheDefaultPatternMarksNothing) {
  Viewer& viewer = Open(NumberedLines(100));
  terminal_.PushKey(CharacterKey(kCtrlR));
  terminal_.PushKey(CharacterKey(13));
  Type("F");
  for (uint8_t color : text_.colors) EXPECT_EQ(color & kMarked, 0);
  EXPECT_EQ(viewer.pane(0).position, 0);
}

TEST_F(ViewerTest, SearchCaseSwitchEscAndCtrlP) {
  Viewer& viewer = Open("Alpha\nbeta\nALPHA\n" + NumberedLines(60) + "alpha\n");
  Press(scan::kEnd);
  // Tab makes the search case-sensitive; Ctrl+P ends it and jumps backwards.
  terminal_.PushKey(CharacterKey(9));
  terminal_.PushKey(CharacterKey(8));
  terminal_.PushKey(CharacterKey(8));
  terminal_.PushKeys("ALPHA");
  terminal_.PushKey(CharacterKey(kCtrlP));
  Type("F");
  EXPECT_FALSE(viewer.pane(0).ignoreCase);
  EXPECT_EQ(text_.colors[0] & kMarked, 0);
  EXPECT_EQ(text_.colors[2] & kMarked, kMarked);
  EXPECT_EQ(viewer.pane(0).position, 0);
  // Esc leaves the marks and the pattern as they were.
  terminal_.PushKeys("zz");
  terminal_.PushKey(CharacterKey(27));
  Type("F");
  EXPECT_EQ(viewer.pattern(), "ALPHA");
  EXPECT_EQ(Row(1), "Alpha");
}

TEST_F(ViewerTest, GoToLineTakesANumberThatFillsTheView) {
  Viewer& viewer = Open(NumberedLines(100));
  terminal_.PushKeys("2\r");
  Type("4");
  EXPECT_EQ(viewer.pane(0).position, 42);
  EXPECT_EQ(Row(23).substr(68), "y42    x0");
  // Beyond the last full view, or not a number: the position stays.
  terminal_.PushKeys("9\r");
  Type("9");
  terminal_.PushKeys("x\r");
  Type("1");
  terminal_.PushKey(CharacterKey(27));
  Type("5");
  EXPECT_EQ(viewer.pane(0).position, 42);
  terminal_.PushKeys("8\r");
  Type("7");
  EXPECT_EQ(viewer.pane(0).position, 78);
}

TEST_F(ViewerTest, TabSplitsAtTheMiddleRowAndCtrlTabJoinsThePanes) {
  Viewer& viewer = Open(NumberedLines(100));
  Press(scan::kPgDn);  // position 11
  Type("\t");
  ASSERT_TRUE(viewer.split());
  // 22 rows: the separator is row 1 + 11 = 12; the lower pane starts with the line below it.
  EXPECT_EQ(viewer.pane(0).bottom, 11);
  EXPECT_EQ(viewer.pane(1).top, 13);
  EXPECT_EQ(viewer.pane(1).position, 11 + 11 + 1);
  EXPECT_EQ(Row(12).substr(0, 4), "-▲-");
  EXPECT_EQ(Row(12).substr(68), "y11    x0");
  EXPECT_EQ(Row(13), "line 23");
  Type("\t");
  EXPECT_EQ(viewer.activePane(), 1);
  EXPECT_EQ(Row(12).substr(0, 4), "-▼-");
  Type("s");
  EXPECT_EQ(Row(12).substr(0, 4), "-▼s");
  Press(scan::kDown);
  EXPECT_EQ(viewer.pane(1).position, 24);
  EXPECT_EQ(viewer.pane(0).position, 11);
  // Joined from the lower pane: its position less the separator's distance from the top.
  Press(CharacterKey(9, false, true));
  EXPECT_FALSE(viewer.split());
  EXPECT_EQ(viewer.pane(0).position, 24 - 11);
  EXPECT_TRUE(viewer.pane(0).synchronous);
  EXPECT_EQ(Row(12), "line 24");
}

TEST_F(ViewerTest, SynchronousPanesScrollSidewaysTogether) {
  Viewer& viewer = Open(NumberedLines(100), {"t.txt", "-s"});
  Type("\t");
  Press(scan::kRight);
  EXPECT_EQ(viewer.pane(0).offset, 8);
  EXPECT_EQ(viewer.pane(1).offset, 8);
  EXPECT_EQ(Row(2), "line 1  |");
  Press(ExtendedKey(scan::kCtrlLeft, false, true));
  EXPECT_EQ(viewer.pane(1).fixed, 7);
  Type("s");
  Press(scan::kLeft);
  EXPECT_EQ(viewer.pane(0).offset, 0);
  EXPECT_EQ(viewer.pane(1).offset, 8);
  // Shift+Tab joins the panes too, for terminals without Ctrl+Tab.
  Press(CharacterKey(9, true));
  EXPECT_FALSE(viewer.split());
}

TEST_F(ViewerTest, ShiftRightGoesAsFarAsTheWidestShownLineNeeds) {
  Viewer& viewer = Open(std::string(100, 'x') + "\nshort\n" + NumberedLines(40));
  Press(scan::kRight, true);
  // 100 - 80 + 1 = 21, rounded up to the step of 8.
  EXPECT_EQ(viewer.pane(0).offset, 24);
  Press(scan::kLeft, true);
  EXPECT_EQ(viewer.pane(0).offset, 0);
  Press(scan::kDown);
  Press(scan::kRight, true);
  EXPECT_EQ(viewer.pane(0).offset, 0);
}

TEST_F(ViewerTest, FixedColumnsChangeOnlyWhileScrolledSideways) {
  Viewer& viewer = Open(NumberedLines(30));
  Press(ExtendedKey(scan::kCtrlRight, false, true));
  EXPECT_EQ(viewer.pane(0).fixed, 8);
  Press(scan::kRight);
  Press(ExtendedKey(scan::kCtrlRight, false, true));
  EXPECT_EQ(viewer.pane(0).fixed, 9);
  Press(ExtendedKey(scan::kCtrlLeft, true, true));
  EXPECT_EQ(viewer.pane(0).fixed, 0);
  Press(ExtendedKey(scan::kCtrlLeft, false, true));
  EXPECT_EQ(viewer.pane(0).fixed, 0);
}

TEST_F(ViewerTest, TheFrameShowsTheFittedNameAndBlankSideColumns) {
  Open(NumberedLines(30),
       {"/a/very/long/folder/name/for/the/reports/of/vondal/report.txt", "-n", "-l2", "-r40", "-Vondal/wk"});
  EXPECT_EQ(Row(0).substr(2), "/a/very/long/f･･ts/of/vondal/report.txt");
  EXPECT_EQ(terminal_.Attr(0, 1), 112);
  EXPECT_EQ(terminal_.Attr(10, 1), 112);
  EXPECT_EQ(terminal_.Attr(10, 41), 112);
  EXPECT_EQ(terminal_.Attr(10, 42), 7);
  viewer_->DrawFrame(8);
  EXPECT_EQ(terminal_.Attr(0, 2), 8);
}

TEST_F(ViewerTest, EnterAndEscEndTheViewer) {
  Viewer& viewer = Open("x\n");
  EXPECT_EQ(viewer.HandleKey(CharacterKey(13)), 13);
  EXPECT_EQ(viewer.HandleKey(CharacterKey(27)), 27);
}

TEST_F(ViewerTest, AFiftyMegabyteLineAndBinaryBytesAreShownWithoutHarm) {
  std::string content(50000000, 'x');
  content += "\n";
  for (int i = 0; i < 4096; ++i) content.push_back(static_cast<char>(i * 131 % 256));
  Viewer& viewer = Open(content);
  EXPECT_GT(text_.count(), 5000u);
  Press(scan::kEnd);
  Press(scan::kRight, true);
  EXPECT_GT(viewer.pane(0).offset, 0);
  terminal_.PushKeys("\r");
  Type("f");
  Type("n");
  // No control byte reaches the terminal outside a two-byte character (which it converts whole).
  for (int row = 1; row <= 22; ++row) {
    const std::string cells = terminal_.Row(row);
    for (size_t i = 0; i < cells.size(); i += CharLength(cells, i)) {
      if (CharLength(cells, i) == 1) {
        EXPECT_GE(static_cast<unsigned char>(cells[i]), 0x20);
      }
    }
  }
}

}  // namespace
}  // namespace vondal::scroll
