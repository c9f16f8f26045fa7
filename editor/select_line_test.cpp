#include "editor/select_line.h"

#include <gtest/gtest.h>

#include "color/color_set.h"
#include "log/log_format.h"

namespace vondal {
namespace {

class SelectLineTest : public ::testing::Test {
 protected:
  SelectLineTest() {
    SetCurrentColorTable(DefaultColorTable());
    record[DATE] = "240305";
    record[START] = "0907";
    record[END] = "0910";
    record[CALLSIGN] = "JA1ABC";
    record[FREQ] = "7.025";
    record[MODE] = "CW";
    record[sRST] = "599";
    record[rRST] = "579";
  }

  // The line as drawn, columns 0 … W-1.
  std::string Draw(int width = 80) {
    Screen screen(width, 25);
    screen.SetFrameGlyphs(FrameGlyphSet::kAscii);
    RecordImage image = EncodeRecord(record);
    RecordReader reader;
    SelectLine line;
    line.texts = &reader.Split(image.data());
    line.marked = marked;
    line.state = state;
    line.highlighted = highlighted;
    DrawSelectLine(screen, 3, line, display, today);
    attrs.clear();
    for (int col = 0; col < width; ++col) attrs.push_back(screen.AttrAt(3, col));
    return std::string(screen.RowText(3));
  }

  Record record;
  DisplaySettings display;
  Today today{26, 12, 9};
  bool marked = false;
  char state = 0;
  bool highlighted = false;
  std::vector<uint8_t> attrs;
};

TEST_F(SelectLineTest, ColumnsWithAndWithoutEnd) {
  display.weekday = true;
  std::string line = Draw();
  EXPECT_EQ(line.substr(0, 30), "|240305ｶ0907 JA1ABC      7.025");
  EXPECT_EQ(line.substr(30, 3), "C  ");  // MODE in one column, the empty rQSL column
  EXPECT_EQ(line.back(), '|');

  display.endColumn = true;
  state = 1;
  line = Draw();
  EXPECT_EQ(line.substr(0, 36), "|240305ｶ0907-0910_JA1ABC      7.025C");
  EXPECT_EQ(line.find("JA1ABC"), 18u);
  EXPECT_EQ(attrs[17], ColorOf(ColorElement::Callsign));  // the call-sign search marker
  state = 2;
  Draw();
  EXPECT_EQ(attrs[17], ColorOf(ColorElement::Date));  // the date search marker
}

TEST_F(SelectLineTest, FreqAlignsOnItsPointWithTheDigitSetting) {
  display.modeWidth = 0;
  const struct {
    const char* freq;
    int digits;
    const char* shown;  // columns 20 … 31
  } cases[] = {
      {"7.025", 3, "     7.025  "}, {"7.025", -1, "     7      "},     {"7.025", 1, "     7.0    "},
      {"14.2", 5, "    14.2    "},  {"1296.12345", 5, "  1296.12345"}, {"50", 3, "    50      "},
      {"432.1", 2, "   432.1    "},
  };
  for (const auto& c : cases) {
    record[FREQ] = c.freq;
    display.freqDigits = c.digits;
    EXPECT_EQ(Draw().substr(20, 12), c.shown) << c.freq << " " << c.digits;
  }
}

TEST_F(SelectLineTest, ContestRstQthNameAndRemarksFollowInOrder) {
  record[rQSL] = "J";
  record[QTH] = "東京都";
  record[NAME] = "ｽｽﾞｷ";
  record[REMARKS] = "memo";
  std::string line = Draw();
  EXPECT_EQ(line.substr(30, 19), "CJ東京都 ｽｽﾞｷ memo ");
  display.rstColumn = true;
  line = Draw();
  EXPECT_EQ(line.substr(30, 23), "CJ599/579 東京都 ｽｽﾞｷ m");
  display.rstColumn = false;
  record[CONTEST] = "ALLJA1";
  line = Draw();
  EXPECT_EQ(line.substr(30, 23), "CJALLJA1 599/579 東京都");
  record[rQSL] = "済";  // a two-byte first character takes its two columns
  record[CONTEST] = "";
  line = Draw();
  EXPECT_EQ(line.substr(30, 10), "C済東京都 ");
}

TEST_F(SelectLineTest, ModeAndRqslFollowFreqDirectlyForEveryDigitAndWidthSetting) {
  // With FREQ digits d MODE begins at column 27 + d (26 with digits -1), rQSL's column follows
  // MODE's width, and QTH the rQSL column.
  record[MODE] = "SSBXY";
  record[QTH] = "Q";
  for (int digits : {-1, 1, 2, 3, 4, 5}) {
    for (int width = 0; width <= 5; ++width) {
      display.freqDigits = digits;
      display.modeWidth = width;
      const std::string line = Draw();
      const size_t mode = digits < 0 ? 26 : 27 + digits;
      EXPECT_EQ(line.substr(mode, width + 2), record[MODE].substr(0, width) + " Q") << digits << " " << width;
    }
  }
}

TEST_F(SelectLineTest, MyQthStandsFlushRightInItsWidthOrLeftJustified) {
  record[MyQTH] = "横浜市";
  std::string line = Draw();
  EXPECT_EQ(line.substr(75, 5), "横浜|");  // width 4: the first four columns
  display.myqthWidth = 8;
  line = Draw();
  EXPECT_EQ(line.substr(73, 7), "横浜市|");
  display.myqthLeft = true;
  line = Draw();
  EXPECT_EQ(line.substr(71, 9), "横浜市  |");
  display.myqthWidth = 5;  // a width that would cut a character in half
  display.myqthLeft = false;
  line = Draw();
  EXPECT_EQ(line.substr(74, 6), " 横浜|");
  display.myqthWidth = 0;
  line = Draw();
  EXPECT_EQ(line.find("横浜"), std::string::npos);
}

TEST_F(SelectLineTest, LongTextsAreClippedAtTheBorderWithoutHalfCharacters) {
  record[REMARKS] = "ああああああああああああああああああああああああああああ";  // 56 columns
  std::string line = Draw();
  ASSERT_EQ(line.size(), 80u);
  EXPECT_EQ(line.back(), '|');
  // Column 78 cannot hold a whole character: it stays blank or shows "~".
  const char last = line[78];
  EXPECT_TRUE(last == ' ' || last == '~') << last;
  record[REMARKS] = "a" + record[REMARKS];
  line = Draw();
  EXPECT_EQ(line.back(), '|');
  EXPECT_EQ(line.size(), 80u);
  const std::string wide = Draw(120);
  EXPECT_NE(wide.find("ああああああああああああああああああああああああああああ"), std::string::npos);
}

TEST_F(SelectLineTest, WeekdayLettersAndInvalidDates) {
  EXPECT_EQ(WeekdayLetter("241229"), "ﾆ");  // Sunday
  EXPECT_EQ(WeekdayLetter("241230"), "ｹ");
  EXPECT_EQ(WeekdayLetter("000101"), "ﾄ");  // 2000-01-01, a Saturday
  EXPECT_EQ(WeekdayLetter("500101"), "ﾆ");  // 1950-01-01, a Sunday
  EXPECT_EQ(WeekdayLetter("491231"), "ｷ");  // 2049-12-31, a Friday
  EXPECT_EQ(WeekdayLetter("240230"), "");
  EXPECT_EQ(WeekdayLetter("2403"), "");
  record[DATE] = "241399";
  EXPECT_EQ(Draw()[7], ' ');
  display.weekday = false;
  record[DATE] = "241229";
  EXPECT_EQ(Draw()[7], ' ');
}

TEST_F(SelectLineTest, TodayColoursTheLastMatchingGroupAndTheHighlightWins) {
  const uint8_t now = ColorOf(ColorElement::DateNow);
  const uint8_t date = ColorOf(ColorElement::Date);
  auto groups = [&] {
    std::string out;
    for (int col = 1; col <= 6; ++col) out += attrs[col] == now ? 'N' : attrs[col] == date ? 'd' : '?';
    return out;
  };
  record[DATE] = "261209";
  Draw();
  EXPECT_EQ(groups(), "ddddNN");
  record[DATE] = "261201";
  Draw();
  EXPECT_EQ(groups(), "ddNNdd");
  record[DATE] = "260509";  // the day matches, but the month did not: the year is the last match
  Draw();
  EXPECT_EQ(groups(), "NNdddd");
  record[DATE] = "251209";
  Draw();
  EXPECT_EQ(groups(), "dddddd");
  record[DATE] = "261209";
  highlighted = true;
  Draw();
  EXPECT_EQ(attrs[1], ColorOf(ColorElement::MaskInfo));
  EXPECT_EQ(attrs[8], ColorOf(ColorElement::MaskInfo));  // START too
}

TEST_F(SelectLineTest, MarkAndEmptyLines) {
  marked = true;
  EXPECT_EQ(Draw()[0], '*');
  Screen screen(80, 25);
  screen.SetFrameGlyphs(FrameGlyphSet::kAscii);
  SelectLine empty;
  DrawSelectLine(screen, 2, empty, display, today);
  EXPECT_EQ(std::string(screen.RowText(2)), "|" + std::string(78, ' ') + "|");
  empty.firstMarker = true;
  DrawSelectLine(screen, 2, empty, display, today);
  EXPECT_EQ(std::string(screen.RowText(2)).substr(0, 7), "|↓最初");
}

}  // namespace
}  // namespace vondal
