#include "output/log_outputs.h"

#include <gtest/gtest.h>

#include "app/text/version.h"
#include "log/field_table.h"
#include "log/log_test_support.h"
#include "output/export_format.h"

namespace vondal {
namespace {

class LogOutputsTest : public ::testing::Test {
 protected:
  LogOutputsTest() : set(fs) {
    ResetFieldTable();
    std::string log;
    for (int n = 0; n < 10; ++n) {
      Record r;
      r[DATE] = "240305";
      r[START] = "0907";
      r[CALLSIGN] = "JA1AA" + std::string(1, static_cast<char>('A' + n));
      r[FREQ] = n < 4 ? "7.025" : "14.050";
      r[MODE] = "CW";
      const RecordImage image = EncodeRecord(r);
      log.append(image.begin(), image.end());
    }
    fs.SetContents("T.VD", log);
    EXPECT_EQ(set.log.OpenLog("T.VD"), "");
    std::vector<char> buffer(kIndexBufferSize);
    EXPECT_EQ(set.index.Rebuild(set.log, nullptr, buffer), "");
    TheOutputParameters() = DefaultOutputParameters("", "T.VD");
  }

  // A job as a confirmed form hands it over: target choice, its count, the file open.
  OutputJob Job(std::vector<int> list, int target, std::string_view expression = "") {
    OutputJob job(context, list);
    job.parameters[kTarget].choice = target;
    if (!expression.empty()) {
      EXPECT_EQ(job.selection.Compile(expression, true), kConditionOk);
    }
    job.targetCount = CountTargets(job);
    job.file = std::make_unique<OutputFile>(fs);
    EXPECT_TRUE(job.file->Open(job.parameters[list.front()].value, OutputFile::Mode::kReplace));
    return job;
  }

  std::string Image(int n) const { return fs.Contents("T.VD").substr(n * kRecordSize, kRecordSize); }

  MemoryFileSystem fs;
  testing::LogSet set;
  OutputContext context{set.log, set.index, fs, "T.VD"};
};

TEST_F(LogOutputsTest, TargetsAreMarkedUnmarkedAllOrSelected) {
  set.index[2].mark = 1;
  set.index[7].mark = 1;
  EXPECT_EQ(Job({kPartialFile, kTarget, kSelection}, kMarkedRecords).targetCount, 2);
  EXPECT_EQ(Job({kPartialFile, kTarget, kSelection}, kUnmarkedRecords).targetCount, 8);
  EXPECT_EQ(Job({kPartialFile, kTarget, kSelection}, kAllRecords).targetCount, 10);
  EXPECT_EQ(Job({kPartialFile, kTarget, kSelection}, kSelectedRecords, "FREQ < 10").targetCount, 4);
  // tag is the mark
  EXPECT_EQ(Job({kPartialFile, kTarget, kSelection}, kSelectedRecords, "tag & FREQ >= 10").targetCount, 1);
}

TEST_F(LogOutputsTest, PartialLogCopiesTheTargetRecordsWhole) {
  set.index[1].mark = 1;
  set.index[8].mark = 1;
  TheOutputParameters()[kPartialFile].value = "P.VD";
  OutputJob job = Job({kPartialFile, kTarget, kSelection}, kMarkedRecords);
  WritePartialLog(job);
  ASSERT_TRUE(job.file->Finish());
  EXPECT_EQ(fs.Contents("P.VD"), Image(1) + Image(8));

  OutputJob selected = Job({kPartialFile, kTarget, kSelection}, kSelectedRecords, "CALLSIGN = \"JA1AAD\"");
  WritePartialLog(selected);
  ASSERT_TRUE(selected.file->Finish());
  EXPECT_EQ(fs.Contents("P.VD"), Image(3));
}

TEST_F(LogOutputsTest, PackedLogLengthAndShare) {
  TheOutputParameters()[kPackedFile].value = "P.VDP";
  TheOutputParameters()[kPacking].choice = 1;
  OutputJob job = Job({kPackedFile, kTarget, kSelection, kPacking}, kAllRecords);
  const PackedLength packed = WritePackedLog(job);
  ASSERT_TRUE(job.file->Finish());
  EXPECT_EQ(packed.records, 10);
  EXPECT_EQ(packed.bytes, static_cast<int64_t>(fs.Contents("P.VDP").size()));
  EXPECT_EQ(PackedLengthText(1000, 10), "出力ﾌｧｲﾙ長=1000 (50.0%)");
  EXPECT_EQ(PackedLengthText(333, 10), "出力ﾌｧｲﾙ長=333 (16.6%)");  // truncated, not rounded
  EXPECT_EQ(PackedLengthText(0, 0), "出力ﾌｧｲﾙ長=0");
}

TEST_F(LogOutputsTest, ExportsWriteOneLineOrRecordPerTarget) {
  TheOutputParameters()[kCsvFile].value = "T.CSV";
  TheOutputParameters()[kHeaderLine].choice = 1;
  OutputJob csv = Job({kCsvFile, kTarget, kSelection, kFields}, kSelectedRecords, "FREQ < 10");
  csv.fields = ParseFieldSelection("CALLSIGN");
  WriteCsv(csv);
  ASSERT_TRUE(csv.file->Finish());
  EXPECT_EQ(fs.Contents("T.CSV"), "CALLSIGN\r\nJA1AAA\r\nJA1AAB\r\nJA1AAC\r\nJA1AAD\r\n");

  TheOutputParameters()[kAdifFile].value = "T.ADI";
  OutputJob adif = Job({kAdifFile, kTarget, kSelection, kFields}, kAllRecords);
  adif.fields = ParseFieldSelection("DATE-rQSL");
  WriteAdif(adif);
  ASSERT_TRUE(adif.file->Finish());
  const std::string file = fs.Contents("T.ADI");
  int records = 0;
  for (size_t at = 0; (at = file.find("<EOR>\r\n", at)) != std::string::npos; at += 7) ++records;
  EXPECT_EQ(records, 10);
  // The first line says the clock of the times: JST as the log keeps them, UTC when converted or
  // when the log is kept in UTC.
  EXPECT_EQ(file.substr(0, file.find('\r')),
            std::string("ADIF Export from Vondal ") + kProgramVersion + " (JST)");
  TheOutputParameters()[kTimeConversion].choice = 1;
  OutputJob converted = Job({kAdifFile, kTarget, kSelection, kFields, kTimeConversion}, kAllRecords);
  converted.fields = adif.fields;
  WriteAdif(converted);
  ASSERT_TRUE(converted.file->Finish());
  EXPECT_EQ(fs.Contents("T.ADI").find(" (UTC)\r\n"), std::string("ADIF Export from Vondal ").size() + 7);
  TheOutputParameters()[kTimeConversion].choice = 0;
  context.logInUtc = true;
  OutputJob utcLog = Job({kAdifFile, kTarget, kSelection, kFields}, kAllRecords);
  utcLog.fields = adif.fields;
  WriteAdif(utcLog);
  ASSERT_TRUE(utcLog.file->Finish());
  std::string sameTimes = file;  // the log's times as they are, under the other note
  sameTimes.replace(sameTimes.find("(JST)"), 5, "(UTC)");
  EXPECT_EQ(fs.Contents("T.ADI"), sameTimes);
}

// Appending to an ADIF file adds records and no second header; an empty file gets the header.
TEST_F(LogOutputsTest, AdifAppendWritesTheHeaderOnlyIntoAnEmptyFile) {
  TheOutputParameters()[kAdifFile].value = "T.ADI";
  auto append = [&] {
    OutputJob job = Job({kAdifFile, kTarget, kSelection, kFields}, kSelectedRecords, "FREQ < 10");
    job.fields = ParseFieldSelection("DATE-rQSL");
    job.file = std::make_unique<OutputFile>(fs);
    EXPECT_TRUE(job.file->Open("T.ADI", OutputFile::Mode::kAppend));
    WriteAdif(job);
    EXPECT_TRUE(job.file->Finish());
  };
  fs.SetContents("T.ADI", "");
  append();
  const std::string once = fs.Contents("T.ADI");
  EXPECT_EQ(once.rfind(AdifHeader(false), 0), 0u);
  append();
  const std::string twice = fs.Contents("T.ADI");
  EXPECT_EQ(twice, once + once.substr(AdifHeader(false).size()));
  EXPECT_EQ(twice.find("<EOH>"), twice.rfind("<EOH>"));
}

}  // namespace
}  // namespace vondal
