#include "log/safety_file.h"

#include <gtest/gtest.h>

#include "log/faulty_file_system.h"
#include "log/log_test_support.h"

namespace vondal {
namespace {

std::tm At(int year, int month, int day, int hour, int minute) {
  std::tm t{};
  t.tm_year = year - 1900;
  t.tm_mon = month - 1;
  t.tm_mday = day;
  t.tm_hour = hour;
  t.tm_min = minute;
  return t;
}

TEST(SafetyFileTest, MarkerRecordIsByteExact) {
  RecordImage image = SafetyFile::BuildMarker("＜結合読み込み開始＞", At(2024, 3, 5, 9, 7));
  std::string expected =
      "240305\x1E"
      "0907\x1E"
      "----\x1E"
      "------\x1E"
      "w01.022\x1E"
      "--\x1E"
      "\x1E\x1E"
      "-\x1E"
      "-\x1E"
      "\x1E\x1E";
  ASSERT_EQ(expected.size(), 43u);  // CONTEST's separator is byte 42
  expected += "＜結合読み込み開始＞\x1E\x1E\x1E\x1E\x1E";
  expected.append(198 - expected.size(), ' ');
  expected += "\r\n";
  EXPECT_EQ(std::string(image.begin(), image.end()), expected);
}

TEST(SafetyFileTest, LongestEventTextFillsTheSlotAndLongerIsCut) {
  RecordImage image = SafetyFile::BuildMarker(std::string(150, 'x'), At(2000, 1, 1, 0, 0));
  EXPECT_EQ(image[43 + 149], 'x');
  EXPECT_EQ(std::string(image.begin() + 193, image.begin() + 198), std::string(5, '\x1E'));
  // 149 bytes and then a two-byte character: the character does not fit and is left out.
  image = SafetyFile::BuildMarker(std::string(149, 'y') + "表表", At(2000, 1, 1, 0, 0));
  EXPECT_EQ(image[43 + 148], 'y');
  EXPECT_EQ(image[43 + 149], '\x1E');
  EXPECT_EQ(image[199], '\n');
}

TEST(SafetyFileTest, CheckSafetyShowsNewFileAndRefusesAnUnopenableOne) {
  MemoryFileSystem memory;
  FaultyFileSystem faulty(memory);
  WriteCounters counters;
  testing::RecordingUi ui;
  SafetyFile safety(faulty, counters);
  EXPECT_EQ(safety.CheckSafety(ui), "");
  EXPECT_EQ(ui.Line(7), "ｾｰﾌﾃｨ=未設定");
  safety.Configure("A.VDS");
  EXPECT_EQ(safety.CheckSafety(ui), "");
  EXPECT_EQ(ui.Line(7), "新ｾｰﾌﾃｨ=A.VDS");
  memory.SetContents("A.VDS", std::string(200, ' '));
  EXPECT_EQ(safety.CheckSafety(ui), "");
  EXPECT_EQ(ui.Line(7), "ｾｰﾌﾃｨ=A.VDS");
  faulty.faults.failOpen = {"A.VDS"};
  EXPECT_EQ(safety.CheckSafety(ui), "ｾｰﾌﾃｨﾌｧｲﾙをｵｰﾌﾟﾝできません");
}

TEST(SafetyFileTest, MarkersCountSafetyTimeAndAFailedOneIsCutBack) {
  MemoryFileSystem memory;
  FaultyFileSystem faulty(memory);
  WriteCounters counters;
  SafetyFile safety(faulty, counters, [] { return At(2024, 3, 5, 9, 7); });
  safety.Configure("A.VDS");
  EXPECT_EQ(safety.WriteMarker("＜日時順ソート＞元データ=A.VD"), 0);
  EXPECT_EQ(counters[kCountSafetyTime], 1);
  EXPECT_EQ(memory.Contents("A.VDS").substr(0, 6), "240305");
  faulty.faults.shortWrite = faulty.writeCount + 1;
  EXPECT_EQ(safety.WriteMarker("x"), 1);
  EXPECT_EQ(memory.Contents("A.VDS").size(), 200u);
  EXPECT_EQ(counters[kCountSafetyTime], 1);
}

// A kill can tear an append at a page boundary; the journal must stay whole records, or every
// later record would be misread by a join.
TEST(SafetyFileTest, TornTailIsCutBackAtStartAndBeforeAnAppend) {
  MemoryFileSystem memory;
  WriteCounters counters;
  SafetyFile safety(memory, counters);
  safety.Configure("A.VDS");
  const RecordImage image = EncodeRecord(testing::ValidRecord());
  const std::string whole(image.begin(), image.end());
  memory.SetContents("A.VDS", whole + whole.substr(0, 96));
  testing::RecordingUi ui;
  ASSERT_EQ(safety.CheckSafety(ui), "");
  EXPECT_EQ(memory.Contents("A.VDS"), whole);
  EXPECT_EQ(ui.notes[7], "末尾の半端なﾃﾞｰﾀを削除しました");

  memory.SetContents("A.VDS", whole + "torn");
  ASSERT_TRUE(safety.JournalRecord(image));
  EXPECT_EQ(memory.Contents("A.VDS"), whole + whole);

  // A whole journal gets no note.
  testing::RecordingUi quiet;
  ASSERT_EQ(safety.CheckSafety(quiet), "");
  EXPECT_TRUE(quiet.notes.empty());
}

TEST(SafetyFileTest, NewJournalHasItsFolderSynced) {
  MemoryFileSystem memory;
  FaultyFileSystem faulty(memory);
  WriteCounters counters;
  SafetyFile safety(faulty, counters);
  safety.Configure("A.VDS");
  faulty.faults.crashAt = 2;  // created, then the folder sync
  testing::RecordingUi ui;
  EXPECT_EQ(safety.CheckSafety(ui), "");
  EXPECT_TRUE(faulty.crashed());
}

}  // namespace
}  // namespace vondal
