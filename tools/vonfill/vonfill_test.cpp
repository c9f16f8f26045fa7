#include "tools/vonfill/vonfill.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <fstream>
#include <sstream>

#include "app/text/charset.h"
#include "log/faulty_file_system.h"
#include "tools/vonfill/vonfill_test_support.h"

namespace vondal::vonfill {
namespace {

using testing::kFixtureCityList;
using testing::TemporaryFolder;
using Action = VonfillCommand::Action;

TEST(VonfillCommandTest, RecordsThatAreNoCountGiveTheUsage) {
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {}, {"LOG"}, {"LOG", "0"}, {"LOG", "abc"}, {"LOG", "012"}, {"LOG", "12abc"}, {"LOG", ""}}) {
    EXPECT_EQ(ParseCommandLine(args).action, Action::kUsage) << args.size();
  }
  const VonfillCommand over = ParseCommandLine({"LOG", "1000001"});
  EXPECT_EQ(over.action, Action::kRefuse);
  EXPECT_EQ(over.message, "レコード数制限を超えます");
  EXPECT_EQ(ParseCommandLine({"LOG", "99999999999999999999"}).message, "レコード数制限を超えます");
  EXPECT_EQ(ParseCommandLine({"LOG", "1000000"}).settings.records, 1000000);
}

TEST(VonfillCommandTest, NamesWhoseLastPartHasNoDotGetTheLogExtension) {
  EXPECT_EQ(ParseCommandLine({"DEMO", "5"}).fileName, "DEMO.VD");
  EXPECT_EQ(ParseCommandLine({"/tmp/demo", "5"}).fileName, "/tmp/demo.VD");
  EXPECT_EQ(ParseCommandLine({"DEMO.LOG", "5"}).fileName, "DEMO.LOG");
  // The extension rule of every program: only the last part of the path counts.
  EXPECT_EQ(ParseCommandLine({"./demo", "5"}).fileName, "./demo.VD");
  EXPECT_EQ(ParseCommandLine({"sub.d/new", "5"}).fileName, "sub.d/new.VD");
  EXPECT_EQ(ParseCommandLine({"demo.", "5"}).fileName, "demo.VD");
}

TEST(VonfillCommandTest, OptionsInEitherCaseWithEitherMark) {
  EXPECT_DOUBLE_EQ(ParseCommandLine({"L", "5"}).settings.foreignShare, 0.5);
  EXPECT_DOUBLE_EQ(ParseCommandLine({"L", "5", "-D60"}).settings.foreignShare, 0.6);
  EXPECT_DOUBLE_EQ(ParseCommandLine({"L", "5", "/d0.2"}).settings.foreignShare, 0.2);
  EXPECT_DOUBLE_EQ(ParseCommandLine({"L", "5", "-D1"}).settings.foreignShare, 1.0);
  EXPECT_DOUBLE_EQ(ParseCommandLine({"L", "5", "-D100"}).settings.foreignShare, 1.0);
  const VonfillCommand all = ParseCommandLine({"L", "5", "-u", "/!", "-s4294967295"});
  EXPECT_EQ(all.action, Action::kGenerate);
  EXPECT_TRUE(all.settings.strict);
  EXPECT_TRUE(all.settings.memoryStatistics);
  EXPECT_TRUE(all.fixedSeed);
  EXPECT_EQ(all.settings.seed, 4294967295u);
  EXPECT_FALSE(ParseCommandLine({"L", "5"}).fixedSeed);
}

TEST(VonfillCommandTest, BadOptionsAreRefusedWithWhatWasWrong) {
  EXPECT_EQ(ParseCommandLine({"L", "5", "-D150"}).message, "DX局の比率が不適当です: -D150");
  EXPECT_EQ(ParseCommandLine({"L", "5", "-Dabc"}).message, "DX局の比率が不適当です: -Dabc");
  EXPECT_EQ(ParseCommandLine({"L", "5", "-D-1"}).message, "DX局の比率が不適当です: -D-1");
  EXPECT_EQ(ParseCommandLine({"L", "5", "-D"}).message, "DX局の比率が不適当です: -D");
  EXPECT_EQ(ParseCommandLine({"L", "5", "-X"}).message, "オプションが不適当です: -X");
  EXPECT_EQ(ParseCommandLine({"L", "5", "-Ux"}).message, "オプションが不適当です: -Ux");
  EXPECT_EQ(ParseCommandLine({"L", "5", "-S4294967296"}).message, "オプションが不適当です: -S4294967296");
  EXPECT_EQ(ParseCommandLine({"L", "5", "more"}).message, "引数が多すぎます: more");
  EXPECT_EQ(ParseCommandLine({"L", "5", "/"}).message, "オプションが不適当です: /");
}

class WriteDummyLogTest : public ::testing::Test {
 protected:
  std::string Write(const std::string& records, FileSystem& fs) {
    return WriteDummyLog(ParseCommandLine({"A.VD", records, "-S9"}), fs, cityList,
                         [&](int i) { progress.push_back(i); });
  }

  TemporaryFolder folder;
  std::string cityList = folder.Write("CGlist3.TXT", kFixtureCityList);
  MemoryFileSystem memory;
  FaultyFileSystem faulty{memory};
  std::vector<int> progress;
};

TEST_F(WriteDummyLogTest, WritesTheRecordsAndReportsEveryTenThousand) {
  ASSERT_EQ(Write("25000", memory), "");
  EXPECT_EQ(memory.Contents("A.VD").size(), 25000u * 200);
  EXPECT_EQ(progress, (std::vector<int>{0, 10000, 20000}));
  EXPECT_FALSE(memory.Exists("A.VD.tmp~"));
}

TEST_F(WriteDummyLogTest, AnExistingFileIsLeftAlone) {
  memory.SetContents("A.VD", "mine");
  EXPECT_EQ(Write("10", memory), "既存ファイルには出力できません");
  EXPECT_EQ(memory.Contents("A.VD"), "mine");
}

TEST_F(WriteDummyLogTest, FailuresLeaveNoFileBehind) {
  faulty.faults.failOpen = {"A.VD.tmp~"};
  EXPECT_EQ(Write("10", faulty), "オープンできません");
  faulty.faults.failOpen.clear();

  cityList = folder / "missing.TXT";
  EXPECT_EQ(Write("10", faulty), "CGlist3.TXTがありません");
  EXPECT_FALSE(memory.Exists("A.VD") || memory.Exists("A.VD.tmp~"));
  cityList = folder / "CGlist3.TXT";

  // A full disk: nothing half-written stays, and the run does not claim success.
  faulty.faults.spaceLeft = 1500000;
  EXPECT_EQ(Write("20000", faulty), "書き込めません");
  EXPECT_FALSE(memory.Exists("A.VD") || memory.Exists("A.VD.tmp~"));
  faulty.faults.spaceLeft = -1;

  faulty.faults.failSync = true;
  EXPECT_EQ(Write("10", faulty), "書き込めません");
  EXPECT_FALSE(memory.Exists("A.VD") || memory.Exists("A.VD.tmp~"));
}

// Runs the real program with VONDAL_HOME at `home`; its exit status, stdout and stderr.
struct ProgramRun {
  int status;
  std::string out;
  std::string err;
};

ProgramRun Vonfill(const TemporaryFolder& home, const std::string& args) {
  const std::string command = "cd '" + (home / "") + "' && VONDAL_HOME='" + (home / "") +
                              "' LC_ALL=C.UTF-8 '" + VONDAL_BIN_DIR "/vonfill' " + args +
                              " >out.txt 2>err.txt";
  const int status = std::system(command.c_str());
  auto read = [&](const char* name) {
    std::ifstream in(home / name, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  };
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, read("out.txt"), read("err.txt")};
}

TEST(VonfillProgramTest, UsageErrorsAndARun) {
  TemporaryFolder home;
  home.Write("CGlist3.TXT", kFixtureCityList);

  ProgramRun usage = Vonfill(home, "DEMO abc");
  EXPECT_EQ(usage.status, 0);
  // Messages reach the terminal in the locale's charset.
  EXPECT_EQ(usage.out, Cp932ToUtf8("Vonfill w01.020\n\n" + UsageText()));

  ProgramRun over = Vonfill(home, "DEMO 1000001");
  EXPECT_EQ(over.status, 255);
  EXPECT_EQ(over.err, Cp932ToUtf8("レコード数制限を超えます\n"));

  ProgramRun run = Vonfill(home, "DEMO 12345 -S3");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "Vonfill w01.020\n\n\r    0\r10000\r12345\n");
  std::ifstream log(home / "DEMO.VD", std::ios::binary | std::ios::ate);
  EXPECT_EQ(log.tellg(), 12345 * 200);

  // A Japanese name arrives in the locale's charset and is created under the same name.
  EXPECT_EQ(Vonfill(home, "'\xE3\x83\xAD\xE3\x82\xB0' 5 -S3").status, 0);  // "ログ" in UTF-8
  EXPECT_TRUE(std::ifstream(home / "\xE3\x83\xAD\xE3\x82\xB0.VD").good());

  ProgramRun again = Vonfill(home, "DEMO 10");
  EXPECT_EQ(again.status, 255);
  EXPECT_EQ(again.err, Cp932ToUtf8("既存ファイルには出力できません\n"));

  std::remove((home / "CGlist3.TXT").c_str());
  ProgramRun noList = Vonfill(home, "OTHER 10");
  EXPECT_EQ(noList.status, 255);
  EXPECT_EQ(noList.err, Cp932ToUtf8("CGlist3.TXTがありません\n"));
  EXPECT_FALSE(std::ifstream(home / "OTHER.VD").good());
}

}  // namespace
}  // namespace vondal::vonfill
