// Every writer on a full disk and on a failing one: against a file-size limit (RLIMIT_FSIZE, the
// kernel's own short writes and EFBIG, with SIGXFSZ ignored) on real files, and against the
// fault-injecting file interface (short write, no space, EIO on sync). Each must say so with
// its message, leave the old file as it was, and never report success.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

#include "app/text/charset.h"
#include "color/color_sets.h"
#include "log/external_file.h"
#include "log/faulty_file_system.h"
#include "log/field_table.h"
#include "log/log_file.h"
#include "log/log_test_support.h"
#include "log/record_index.h"
#include "log/safety_file.h"
#include "macro/macro_file.h"
#include "macro/macro_store.h"
#include "output/contest_jarl.h"
#include "output/output_file.h"
#include "output/output_frame.h"
#include "output/table_field_reports.h"
#include "output/table_word_specs.h"
#include "tests/reliability/file_size_limit.h"
#include "tests/reliability/log_check.h"
#include "tools/vonfill/vonfill.h"
#include "tools/vonrix/vonrix.h"

namespace vondal::reliability {
namespace {

using ::testing::HasSubstr;

std::string Images(int count, uint64_t seed) {
  std::string bytes;
  for (int i = 0; i < count; ++i) {
    const RecordImage image = EncodeRecord(RandomRecord(seed + i));
    bytes.append(image.begin(), image.end());
  }
  return bytes;
}

class FullDiskTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetFieldTable(); }

  std::string Path(const std::string& name) const { return temporary.Path(name); }
  static std::string Read(const std::string& path) { return testing::TemporaryFolder::Read(path); }
  static void Write(const std::string& path, const std::string& bytes) {
    testing::TemporaryFolder::Write(path, bytes);
  }
  bool Exists(const std::string& name) const { return access(Path(name).c_str(), F_OK) == 0; }

  // Runs a program of the build with the file-size limit; its exit status and output.
  int RunLimited(rlim_t bytes, const std::string& command, std::string& output) {
    const std::string outFile = Path("output.txt");
    const pid_t pid = fork();
    if (pid == 0) {
      FileSizeLimit limit(bytes);
      const std::string line = "cd '" + folder + "' && LANG=C.UTF-8 " + command + " > output.txt 2>&1";
      // The output goes to a file under the limit too: the programs' messages are short.
      execl("/bin/sh", "sh", "-c", line.c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    output = Read(outFile);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }

  FileSystem& fs = RealFileSystem();
  testing::TemporaryFolder temporary;
  const std::string& folder = temporary.path();
};

TEST_F(FullDiskTest, LogAppendThatDoesNotFitIsCutBackAndTheLogOpens) {
  const std::string log = Images(3, 1);
  Write(Path("A.VD"), log);
  testing::LogSet set(fs);
  auto& [counters, index, safety, ui, file] = set;
  ASSERT_EQ(file.OpenLog(Path("A.VD")), "");
  Record r = RandomRecord(9);
  {
    FileSizeLimit limit(log.size() + 100);
    WriteResult result = file.WriteRecord(3, r);
    EXPECT_EQ(result.message, "ﾛｸﾞﾌｧｲﾙに書込めません");
    EXPECT_FALSE(result.written);
  }
  EXPECT_EQ(Read(Path("A.VD")), log);
  EXPECT_EQ(counters[kCountLogNew], 0);
  LogFile again(fs, counters, index, safety, ui);
  EXPECT_EQ(again.OpenLog(Path("A.VD")), "");
  EXPECT_EQ(again.RecordCount(), 3);
}

TEST_F(FullDiskTest, JournalThatIsFullKeepsTheLogRecordAndStaysWhole) {
  const std::string journal = Images(10, 20);
  Write(Path("A.VDS"), journal);
  testing::LogSet set(fs);
  auto& [counters, index, safety, ui, file] = set;
  safety.Configure(Path("A.VDS"));
  ASSERT_EQ(file.OpenLog(Path("A.VD")), "");
  Record r = RandomRecord(9);
  {
    FileSizeLimit limit(journal.size() + 150);
    WriteResult result = file.WriteRecord(0, r);
    EXPECT_EQ(result.message, "ｾｰﾌﾃｨﾌｧｲﾙに書込めません");
    EXPECT_TRUE(result.written);
    EXPECT_EQ(safety.WriteMarker("＜結合読み込み開始＞"), 1);
  }
  EXPECT_EQ(Read(Path("A.VDS")), journal);
  EXPECT_EQ(counters[kCountSafety] + counters[kCountSafetyTime], 0);
  EXPECT_EQ(Read(Path("A.VD")).size(), 200u);
}

TEST_F(FullDiskTest, IndexSaveThatDoesNotFitKeepsTheOldIndexAndNoLeftover) {
  Write(Path("A.VD"), Images(300, 1));
  Write(Path("A.VDI"), "an older index file");
  testing::LogSet set(fs);
  auto& [counters, index, safety, ui, file] = set;
  ASSERT_EQ(file.OpenLog(Path("A.VD")), "");
  std::vector<char> buffer(kIndexBufferSize);
  ASSERT_EQ(index.LoadIndex(Path("A.VDI"), fs, file, ui, buffer), "");  // rebuilt
  {
    FileSizeLimit limit(1000);
    EXPECT_EQ(index.SaveIndex(Path("A.VDI"), fs, ui, buffer), 1);
  }
  EXPECT_EQ(Read(Path("A.VDI")), "an older index file");
  EXPECT_FALSE(Exists("A.VDI.tmp~"));
}

TEST_F(FullDiskTest, ExternalLineThatDoesNotFitIsTakenBack) {
  Write(Path("ext.txt"), "first line\r\n");
  WriteCounters counters;
  ExternalFile external(fs, counters);
  ASSERT_EQ(external.Open('W', Path("ext.txt")), "");
  std::string text = "a line longer than the room that is left";
  {
    FileSizeLimit limit(20);
    EXPECT_EQ(external.Access(text, false).message, "外部ﾌｧｲﾙに書込めません");
  }
  EXPECT_EQ(Read(Path("ext.txt")), "first line\r\n");
  EXPECT_EQ(counters[kCountExternal], 0);
}

// A store of 100 macros, each with a text and a comment, changed since it was loaded.
void FullStore(MacroStore& store) {
  store.Clear();
  store.Append(std::string(macro_format::kStoreBytes, '\0'));
  for (int n = 1; n < store.Count(); ++n) {
    store.SetText(n, "JA1ABC\x0e+7.050");
    store.SetComment(n, "コンテスト用 " + std::to_string(n));
  }
  store.Changed();
}

TEST_F(FullDiskTest, MacroSaveThatDoesNotFitKeepsTheOldFileAndNoLeftover) {
  const std::string old(macro_format::kFileUnitBytes, 'm');
  Write(Path("M.VDM"), old);
  auto store = std::make_unique<MacroStore>();
  FullStore(*store);
  testing::RecordingUi ui;
  {
    FileSizeLimit limit(10000);
    EXPECT_EQ(SaveMacrosAtEnd(fs, Path("M.VDM"), *store, ui), kMacroFileNotWritten);
  }
  EXPECT_EQ(Read(Path("M.VDM")), old);
  EXPECT_FALSE(Exists("M.VDM.tmp~"));
  EXPECT_TRUE(store->Modified());  // asked about again at the next quit
  EXPECT_THAT(ui.reports, ::testing::ElementsAre("ﾏｸﾛ保存", kMacroFileNotWritten));
}

TEST_F(FullDiskTest, VonfillThatRunsOutOfRoomLeavesNoLog) {
  std::string output;
  const std::string vonfill = std::string(VONDAL_BIN_DIR) + "/vonfill";
  EXPECT_NE(RunLimited(100000, vonfill + " dummy.VD 5000 -S1", output), 0);
  EXPECT_THAT(output, HasSubstr(Cp932ToUtf8("書き込めません")));  // printed in the locale's charset
  EXPECT_FALSE(Exists("dummy.VD"));
  EXPECT_FALSE(Exists("dummy.VD.tmp~"));
}

TEST_F(FullDiskTest, VonrixThatRunsOutOfRoomKeepsTheOldReport) {
  Write(Path("A.VD"), Images(2000, 1));
  Write(Path("report.txt"), "the report of last week\r\n");
  std::string output;
  const std::string vonrix = std::string(VONDAL_BIN_DIR) + "/vonrix";
  // The log is read, not written; only the new report meets the limit.
  EXPECT_EQ(RunLimited(4000, vonrix + " A.VD report.txt C", output), kVonrixFailed);
  EXPECT_THAT(output, HasSubstr(Cp932ToUtf8("出力ファイルに書込めません")));
  EXPECT_EQ(Read(Path("report.txt")), "the report of last week\r\n");
  EXPECT_FALSE(Exists("report.txt.tmp~"));
}

// The standard ADIF export of the command line, larger than the output buffer: the old export
// stays, no temporary file is left, and the script is told with status 1.
TEST_F(FullDiskTest, AdifExportCommandThatRunsOutOfRoomKeepsTheOldFile) {
  Write(Path("A.VD"), Images(20000, 1));
  Write(Path("A.ADI"), "last week's export\r\n");
  std::string output;
  const std::string vondal = std::string("VONDAL_HOME=. ") + VONDAL_BIN_DIR + "/vondal";
  EXPECT_EQ(RunLimited(1500000, vondal + " --export-adif=A.ADI A", output), 1);
  EXPECT_THAT(output, HasSubstr(Cp932ToUtf8("(!) 出力ﾌｧｲﾙに書込めません: A.ADI")));
  EXPECT_EQ(Read(Path("A.ADI")), "last week's export\r\n");
  EXPECT_FALSE(Exists("A.ADI.tmp~"));
}

// An output (CSV, ADIF, tables, contest logs) larger than the output buffer, so that the limit
// meets a write in the middle: an overwrite keeps the old file, an append is cut back.
TEST_F(FullDiskTest, OutputThatDoesNotFitKeepsTheOldFile) {
  const std::string old = "the export of last month\r\n";
  const std::string body(kOutputBufferBytes + kOutputBufferBytes / 2, 'x');
  for (const OutputFile::Mode mode : {OutputFile::Mode::kReplace, OutputFile::Mode::kAppend}) {
    Write(Path("T.ADI"), old);
    OutputFile out(fs);
    ASSERT_TRUE(out.Open(Path("T.ADI"), mode));
    bool appended, finished;
    {
      FileSizeLimit limit(kOutputBufferBytes + 1000);
      appended = out.Append(body.substr(0, kOutputBufferBytes)) && out.Append(body.substr(kOutputBufferBytes));
      finished = out.Finish();
    }
    EXPECT_FALSE(appended && finished);
    EXPECT_TRUE(out.failed());
    EXPECT_EQ(Read(Path("T.ADI")), old);
    EXPECT_FALSE(Exists("T.ADI.tmp~"));
  }
}

// A contest log of 20,000 contacts (the most a contest output takes), its summary sheet and log
// section longer than the output buffer: on a full disk the last log stays as it was.
TEST_F(FullDiskTest, ContestLogThatDoesNotFitKeepsTheOldLog) {
  ContestRun run;
  ContestSettings settings;
  for (int n = 0; n < 20000; ++n) {
    Record r;
    r[DATE] = "240601";
    r[START] = "2100";
    r[CALLSIGN] = "JA1A" + std::to_string(n);
    r[FREQ] = n % 2 ? "7.050" : "14.050";
    r[MODE] = "CW";
    r[sRST] = "59913M";
    r[rRST] = "599" + std::to_string(10 + n % 40) + "M";
    RecordTexts texts;
    for (int f = 0; f < kStoredFieldCount; ++f) texts[f] = r[f];
    ScoreContestRecord(run, n, texts, settings);
  }
  const std::string body = ScoreTable(run, false) + JarlLog(run, settings, DateTime{2024, 6, 9, 0, 0});
  ASSERT_GT(body.size(), kOutputBufferBytes);
  const std::string old = "<SUMMARYSHEET VERSION=R2.1>\r\n";
  Write(Path("T.TXT"), old);
  OutputFile out(fs);
  ASSERT_TRUE(out.Open(Path("T.TXT"), OutputFile::Mode::kReplace));
  bool appended, finished;
  {
    FileSizeLimit limit(kOutputBufferBytes / 2);
    appended = out.Append(body);
    finished = out.Finish();
  }
  EXPECT_FALSE(appended && finished);
  EXPECT_EQ(Read(Path("T.TXT")), old);
  EXPECT_FALSE(Exists("T.TXT.tmp~"));
}

// A table report longer than the output buffer (a continuity table whose every record opens a run
// of its own): on a full disk the last report stays as it was and no temporary file is left.
TEST_F(FullDiskTest, TableThatDoesNotFitKeepsTheOldReport) {
  std::string log;
  for (int n = 0; n < 30000; ++n) {
    Record r = testing::ValidRecord("JA1ABC", "240601");
    r[REMARKS] = "run " + std::to_string(n) + std::string(40, 'x');
    const RecordImage image = EncodeRecord(r);
    log.append(image.begin(), image.end());
  }
  Write(Path("T.VD"), log);
  testing::LogSet set(fs);
  ASSERT_EQ(set.log.OpenLog(Path("T.VD")), "");
  const OutputContext context{set.log, set.index, fs, "T.VD"};
  TheOutputParameters() = DefaultOutputParameters("", Path("T.VD"));
  OutputJob job(context, {6, 7, 8, 17, 18, 19, 29, 30});
  job.parameters[kTarget].Choose(kAllRecords);
  job.parameters[kWordField].Choose(REMARKS);
  job.file = std::make_unique<OutputFile>(fs);
  ASSERT_TRUE(job.file->Open(Path("U.TXT"), OutputFile::Mode::kReplace));
  WriteContinuityTable(job);
  ASSERT_TRUE(job.file->Finish());
  ASSERT_GT(Read(Path("U.TXT")).size(), kOutputBufferBytes);  // without a limit

  const std::string old = "Vondal w01.022 ----\r\n";
  Write(Path("T.TXT"), old);
  job.file = std::make_unique<OutputFile>(fs);
  ASSERT_TRUE(job.file->Open(Path("T.TXT"), OutputFile::Mode::kReplace));
  bool finished;
  {
    FileSizeLimit limit(kOutputBufferBytes / 2);
    WriteContinuityTable(job);
    finished = job.file->Finish();
  }
  EXPECT_FALSE(finished);
  EXPECT_EQ(Read(Path("T.TXT")), old);
  EXPECT_FALSE(Exists("T.TXT.tmp~"));
}

// A colour file of `sets` sets (the default set and its copies) at `name`.
bool MakeColorFile(FileSystem& fs, const std::string& name, int sets) {
  WriteCounters counters;
  ColorSets colors(fs, counters);
  colors.Load(name);
  for (int n = 1; n < sets; ++n) colors.Copy(n - 1);
  SetCurrentColorTable(DefaultColorTable());
  return colors.SaveAs(name).empty();
}

TEST_F(FullDiskTest, ColorFileSaveThatDoesNotFitKeepsTheOldFileAndStaysChanged) {
  ASSERT_TRUE(MakeColorFile(fs, Path("C.VDC"), 3));
  const std::string old = Read(Path("C.VDC"));
  WriteCounters counters;
  ColorSets colors(fs, counters);
  colors.Load(Path("C.VDC"));
  colors.Copy(2);
  {
    FileSizeLimit limit(700);
    EXPECT_EQ(colors.Save(), "色ﾌｧｲﾙに書込めません");
  }
  SetCurrentColorTable(DefaultColorTable());
  EXPECT_EQ(Read(Path("C.VDC")), old);
  EXPECT_FALSE(Exists("C.VDC.tmp~"));
  EXPECT_TRUE(colors.NeedsSave());  // quit asks before leaving
}

// The same writers on the fault-injecting file interface.
enum class Fault { kShortWrite, kNoSpace, kSyncFails };

class FailingWriterTest : public ::testing::TestWithParam<Fault> {
 protected:
  FailingWriterTest() : faulty(memory) { ResetFieldTable(); }

  void Break(const std::string& target) {
    faulty.faults = {};
    faulty.faults.target = target;
    switch (GetParam()) {
      case Fault::kShortWrite:
        faulty.faults.shortWrite = faulty.writeCount + 1;
        break;
      case Fault::kNoSpace:
        faulty.faults.spaceLeft = 10;
        break;
      case Fault::kSyncFails:
        faulty.faults.failSync = true;
        break;
    }
  }

  MemoryFileSystem memory;
  FaultyFileSystem faulty;
};

TEST_P(FailingWriterTest, JournalAndMarkerSayNoAndStayWhole) {
  const std::string journal = Images(4, 3);
  memory.SetContents("A.VDS", journal);
  WriteCounters counters;
  SafetyFile safety(faulty, counters);
  safety.Configure("A.VDS");
  Break("A.VDS");
  EXPECT_FALSE(safety.JournalRecord(EncodeRecord(RandomRecord(1))));
  Break("A.VDS");
  EXPECT_EQ(safety.WriteMarker("＜結合読み込み終了＞"), 1);
  EXPECT_EQ(memory.Contents("A.VDS"), journal);
  EXPECT_EQ(counters[kCountSafety] + counters[kCountSafetyTime], 0);
}

TEST_P(FailingWriterTest, IndexSaveSaysNoAndKeepsTheOldFile) {
  memory.SetContents("A.VD", Images(50, 1));
  memory.SetContents("A.VDI", "older");
  testing::LogSet set(memory);
  auto& [counters, index, safety, ui, file] = set;
  ASSERT_EQ(file.OpenLog("A.VD"), "");
  std::vector<char> buffer(kIndexBufferSize);
  ASSERT_EQ(index.LoadIndex("A.VDI", faulty, file, ui, buffer), "");
  Break("A.VDI.tmp~");
  EXPECT_EQ(index.SaveIndex("A.VDI", faulty, ui, buffer), 1);
  EXPECT_EQ(memory.Contents("A.VDI"), "older");
  EXPECT_FALSE(memory.Exists("A.VDI.tmp~"));
}

TEST_P(FailingWriterTest, ExternalLineSaysNoAndIsTakenBack) {
  if (GetParam() == Fault::kSyncFails) GTEST_SKIP() << "external lines are not synced";
  memory.SetContents("ext.txt", "first\r\n");
  WriteCounters counters;
  ExternalFile external(faulty, counters);
  ASSERT_EQ(external.Open('W', "ext.txt"), "");
  Break("ext.txt");
  std::string text = "a line of more than ten bytes";
  EXPECT_EQ(external.Access(text, false).message, "外部ﾌｧｲﾙに書込めません");
  EXPECT_EQ(memory.Contents("ext.txt"), "first\r\n");
}

TEST_P(FailingWriterTest, MacroSaveSaysNoAndKeepsTheOldFile) {
  memory.SetContents("M.VDM", "older");
  auto store = std::make_unique<MacroStore>();
  FullStore(*store);
  Break("M.VDM.tmp~");
  EXPECT_EQ(WriteMacroFile(faulty, "M.VDM", *store), kMacroFileNotWritten);
  EXPECT_EQ(memory.Contents("M.VDM"), "older");
  EXPECT_FALSE(memory.Exists("M.VDM.tmp~"));
  faulty.faults = {};
  faulty.faults.failOpen = {"M.VDM.tmp~"};
  EXPECT_EQ(WriteMacroFile(faulty, "M.VDM", *store), kMacroFileNotCreated);
  EXPECT_EQ(memory.Contents("M.VDM"), "older");
}

TEST_P(FailingWriterTest, VonfillSaysNoAndLeavesNothing) {
  vonfill::VonfillCommand command = vonfill::ParseCommandLine({"D.VD", "3000", "-S7"});
  ASSERT_EQ(command.action, vonfill::VonfillCommand::Action::kGenerate);
  Break("D.VD.tmp~");
  const std::string failure =
      vonfill::WriteDummyLog(command, faulty, std::string(VONDAL_BIN_DIR) + "/CGlist3.TXT", [](int) {});
  EXPECT_EQ(failure, "書き込めません");
  EXPECT_FALSE(memory.Exists("D.VD"));
  EXPECT_FALSE(memory.Exists("D.VD.tmp~"));
}

TEST_P(FailingWriterTest, VonrixSaysNoAndKeepsTheOldReport) {
  memory.SetContents("A.VD", Images(3000, 1));
  memory.SetContents("R.TXT", "old report");
  VonrixContext context;
  context.fs = &faulty;
  std::string printed;
  context.print = [&](std::string_view text) { printed += text; };
  Break("R.TXT.tmp~");
  EXPECT_EQ(RunVonrix({"A.VD", "R.TXT", "C"}, context), kVonrixFailed);
  EXPECT_THAT(printed, HasSubstr("出力ファイルに書込めません"));
  EXPECT_EQ(memory.Contents("R.TXT"), "old report");
  EXPECT_FALSE(memory.Exists("R.TXT.tmp~"));
}

TEST_P(FailingWriterTest, OutputSaysNoAndKeepsTheOldFile) {
  for (const OutputFile::Mode mode : {OutputFile::Mode::kReplace, OutputFile::Mode::kAppend}) {
    memory.SetContents("T.CSV", "old\r\n");
    OutputFile out(faulty);
    ASSERT_TRUE(out.Open("T.CSV", mode));
    Break(mode == OutputFile::Mode::kReplace ? "T.CSV.tmp~" : "T.CSV");
    out.Append("a line of more than ten bytes\r\n");
    EXPECT_FALSE(out.Finish());
    EXPECT_EQ(memory.Contents("T.CSV"), "old\r\n");
    EXPECT_FALSE(memory.Exists("T.CSV.tmp~"));
  }
}

TEST_P(FailingWriterTest, ColorFileSaveSaysNoAndKeepsTheOldFile) {
  ASSERT_TRUE(MakeColorFile(memory, "C.VDC", 2));
  const std::string old = memory.Contents("C.VDC");
  WriteCounters counters;
  ColorSets colors(faulty, counters);
  colors.Load("C.VDC");
  colors.Copy(0);
  Break("C.VDC.tmp~");
  EXPECT_EQ(colors.Save(), "色ﾌｧｲﾙに書込めません");
  SetCurrentColorTable(DefaultColorTable());
  EXPECT_EQ(memory.Contents("C.VDC"), old);
  EXPECT_FALSE(memory.Exists("C.VDC.tmp~"));
  EXPECT_TRUE(colors.NeedsSave());
}

INSTANTIATE_TEST_SUITE_P(Faults, FailingWriterTest,
                         ::testing::Values(Fault::kShortWrite, Fault::kNoSpace, Fault::kSyncFails),
                         [](const auto& info) {
                           switch (info.param) {
                             case Fault::kShortWrite:
                               return std::string("ShortWrite");
                             case Fault::kNoSpace:
                               return std::string("NoSpace");
                             default:
                               return std::string("SyncFails");
                           }
                         });

}  // namespace
}  // namespace vondal::reliability
