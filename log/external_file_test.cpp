#include "log/external_file.h"

#include <gtest/gtest.h>

#include "log/faulty_file_system.h"

namespace vondal {
namespace {

TEST(ExternalHex, BytesBecomeLowerCaseDigitPairsAndBack) {
  EXPECT_EQ(HexEncode("AB"), "4142");
  EXPECT_EQ(HexEncode("漢\x1e"), "8abf1e");
  EXPECT_EQ(HexDecode("4142"), "AB");
  EXPECT_EQ(HexDecode("8abf1e"), "漢\x1e");
  // A pair with a character outside "0123456789abcdef" is "?", and so is a digit left alone.
  EXPECT_EQ(HexDecode("41zz"), "A?");
  EXPECT_EQ(HexDecode("41FF42"), "A?B");
  EXPECT_EQ(HexDecode("414"), "A?");
  // The text being edited ends at a NUL byte.
  EXPECT_EQ(HexDecode("41004243"), "A");
}

// Remembers the start-up line of row R0+10 and whether it was an error.
class StartupUi : public LogUi {
 public:
  void StartupLine(int rowOffset, int, std::string_view text, bool error) override {
    if (rowOffset == 10) line = std::string(text) + (error ? " (error)" : "");
  }
  std::string line;
};

class ExternalFileTest : public ::testing::Test {
 protected:
  MemoryFileSystem fs_;
  WriteCounters counters_;
  ExternalFile external_{fs_, counters_};
  StartupUi ui_;
};

TEST_F(ExternalFileTest, StartUpOpensByTheModeLetterInEitherCase) {
  external_.OpenExternalAtStart("wlog.txt", ui_);
  EXPECT_EQ(ui_.line, "外部ﾌｧｲﾙ=Wlog.txt");
  EXPECT_EQ(external_.mode(), 'W');
  EXPECT_EQ(external_.name(), "log.txt");
  EXPECT_TRUE(fs_.Exists("log.txt"));  // appending creates it

  ExternalFile other(fs_, counters_);
  other.OpenExternalAtStart("log.txt", ui_);
  EXPECT_EQ(ui_.line, "外部ﾌｧｲﾙの指定が不正です (error)");
  EXPECT_FALSE(other.isOpen());
  other.OpenExternalAtStart("Rmissing.txt", ui_);
  EXPECT_EQ(ui_.line, "外部ﾌｧｲﾙをｵｰﾌﾟﾝできません (error)");
  EXPECT_FALSE(other.isOpen());
  other.OpenExternalAtStart("", ui_);
  EXPECT_EQ(ui_.line, "外部ﾌｧｲﾙの指定が不正です (error)");
}

TEST_F(ExternalFileTest, WritesLinesWithCrLfAndCountsThemUntilClosed) {
  fs_.SetContents("out.txt", "old\r\n");
  ASSERT_EQ(external_.Open('W', "out.txt"), "");
  std::string text = "AB";
  EXPECT_EQ(external_.Access(text, false).message, "");
  EXPECT_EQ(external_.Access(text, true).message, "");
  EXPECT_EQ(fs_.Contents("out.txt"), "old\r\nAB\r\n4142\r\n");
  EXPECT_EQ(text, "AB");
  EXPECT_EQ(counters_[kCountExternal], 2);
  external_.Close();
  EXPECT_EQ(counters_[kCountExternal], 0);
  EXPECT_FALSE(external_.isOpen());
  EXPECT_EQ(external_.name(), "out.txt");  // kept for the next prompt
}

TEST_F(ExternalFileTest, ReadsLineByLineAndClosesAtTheEnd) {
  fs_.SetContents("in.txt", "first\r\n41zz\nlast");
  ASSERT_EQ(external_.Open('R', "in.txt"), "");
  std::string text = "edited";
  EXPECT_EQ(external_.Access(text, false).message, "");
  EXPECT_EQ(text, "first");
  EXPECT_EQ(external_.Access(text, true).message, "");
  EXPECT_EQ(text, "A?");
  EXPECT_EQ(external_.Access(text, false).message, "");
  EXPECT_EQ(text, "last");
  const ExternalResult end = external_.Access(text, false);
  EXPECT_EQ(end.message, "外部ﾌｧｲﾙの終端です");
  EXPECT_FALSE(end.error);
  EXPECT_EQ(text, "last");
  EXPECT_FALSE(external_.isOpen());
  const ExternalResult closed = external_.Access(text, false);
  EXPECT_EQ(closed.message, "外部ﾌｧｲﾙがありません");
  EXPECT_TRUE(closed.error);
}

TEST_F(ExternalFileTest, ALongLineIsReadInPiecesThatKeepTwoByteCharactersWhole) {
  const std::string line = std::string(250, 'a') + "漢" + "b";
  fs_.SetContents("long.txt", line + "\r\n" + std::string(251, 'c') + "\r\nz\n");
  ASSERT_EQ(external_.Open('R', "long.txt"), "");
  std::string text;
  external_.Access(text, false);
  EXPECT_EQ(text, std::string(250, 'a'));
  external_.Access(text, false);
  EXPECT_EQ(text, "漢b");
  external_.Access(text, false);
  EXPECT_EQ(text, std::string(251, 'c'));  // exactly the limit: its line end goes with it
  external_.Access(text, false);
  EXPECT_EQ(text, "z");
}

TEST_F(ExternalFileTest, AFailedWriteIsReportedAndLeavesNoHalfLine) {
  FaultyFileSystem faulty(fs_);
  ExternalFile external(faulty, counters_);
  fs_.SetContents("out.txt", "kept\r\n");
  ASSERT_EQ(external.Open('W', "out.txt"), "");
  faulty.faults.shortWrite = 1;
  std::string text = "lost";
  const ExternalResult result = external.Access(text, false);
  EXPECT_EQ(result.message, "外部ﾌｧｲﾙに書込めません");
  EXPECT_TRUE(result.error);
  EXPECT_EQ(fs_.Contents("out.txt"), "kept\r\n");
  EXPECT_EQ(counters_[kCountExternal], 0);
}

TEST_F(ExternalFileTest, ViewingClosesAndReopensWhereReadingStood) {
  fs_.SetContents("in.txt", "1\n2\n3\n");
  ASSERT_EQ(external_.Open('R', "in.txt"), "");
  std::string text;
  external_.Access(text, false);
  external_.CloseForViewing();
  fs_.SetContents("in.txt", "1\n2\n3\n4\n");  // changed meanwhile
  ASSERT_EQ(external_.Reopen(), "");
  external_.Access(text, false);
  EXPECT_EQ(text, "2");
  external_.CloseForViewing();
  fs_.Remove("in.txt");
  EXPECT_EQ(external_.Reopen(), "外部ﾌｧｲﾙをｵｰﾌﾟﾝできません");
  EXPECT_FALSE(external_.isOpen());
}

TEST_F(ExternalFileTest, OpeningAnotherFileClosesTheFirstAndResetsTheCount) {
  ASSERT_EQ(external_.Open('W', "a.txt"), "");
  std::string text = "x";
  external_.Access(text, false);
  EXPECT_EQ(external_.Open('R', "missing.txt"), "外部ﾌｧｲﾙをｵｰﾌﾟﾝできません");
  EXPECT_FALSE(external_.isOpen());
  EXPECT_EQ(counters_[kCountExternal], 0);
}

}  // namespace
}  // namespace vondal
