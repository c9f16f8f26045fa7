#include "tools/scroll/scroll_options.h"

#include <gtest/gtest.h>

namespace vondal::scroll {
namespace {

// Parses on an 80 × 25 screen; the refusal, or "" with the options in *options.
std::string Parse(std::vector<std::string> args, ScrollOptions* options = nullptr) {
  ScrollOptions scratch;
  return ParseOptions(args, 25, 80, options != nullptr ? options : &scratch);
}

TEST(ScrollOptions, DefaultsFillTheScreenAboveTheFooter) {
  ScrollOptions o;
  ASSERT_EQ(Parse({"report.txt"}, &o), "");
  EXPECT_EQ(o.fileName, "report.txt");
  EXPECT_EQ(o.top, 1);
  EXPECT_EQ(o.bottom, 22);
  EXPECT_EQ(o.left, 0);
  EXPECT_EQ(o.right, 79);
  EXPECT_EQ(o.fixed, 8);
  EXPECT_EQ(o.step, 8);
  EXPECT_EQ(o.frameAttr, 128);
  EXPECT_FALSE(o.nameHeader || o.synchronous || o.startedByVondal || o.memoryReport);
}

TEST(ScrollOptions, ValuesFollowTheLetterInEitherCaseAndTheLastNameWins) {
  ScrollOptions o;
  ASSERT_EQ(Parse({"a.txt", "-T3", "-l2", "-B20", "-r70", "-F4", "-h5", "-m", "-N", "-s", "b.txt"}, &o), "");
  EXPECT_EQ(o.fileName, "b.txt");
  EXPECT_EQ(o.top, 3);
  EXPECT_EQ(o.left, 2);
  EXPECT_EQ(o.bottom, 20);
  EXPECT_EQ(o.right, 70);
  EXPECT_EQ(o.fixed, 4);
  EXPECT_EQ(o.step, 5);
  EXPECT_TRUE(o.memoryReport && o.nameHeader && o.synchronous);
}

TEST(ScrollOptions, NegativeBottomAndRightCountFromTheEnd) {
  ScrollOptions o;
  ASSERT_EQ(Parse({"-r-1", "-b-2"}, &o), "");
  EXPECT_EQ(o.right, 78);
  EXPECT_EQ(o.bottom, 22);
  // 25 + (-1) - 1 = 23 lies below the last row a view may use (22).
  EXPECT_EQ(Parse({"-b-1"}), "Invalid bottom position");
  EXPECT_EQ(Parse({"-b23"}), "Invalid bottom position");
  EXPECT_EQ(Parse({"-r80"}), "Invalid right position");
}

TEST(ScrollOptions, EachBadValueHasItsOwnText) {
  EXPECT_EQ(Parse({"-t-1"}), "Invalid top position");
  EXPECT_EQ(Parse({"-l-1"}), "Invalid left position");
  EXPECT_EQ(Parse({"-f-1"}), "Invalid fixed length");
  EXPECT_EQ(Parse({"-h0"}), "Invalid horizontal step");
  EXPECT_EQ(Parse({"-cx"}), "Unknown color mode");
  EXPECT_EQ(Parse({"-c"}), "Unknown color mode");
  EXPECT_EQ(Parse({"-q"}), "Unknown option");
  EXPECT_EQ(Parse({"-"}), "Unknown option");
  // The first refusal ends the reading, left to right.
  EXPECT_EQ(Parse({"-h0", "-q"}), "Invalid horizontal step");
}

TEST(ScrollOptions, AValueThatIsNoNumberIsRefusedNotTakenAsZero) {
  EXPECT_EQ(Parse({"-tx"}), "Invalid top position");
  EXPECT_EQ(Parse({"-t"}), "Invalid top position");
  EXPECT_EQ(Parse({"-l5x"}), "Invalid left position");
  EXPECT_EQ(Parse({"-b99999999999"}), "Invalid bottom position");
  EXPECT_EQ(Parse({"-h"}), "Invalid horizontal step");
}

TEST(ScrollOptions, TheSizeChecksComeAfterAllArguments) {
  // Width 11 is too narrow; 12 is the least.
  EXPECT_EQ(Parse({"-l0", "-r10"}), "Invalid horizontal size");
  EXPECT_EQ(Parse({"-l0", "-r11", "-f0"}), "");
  // Fixed columns need two columns of the line beside them.
  EXPECT_EQ(Parse({"-r11", "-f10"}), "");
  EXPECT_EQ(Parse({"-r11", "-f11"}), "Invalid horizontal size");
  // Two rows at least: bottom - top - 1 must not be negative.
  EXPECT_EQ(Parse({"-t5", "-b6"}), "");
  EXPECT_EQ(Parse({"-t5", "-b5"}), "Invalid vertical size");
  EXPECT_EQ(Parse({"-t2147483647"}), "Invalid vertical size");
  EXPECT_EQ(Parse({"-l2147483647"}), "Invalid horizontal size");
  EXPECT_EQ(Parse({"-f2147483647"}), "Invalid horizontal size");
}

TEST(ScrollOptions, ColourModeSTakesTheColourFileFromTheRestOfTheArgument) {
  ScrollOptions o;
  ASSERT_EQ(Parse({"-csCOLORS.TXT"}, &o), "");
  EXPECT_EQ(o.colorMode, 's');
  EXPECT_EQ(o.colorFile, "COLORS.TXT");
  ASSERT_EQ(Parse({"-cdIGNORED"}, &o), "");
  EXPECT_EQ(o.colorMode, 'd');
}

TEST(ScrollOptions, StartedByVondalTheFrameTakesTheBorderLetters) {
  ScrollOptions o;
  ASSERT_EQ(Parse({"-Vondal/kK", "out.txt"}, &o), "");
  EXPECT_EQ(o.frameAttr, 8);  // black background: the foreground colour on black
  EXPECT_TRUE(o.startedByVondal && o.nameHeader && o.synchronous);
  ASSERT_EQ(Parse({"-Vondal/wk"}, &o), "");
  EXPECT_EQ(o.frameAttr, 112);  // white background
  ASSERT_EQ(Parse({"-Vondal/Bx"}, &o), "");
  EXPECT_EQ(o.frameAttr, 11 * 16);
  ASSERT_EQ(Parse({"-Vondal/"}, &o), "");
  EXPECT_EQ(o.frameAttr, 112);  // no letters: 7 for each
  EXPECT_EQ(Parse({"-Vonda"}), "Unknown option");
}

}  // namespace
}  // namespace vondal::scroll
