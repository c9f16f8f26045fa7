#include "output/standard_adif.h"

#include <gtest/gtest.h>

#include "log/faulty_file_system.h"
#include "log/field_table.h"
#include "log/log_test_support.h"
#include "log/write_ahead.h"

namespace vondal {
namespace {

constexpr int64_t kNow = 1710471845;  // 2024-03-15 03:04:05 UTC

Record Contact(int n) {
  Record r;
  r[DATE] = "240305";
  r[START] = "0907";
  r[CALLSIGN] = "JA1AA" + std::string(1, static_cast<char>('A' + n));
  r[FREQ] = "7.025";
  r[MODE] = n == 2 ? "ﾃﾞｼﾞﾀﾙ" : "CW";
  r[QTH] = "横浜市";
  return r;
}

std::string LogOf(int count) {
  std::string log;
  for (int n = 0; n < count; ++n) {
    const RecordImage image = EncodeRecord(Contact(n));
    log.append(image.begin(), image.end());
  }
  return log;
}

// The records of the standard form, one line each, as the writer makes them.
std::string Records(int first, int count) {
  StandardAdifWriter writer(false);
  std::string out;
  RecordReader reader;
  for (int n = first; n < first + count; ++n) {
    const RecordImage image = EncodeRecord(Contact(n));
    writer.AppendRecord(out, reader.Split(image.data()));
  }
  return out;
}

const std::string kHeader = StandardAdifHeader("20240315 030405");

TEST(StandardAdifExportTest, WritesTheHeaderAndEveryRecordOfTheLog) {
  MemoryFileSystem fs;
  fs.SetContents("T.VD", LogOf(4));
  const StandardAdifExport result = ExportStandardAdif(fs, "T.VD", "T.ADI", false, kNow);
  EXPECT_EQ(result.message, "");
  EXPECT_EQ(fs.Contents("T.ADI"), kHeader + Records(0, 4));
  EXPECT_EQ(result.counts.records, 4);
  EXPECT_EQ(result.counts.unknownModes, 1);
  EXPECT_EQ(StandardAdifNote(result.counts), "ADIFにないﾓｰﾄﾞ 1件 (APP_Vondal_MODEに出力)");
  EXPECT_EQ(StandardAdifNote({}), "");

  fs.SetContents("E.VD", "");  // an empty log gives a file with its header alone
  EXPECT_EQ(ExportStandardAdif(fs, "E.VD", "E.ADI", false, kNow).message, "");
  EXPECT_EQ(fs.Contents("E.ADI"), kHeader);
}

TEST(StandardAdifExportTest, RefusesLogsItCannotExportWholeAndLeavesTheOutputAsItWas) {
  MemoryFileSystem fs;
  fs.SetContents("OLD.ADI", "old");
  fs.SetContents("T.VD", LogOf(3));
  fs.SetContents("TORN.VD", LogOf(3).substr(0, 450));
  EXPECT_EQ(ExportStandardAdif(fs, "NONE.VD", "OLD.ADI", false, kNow).message,
            "ﾛｸﾞﾌｧｲﾙがありません: NONE.VD");
  EXPECT_EQ(ExportStandardAdif(fs, "TORN.VD", "OLD.ADI", false, kNow).message,
            "ﾛｸﾞﾌｧｲﾙのｻｲｽﾞが異常です: TORN.VD");
  EXPECT_EQ(ExportStandardAdif(fs, "T.VD", "T.VD", false, kNow).message, "出力ﾌｧｲﾙがﾛｸﾞと同じです: T.VD");
  EXPECT_EQ(fs.Contents("T.VD"), LogOf(3));

  // A record write that a kill interrupted: the log may hold a torn record until Vondal opens it.
  Intent intent;
  intent.kind = IntentKind::kPutRecord;
  intent.record = 1;
  intent.sizeBefore = intent.sizeAfter = 3 * kRecordSize;
  fs.SetContents(WriteAheadName("T.VD"), EncodeIntent(intent));
  EXPECT_EQ(ExportStandardAdif(fs, "T.VD", "OLD.ADI", false, kNow).message,
            "ﾛｸﾞに中断された書込があります (Vondalで開くと修復されます): T.VD");
  intent.kind = IntentKind::kNone;  // cleared: nothing under way
  fs.SetContents(WriteAheadName("T.VD"), EncodeIntent(intent));
  EXPECT_EQ(ExportStandardAdif(fs, "T.VD", "NEW.ADI", false, kNow).message, "");
  EXPECT_EQ(fs.Contents("OLD.ADI"), "old");
}

TEST(StandardAdifExportTest, AFailedWriteLeavesNoHalfFile) {
  MemoryFileSystem memory;
  memory.SetContents("T.VD", LogOf(3));
  memory.SetContents("OLD.ADI", "old");
  FaultyFileSystem fs(memory);
  fs.faults.spaceLeft = 300;  // the disk fills up inside the records
  EXPECT_EQ(ExportStandardAdif(fs, "T.VD", "OLD.ADI", false, kNow).message,
            "出力ﾌｧｲﾙに書込めません: OLD.ADI");
  EXPECT_EQ(memory.Contents("OLD.ADI"), "old");
  fs.faults = {};
  fs.faults.failSync = true;
  EXPECT_EQ(ExportStandardAdif(fs, "T.VD", "NEW.ADI", false, kNow).message,
            "出力ﾌｧｲﾙに書込めません: NEW.ADI");
  EXPECT_FALSE(memory.Exists("NEW.ADI"));
  fs.faults = {};
  fs.faults.failOpen = {"T.VD"};
  EXPECT_EQ(ExportStandardAdif(fs, "T.VD", "NEW.ADI", false, kNow).message, "ﾛｸﾞﾌｧｲﾙを読めません: T.VD");
}

// The menu's output: the header once, also when the records go behind those of an earlier run.
TEST(StandardAdifExportTest, AnAppendKeepsTheFileToOneHeader) {
  MemoryFileSystem fs;
  fs.SetContents("T.VD", LogOf(4));
  testing::LogSet set(fs);
  ASSERT_EQ(set.log.OpenLog("T.VD"), "");
  std::vector<char> buffer(kIndexBufferSize);
  ASSERT_EQ(set.index.Rebuild(set.log, nullptr, buffer), "");
  ResetFieldTable();
  TheOutputParameters() = DefaultOutputParameters("", "T.VD");
  TheOutputParameters()[kAdifFile].value = "OUT.ADI";
  OutputContext context{set.log, set.index, fs, "T.VD"};
  const auto run = [&](OutputFile::Mode mode, int target) {
    OutputJob job(context, {kAdifFile, kTarget, kSelection});
    job.parameters[kTarget].choice = target;
    job.targetCount = CountTargets(job);
    job.file = std::make_unique<OutputFile>(fs);
    EXPECT_TRUE(job.file->Open("OUT.ADI", mode));
    const StandardAdifCounts counts = WriteStandardAdif(job, false, kNow);
    EXPECT_TRUE(job.file->Finish());
    return counts.records;
  };
  set.index[1].mark = 1;
  set.index[3].mark = 1;
  EXPECT_EQ(run(OutputFile::Mode::kReplace, kUnmarkedRecords), 2);
  EXPECT_EQ(run(OutputFile::Mode::kAppend, kMarkedRecords), 2);
  EXPECT_EQ(fs.Contents("OUT.ADI"), kHeader + Records(0, 1) + Records(2, 1) + Records(1, 1) + Records(3, 1));
  fs.SetContents("OUT.ADI", "");  // an empty file gets its header
  EXPECT_EQ(run(OutputFile::Mode::kAppend, kAllRecords), 4);
  EXPECT_EQ(fs.Contents("OUT.ADI"), kHeader + Records(0, 4));
}

}  // namespace
}  // namespace vondal
