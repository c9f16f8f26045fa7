#include "log/field_table.h"

#include <gtest/gtest.h>

#include "log/date_time.h"
#include "log/record.h"

namespace vondal {
namespace {

class FieldTableTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetFieldTable(); }
  void TearDown() override { ResetFieldTable(); }
};

TEST_F(FieldTableTest, WideConsoleSharesTwentyExtraColumnsOverEachPage) {
  FitFieldTable(100, true);
  const FieldTable& t = ActiveFieldTable();
  EXPECT_EQ(t[CALLSIGN].width, 18);
  EXPECT_EQ(t[CALLSIGN].column, 21);
  EXPECT_EQ(t[FREQ].width, 12);
  EXPECT_EQ(t[FREQ].column, 40);
  EXPECT_EQ(t[MODE].width, 8);
  EXPECT_EQ(t[MODE].column, 53);
  EXPECT_EQ(t[sRST].width, 18);
  EXPECT_EQ(t[sRST].column, 62);
  EXPECT_EQ(t[rRST].width, 18);
  EXPECT_EQ(t[rRST].column, 81);
  // Page 1 has four fields: 5, 5, 5, 5; page 2 five: 4 each.
  EXPECT_EQ(t[QTH].width, 30);
  EXPECT_EQ(t[CONTEST].column, 63 + 15);
  EXPECT_EQ(t[rQSL].column, 67 + 16);
  EXPECT_EQ(t[AUX1].column, 94);
  // Fields outside the ranges keep their place.
  EXPECT_EQ(t[DATE].column, 1);
  EXPECT_EQ(t[END].width, 5);
}

TEST_F(FieldTableTest, ExtraColumnsStopAtFortyAndSwitchingOffRestores) {
  FitFieldTable(200, true);
  EXPECT_EQ(ActiveFieldTable()[AUX2].column, 74 + 40);
  EXPECT_EQ(ActiveFieldTable()[CALLSIGN].width, 14 + 8);
  ActiveFieldTable()[QTH].attributes[kCaseConversion] = 'U';
  FitFieldTable(200, false);
  for (int i = 0; i < kFieldCount; ++i) {
    EXPECT_EQ(ActiveFieldTable()[i].column, DefaultFieldTable()[i].column) << i;
    EXPECT_EQ(ActiveFieldTable()[i].width, DefaultFieldTable()[i].width) << i;
  }
  // Only columns and widths go back; attribute letters stay as the user set them.
  EXPECT_EQ(ActiveFieldTable()[QTH].attributes[kCaseConversion], 'U');
}

TEST_F(FieldTableTest, ResetCopiesEverythingBackAndHomesOnCallsign) {
  ActiveFieldTable()[NAME].attributes[kBlankRule] = 'B';
  homeField = QTH;
  ResetFieldTable();
  EXPECT_EQ(ActiveFieldTable()[NAME].attributes[kBlankRule], 'A');
  EXPECT_EQ(homeField, CALLSIGN);
  EXPECT_STREQ(ActiveFieldTable()[MyQTH].name, "MyQTH");
  EXPECT_STREQ(ActiveFieldTable()[AUX1].attributes, "CHFN     ");
}

TEST_F(FieldTableTest, ExitKeysDependOnTheField) {
  // CALLSIGN ends on the search punctuation; DATE on "=" "-" "[" "]"; the rest only on control keys.
  EXPECT_EQ(ExitAction(CALLSIGN, '\\'), '\\');
  EXPECT_EQ(ExitAction(CALLSIGN, ' '), ' ');
  EXPECT_EQ(ExitAction(DATE, ' '), -1);
  EXPECT_EQ(ExitAction(DATE, '-'), '=');
  EXPECT_EQ(ExitAction(START, ']'), ']');
  EXPECT_EQ(ExitAction(QTH, '='), -1);
  EXPECT_EQ(ExitAction(QTH, 0x1B), 0x1B);
  EXPECT_EQ(ExitAction(QTH, 0x09), 0x09);
  // Extended keys come after the separator: PgUp, Up, F1, Shift+F8, End, F12.
  EXPECT_EQ(ExitAction(QTH, 0xFF49), 0x15);
  EXPECT_EQ(ExitAction(QTH, 0xFF48), '-');
  EXPECT_EQ(ExitAction(QTH, 0xFF3B), '1');
  EXPECT_EQ(ExitAction(REMARKS, 0xFF5B), 'h');
  EXPECT_EQ(ExitAction(REMARKS, 0xFF4F), 'O');
  EXPECT_EQ(ExitAction(REMARKS, 0xFF86), 0x19);
  // A plain byte equal to a scan code is not that extended key.
  EXPECT_EQ(ExitAction(QTH, 0x49), -1);
  EXPECT_EQ(ExitAction(QTH, 0xFF4B), -1);  // Left edits, it does not leave
}

TEST_F(FieldTableTest, RecordBudgetLimitsAFieldByWhatTheOthersHold) {
  Record r;
  r[QTH] = std::string(50, 'q');
  r[NAME] = std::string(50, 'n');
  r[RIG] = std::string(50, 'r');
  // The others count 150 plus DATE…MODE at their least (6+4+4+3+5+2 = 24): 182 - 174 = 8.
  EXPECT_EQ(FieldLimit(REMARKS, r), 8);
  r[RIG] = std::string(26, 'r');
  EXPECT_EQ(FieldLimit(REMARKS, r), 32);
  // A long CALLSIGN counts up to 24, a longer FREQ text only up to 16.
  r[CALLSIGN] = std::string(24, 'C');
  EXPECT_EQ(FieldLimit(REMARKS, r), 11);
  r[FREQ] = std::string(40, '7');
  EXPECT_EQ(FieldLimit(REMARKS, r), 0);
  // AUX fields are not stored: only their max length counts.
  EXPECT_EQ(FieldLimit(AUX1, r), 250);
  // A field never gets more than its max length.
  EXPECT_EQ(FieldLimit(DATE, Record{}), 16);
}

TEST(DateTimeTest, KeysCoverOneHundredYearsOfMinutes) {
  EXPECT_EQ(DateTimeKey("500101", "0000"), 0);
  EXPECT_EQ(DateTimeKey("491231", "2359"), kMaxDateTimeKey);
  EXPECT_EQ(DateTimeKey("500102", "0001"), 1441);
  EXPECT_EQ(DateTimeKey("000301", "0000") - DateTimeKey("000228", "0000"), 2 * 1440);  // 2000 is a leap year
  EXPECT_EQ(DayNumber(1950, 1, 1), kDayOf1950);
  EXPECT_EQ(DateTimeKey("240305", "0907"), 39013027);  // the example of doc/index_format.md
  DateTime last = KeyToDateTime(kMaxDateTimeKey);
  EXPECT_EQ(last.year, 2049);
  EXPECT_EQ(last.month, 12);
  EXPECT_EQ(last.day, 31);
  EXPECT_EQ(last.hour, 23);
  EXPECT_EQ(last.minute, 59);
}

// Joined files bring DATEs and STARTs that are no date or time. Each still has one key inside the
// window, so that the reversal count (signed), the sort (unsigned) and the index file (26 bits)
// all order it the same way: the minute of its digits where they give one, else kUndatedKey.
TEST(DateTimeTest, EveryTextHasOneKeyInsideTheWindow) {
  EXPECT_EQ(DateTimeKey(" 40106", "1200"), kUndatedKey);
  EXPECT_EQ(DateTimeKey("ABCDEF", "1200"), kUndatedKey);
  EXPECT_EQ(DateTimeKey("２４０", "1200"), kUndatedKey);  // six bytes of CP932
  EXPECT_EQ(DateTimeKey("24010", "1200"), kUndatedKey);
  EXPECT_EQ(DateTimeKey("240101", "12"), kUndatedKey);
  EXPECT_EQ(DateTimeKey("240101", "12AB"), kUndatedKey);
  EXPECT_EQ(DateTimeKey("500100", "2359"), kUndatedKey);  // the day before 1950-01-01
  EXPECT_EQ(DateTimeKey("491231", "2400"), kUndatedKey);  // the minute after the window
  // Digits are read without validation, as before.
  EXPECT_EQ(DateTimeKey("991232", "0000"), DateTimeKey("000101", "0000"));
  EXPECT_EQ(DateTimeKey("240101", "2400"), DateTimeKey("240102", "0000"));
  EXPECT_EQ(DateTimeKey("500100", "2400"), 0);
  EXPECT_EQ(DateTimeKey("2401019", "12345"), DateTimeKey("240101", "1234"));  // the rest is not read
  // Any byte in any place of DATE or START.
  for (int at = 0; at < 10; ++at) {
    for (int byte = 0; byte < 256; ++byte) {
      std::string date = "491231";
      std::string start = "2359";
      (at < 6 ? date[at] : start[at - 6]) = static_cast<char>(byte);
      const int32_t key = DateTimeKey(date, start);
      ASSERT_GE(key, 0) << at << " " << byte;
      ASSERT_LE(key, kMaxDateTimeKey) << at << " " << byte;
    }
  }
}

TEST(DateTimeTest, KeyToDateTimeInvertsEveryDayOfTheWindow) {
  for (int year = 1950; year <= 2049; ++year) {
    for (int month = 1; month <= 12; ++month) {
      for (int day = 1; day <= DaysInMonth(year, month); ++day) {
        char date[32];
        std::snprintf(date, sizeof date, "%02d%02d%02d", year % 100, month, day);
        DateTime dt = KeyToDateTime(DateTimeKey(date, "1234"));
        ASSERT_EQ(dt.year, year) << date;
        ASSERT_EQ(dt.month, month) << date;
        ASSERT_EQ(dt.day, day) << date;
        ASSERT_EQ(dt.hour * 60 + dt.minute, 12 * 60 + 34);
      }
    }
  }
}

TEST(DateTimeTest, CheckDateLooksAtTheFirstSixBytesOnly) {
  EXPECT_EQ(CheckDate("040229"), 0);
  EXPECT_EQ(CheckDate("010229"), 3);
  EXPECT_EQ(CheckDate("041301"), 2);
  EXPECT_EQ(CheckDate("040001"), 2);
  EXPECT_EQ(CheckDate("0412AB"), 1);
  EXPECT_EQ(CheckDate("04123"), 1);
  EXPECT_EQ(CheckDate(""), 1);
  EXPECT_EQ(CheckDate("041200"), 3);
  EXPECT_EQ(CheckDate("041131"), 3);
  EXPECT_EQ(CheckDate("041231xyz"), 0);
}

}  // namespace
}  // namespace vondal
