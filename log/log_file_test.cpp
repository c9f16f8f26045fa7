#include "log/log_file.h"

#include <gtest/gtest.h>

#include "log/date_time.h"
#include "log/faulty_file_system.h"
#include "log/log_test_support.h"

namespace vondal {
namespace {

using testing::Image;
using testing::RecordingUi;
using testing::ValidRecord;

class LogFileTest : public ::testing::Test {
 protected:
  LogFileTest()
      : faulty(memory), index(counters), safety(faulty, counters), log(faulty, counters, index, safety, ui) {
    ResetFieldTable();
  }

  // Opens "A.VD" holding `records` valid records.
  void Open(int records = 0) {
    std::string bytes;
    for (int i = 0; i < records; ++i) bytes += Image(ValidRecord("JA1AA" + std::string(1, 'A' + i % 26)));
    memory.SetContents("A.VD", bytes);
    ASSERT_EQ(log.OpenLog("A.VD"), "");
  }

  MemoryFileSystem memory;
  FaultyFileSystem faulty;
  WriteCounters counters;
  RecordIndex index;
  SafetyFile safety;
  RecordingUi ui;
  LogFile log;
};

TEST_F(LogFileTest, RecordImageIsByteExact) {
  Record r = ValidRecord();
  std::string expected =
      "240305\x1E"
      "0907\x1E"
      "0910\x1E"
      "JA1ABC\x1E"
      "7.050\x1E"
      "CW\x1E"
      "599\x1E"
      "579\x1E"
      "東京都千代田区\x1E"
      "ｽｽﾞｷ\x1E"
      "\x1E\x1E\x1E\x1E\x1E\x1E\x1E";
  expected.append(198 - expected.size(), ' ');
  expected += "\r\n";
  EXPECT_EQ(Image(r), expected);
}

TEST_F(LogFileTest, RecordOfExactlyTheBudgetLosesItsLastSeparatorAndReadsBackWhole) {
  Record r = ValidRecord();
  int used = 0;
  for (int i = 0; i < kStoredFieldCount; ++i) used += r[i].size();
  r[rQSL] = std::string(182 - used - 1, 'Q') + "Z";
  RecordImage image = EncodeRecord(r);
  EXPECT_EQ(image[197], 'Z');
  EXPECT_EQ(image[198], '\r');
  EXPECT_EQ(image[199], '\n');
  RecordReader reader;
  const RecordTexts& texts = reader.Split(image.data());
  for (int i = 0; i < kStoredFieldCount; ++i) EXPECT_EQ(texts[i], r[i]) << i;
}

TEST_F(LogFileTest, ReaderFindsSeventeenTextsEvenWithoutSeparators) {
  std::string image(200, ' ');
  image.replace(0, 7,
                "A\x1E"
                "B\x1E"
                "C\x1F"
                "D");
  RecordReader reader;
  const RecordTexts& texts = reader.Split(image.data());
  EXPECT_EQ(texts[0], "A");
  EXPECT_EQ(texts[1], "B");
  EXPECT_EQ(texts[2].substr(0, 4),
            "C\x1F"
            "D ");  // no separator: the rest of the area
  EXPECT_EQ(texts[2].size(), 198u - 4);
  for (int i = 3; i < kStoredFieldCount; ++i) EXPECT_EQ(texts[i], "") << i;
}

// The leading texts take a short cut for the usual 6-4-4 head: heads that only look like it
// (a separator before byte 6, texts of other widths, none at all) give what the full reader
// gives.
TEST_F(LogFileTest, LeadingTextsAreTheReadersTexts) {
  const std::string heads[] = {
      "240101\x1E"
      "0900\x1E"
      "0910\x1E"
      "JA1ABC\x1E",  // the usual head
      "24\x1E"
      "101\x1E"
      "0900\x1E"
      "0910\x1E"
      "JA1ABC",  // separators at 6, 11, 16 too
      "240101\x1E"
      "09\x1E"
      "0\x1E"
      "0910\x1E"
      "JA1",
      "2401011\x1E"
      "090\x1E"
      "0910\x1E"
      "X\x1E",
      "\x1E\x1E\x1E\x1E\x1E\x1E\x1E\x1E\x1E\x1E\x1E\x1E\x1E\x1E\x1E\x1E\x1E",
      std::string(30, 'N')};
  for (const std::string& head : heads) {
    std::string image(200, ' ');
    image.replace(0, head.size(), head);
    RecordReader reader;
    const RecordTexts& all = reader.Split(image.data());
    std::string_view texts[kStoredFieldCount];
    LeadingTexts(image.data(), kStoredFieldCount, texts);
    for (int i = 0; i < kStoredFieldCount; ++i) EXPECT_EQ(texts[i], all[i]) << head << " text " << i;
  }
}

TEST_F(LogFileTest, EmptyFileIsANewLogAndMissingFileIsCreated) {
  ASSERT_EQ(log.OpenLog("NEW.VD"), "");
  EXPECT_TRUE(memory.Exists("NEW.VD"));
  EXPECT_EQ(log.RecordCount(), 0);
  EXPECT_EQ(ui.Line(5), "新ﾛｸﾞ=NEW.VD");
}

TEST_F(LogFileTest, OpenTakesThePreviousDataFromTheLastRecord) {
  Open(3);
  EXPECT_EQ(log.RecordCount(), 3);
  EXPECT_EQ(ui.Line(5), "ﾛｸﾞ=A.VD");
  EXPECT_EQ(log.previousData()[CALLSIGN], "JA1AAC");
  EXPECT_EQ(log.previousData()[QTH], "東京都千代田区");
}

TEST_F(LogFileTest, OpenRefusesBadSizesAndTooManyRecords) {
  memory.SetContents("BAD.VD", std::string(199, ' '));
  EXPECT_EQ(log.OpenLog("BAD.VD"), "ﾛｸﾞﾌｧｲﾙのｻｲｽﾞが異常です");
  faulty.faults.failOpen = {"NONE.VD"};
  EXPECT_EQ(log.OpenLog("NONE.VD"), "ﾛｸﾞﾌｧｲﾙをｵｰﾌﾟﾝできません");
}

TEST_F(LogFileTest, RecordLimitIsAMillionOrHalfWithCompatible) {
  // A sparse-looking log: only the size matters for the limit check.
  std::string limit(static_cast<size_t>(kCompatibleMaxRecords) * kRecordSize, ' ');
  memory.SetContents("L.VD", limit);
  log.options.compatible = true;
  EXPECT_EQ(log.OpenLog("L.VD"), "");  // exactly the limit opens
  Record r = ValidRecord();
  WriteResult result = log.WriteRecord(kCompatibleMaxRecords, r);
  EXPECT_EQ(result.message, "ﾚｺｰﾄﾞ数制限超過です");
  EXPECT_FALSE(result.written);
  limit.append(kRecordSize, ' ');
  memory.SetContents("L.VD", limit);
  EXPECT_EQ(log.OpenLog("L.VD"), "ﾚｺｰﾄﾞ数制限超過です");
  log.options.compatible = false;
  EXPECT_EQ(log.OpenLog("L.VD"), "");
}

struct Refusal {
  int field;
  std::string text;
  std::string message;
};

TEST_F(LogFileTest, WriteChecksRefuseBadFieldsAndWriteNothing) {
  Open(1);
  const std::string before = memory.Contents("A.VD");
  const Refusal refusals[] = {
      {DATE, "", "未記入です"},
      {DATE, "041301", "ﾃﾞｰﾀが不適当です"},
      {DATE, "0412AB", "ﾃﾞｰﾀが不適当です"},
      {START, "2400", "ﾃﾞｰﾀが不適当です"},
      {START, "1260", "ﾃﾞｰﾀが不適当です"},
      {START, "930", "ﾃﾞｰﾀが不適当です"},
      {END, "12", "ﾃﾞｰﾀが不適当です"},
      {CALLSIGN, "JA", "短すぎます"},
      {CALLSIGN, "", "未記入です"},
      {FREQ, ".7", "ﾃﾞｰﾀが不適当です"},
      {FREQ, "7", "ﾃﾞｰﾀが不適当です"},
      {MODE, "C", "ﾃﾞｰﾀが不適当です"},
      {MODE, "1A", "ﾃﾞｰﾀが不適当です"},
      {QTH,
       "a\x1E"
       "b",
       "不適当な文字があります"},
      {REMARKS, "x\x1F", "不適当な文字があります"},
  };
  for (const Refusal& refusal : refusals) {
    Record r = ValidRecord();
    r[refusal.field] = refusal.text;
    WriteResult result = log.WriteRecord(1, r);
    EXPECT_EQ(result.message, refusal.message) << refusal.field << " " << refusal.text;
    EXPECT_EQ(result.field, refusal.field) << refusal.text;
    EXPECT_FALSE(result.written);
  }
  EXPECT_EQ(memory.Contents("A.VD"), before);
  EXPECT_EQ(log.RecordCount(), 1);
  EXPECT_EQ(counters[kCountLogNew], 0);
}

TEST_F(LogFileTest, WriteAcceptsTheBorderCases) {
  Open();
  const std::pair<int, std::string> accepted[] = {
      {START, "2359"}, {END, "ABCD"},   {CALLSIGN, "CQ"}, {CALLSIGN, "EX"},
      {FREQ, "14.2"},  {FREQ, "7.050"}, {MODE, "CW"},     {DATE, "040229"},
  };
  int n = 0;
  for (const auto& [field, text] : accepted) {
    Record r = ValidRecord();
    r[field] = text;
    WriteResult result = log.WriteRecord(n, r);
    EXPECT_EQ(result.message, "") << text;
    EXPECT_TRUE(result.written) << text;
    ++n;
  }
  EXPECT_EQ(log.RecordCount(), n);
}

TEST_F(LogFileTest, FirstFailingFieldWinsInFieldOrder) {
  Open();
  Record r = ValidRecord();
  r[MODE] = "1";
  r[START] = "9999";
  WriteResult result = log.WriteRecord(0, r);
  EXPECT_EQ(result.field, START);
}

TEST_F(LogFileTest, CompatibleRefusesACallsignOfSixteenBytes) {
  Open();
  log.options.compatible = true;
  Record r = ValidRecord(std::string(16, 'J'));
  EXPECT_EQ(log.WriteRecord(0, r).message, "長すぎます");
  r[CALLSIGN] = std::string(15, 'J');
  EXPECT_EQ(log.WriteRecord(0, r).message, "");
}

TEST_F(LogFileTest, WriteProtectComesFirst) {
  Open(1);
  log.options.writeProtect = true;
  Record r;  // even an empty record is refused for the protection, not its fields
  EXPECT_EQ(log.WriteRecord(0, r).message, "書込禁止です");
}

TEST_F(LogFileTest, RecordOverTheBudgetIsRefusedInsteadOfSpillingIntoTheNext) {
  Open(2);
  const std::string before = memory.Contents("A.VD");
  Record r = ValidRecord();
  r[REMARKS] = std::string(150, 'r');
  WriteResult result = log.WriteRecord(0, r);
  EXPECT_EQ(result.message, "長すぎます");
  EXPECT_EQ(result.field, REMARKS);
  EXPECT_EQ(memory.Contents("A.VD"), before);
}

TEST_F(LogFileTest, AppendAndOverwriteKeepIndexCountersAndPreviousData) {
  Open(2);
  index.Rebuild(log, nullptr, std::span<char>(std::vector<char>(4096).data(), 4096));
  counters = WriteCounters{};
  Record r = ValidRecord("JR2XYZ", "991231", "2359");
  ASSERT_EQ(log.WriteRecord(2, r).message, "");
  EXPECT_EQ(log.RecordCount(), 3);
  EXPECT_EQ(counters[kCountLogNew], 1);
  EXPECT_EQ(counters[kCountIndex], 1);
  EXPECT_EQ(index.size(), 3);
  EXPECT_STREQ(index[2].callsign, "JR2XYZ");
  EXPECT_EQ(index[2].key, DateTimeKey("991231", "2359"));
  EXPECT_EQ(log.previousData()[CALLSIGN], "JR2XYZ");
  EXPECT_EQ(memory.Contents("A.VD").substr(400), Image(r));

  // Rewriting record 0 with the same key and CALLSIGN changes the index entry's nothing.
  Record same = ValidRecord("JA1AAA");
  same[REMARKS] = "QSL via bureau";
  ASSERT_EQ(log.WriteRecord(0, same).message, "");
  EXPECT_EQ(counters[kCountLogOld], 1);
  EXPECT_EQ(counters[kCountIndex], 1);
  EXPECT_EQ(memory.Contents("A.VD").substr(0, 200), Image(same));
  ASSERT_EQ(ui.written.size(), 2u);
  EXPECT_EQ(ui.written[0], std::make_pair(2, true));
  EXPECT_EQ(ui.written[1], std::make_pair(0, false));

  const RecordTexts& texts = log.ReadRecord(0);
  EXPECT_EQ(texts[REMARKS], "QSL via bureau");
}

TEST_F(LogFileTest, LimitedsaveSkipsAnUnchangedOldRecordButNotANewOne) {
  Open(1);
  log.options.limitedsave = true;
  Record r = ValidRecord("JA1AAA");
  WriteResult result = log.WriteRecord(0, r);
  EXPECT_EQ(result.message, "");
  EXPECT_FALSE(result.written);
  EXPECT_TRUE(result.skipped);
  EXPECT_EQ(counters[kCountLogOld], 0);
  result = log.WriteRecord(1, r);  // the same texts as a new record are written
  EXPECT_TRUE(result.written);
  EXPECT_EQ(log.RecordCount(), 2);
}

TEST_F(LogFileTest, EveryWriteIsJournalledInTheSafetyFile) {
  safety.Configure("A.VDS");
  Open(1);
  Record r = ValidRecord("JA1AAA");
  for (int i = 0; i < 3; ++i) {
    r[REMARKS] = std::to_string(i);
    ASSERT_EQ(log.WriteRecord(0, r).message, "");
  }
  const std::string journal = memory.Contents("A.VDS");
  ASSERT_EQ(journal.size(), 600u);
  EXPECT_EQ(journal.substr(400), Image(r));
  EXPECT_EQ(counters[kCountSafety], 3);
}

TEST_F(LogFileTest, WithoutSafetyFileNothingIsJournalled) {
  Open();
  Record r = ValidRecord();
  ASSERT_EQ(log.WriteRecord(0, r).message, "");
  EXPECT_EQ(counters[kCountSafety], 0);
  EXPECT_EQ(safety.WriteMarker("x"), -1);
}

TEST_F(LogFileTest, FailedJournalWriteKeepsTheLogRecordAndSaysSo) {
  safety.Configure("A.VDS");
  Open();
  faulty.faults.target = "A.VDS";  // the log write succeeds, the journal write fails
  faulty.faults.failWrite = faulty.writeCount + 1;
  Record r = ValidRecord();
  WriteResult result = log.WriteRecord(0, r);
  EXPECT_EQ(result.message, "ｾｰﾌﾃｨﾌｧｲﾙに書込めません");
  EXPECT_TRUE(result.written);
  EXPECT_EQ(log.RecordCount(), 1);
  EXPECT_EQ(memory.Contents("A.VDS"), "");
}

// A failed write of any kind leaves the log byte for byte as it was and says so.
class FailedWriteTest : public LogFileTest, public ::testing::WithParamInterface<int> {
 protected:
  void Break() {
    faulty.faults.target = "A.VD";
    switch (GetParam()) {
      case 0:
        faulty.faults.failWrite = faulty.writeCount + 1;
        break;
      case 1:
        faulty.faults.shortWrite = faulty.writeCount + 1;
        break;
      case 2:
        faulty.faults.spaceLeft = 57;
        break;
      case 3:
        faulty.faults.failSync = true;
        break;
    }
  }
};

TEST_P(FailedWriteTest, AppendIsCutBack) {
  Open(2);
  const std::string before = memory.Contents("A.VD");
  Break();
  Record r = ValidRecord();
  WriteResult result = log.WriteRecord(2, r);
  EXPECT_EQ(result.message, "ﾛｸﾞﾌｧｲﾙに書込めません");
  EXPECT_FALSE(result.written);
  EXPECT_EQ(memory.Contents("A.VD"), before);
  EXPECT_EQ(log.RecordCount(), 2);
  EXPECT_EQ(counters[kCountLogNew], 0);
  EXPECT_EQ(index.size(), 0);
  // The log opens again as it was.
  faulty.faults = {};
  EXPECT_EQ(log.OpenLog("A.VD"), "");
  EXPECT_EQ(log.RecordCount(), 2);
}

TEST_P(FailedWriteTest, OverwriteIsPutBack) {
  if (GetParam() == 2) GTEST_SKIP() << "overwriting a record needs no free space";
  Open(2);
  const std::string before = memory.Contents("A.VD");
  Break();
  Record r = ValidRecord("JH1ZZZ");
  EXPECT_EQ(log.WriteRecord(1, r).message, "ﾛｸﾞﾌｧｲﾙに書込めません");
  EXPECT_EQ(memory.Contents("A.VD"), before);
  EXPECT_EQ(counters[kCountLogOld], 0);
}

INSTANTIATE_TEST_SUITE_P(Faults, FailedWriteTest, ::testing::Values(0, 1, 2, 3));

class FakeMultiplier : public MultiplierCheck {
 public:
  bool Covers(int n) const override { return n < 2000; }
  std::string Check(const Record&, int n) override {
    checked.push_back(n);
    return verdict;
  }
  std::string verdict;
  std::vector<int> checked;
};

TEST_F(LogFileTest, MultiplierRefusalSendsTheCursorToItsFieldUnlessShiftIsHeld) {
  Open();
  FakeMultiplier multiplier;
  log.multiplier = &multiplier;
  multiplier.verdict = "7ﾏﾙﾁが違います";
  Record r = ValidRecord();
  WriteResult result = log.WriteRecord(0, r);
  EXPECT_EQ(result.message, "ﾏﾙﾁが違います");
  EXPECT_EQ(result.field, rRST);
  EXPECT_EQ(multiplier.checked, std::vector<int>{0});

  ui.shift = true;
  r[REMARKS] = "memo";
  result = log.WriteRecord(0, r);
  EXPECT_EQ(result.message, "");
  EXPECT_EQ(r[REMARKS], "？memo");
  EXPECT_EQ(log.ReadRecord(0)[REMARKS], "？memo");
}

}  // namespace
}  // namespace vondal
