// `vondal --export-adif=OUT LOG` as a script or cron runs it: no terminal (standard input from
// /dev/null, standard output and error into files), a configuration set standing in for the log,
// refusals on standard error with status 1 and nothing written.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "adif/standard_writer.h"
#include "app/text/charset.h"
#include "log/log_format.h"
#include "log/log_test_support.h"

namespace vondal {
namespace {

Record Contact(int n) {
  Record r;
  r[DATE] = "240315";
  r[START] = "0030";
  r[END] = "0045";
  r[CALLSIGN] = "JA1AB" + std::string(1, static_cast<char>('A' + n));
  r[FREQ] = "7.025";
  r[MODE] = n == 1 ? "DV" : "CW";
  r[QTH] = "名古屋市";
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

// The records as the standard form writes them, from a log kept in JST or in UTC.
std::string Records(int count, bool logInUtc) {
  StandardAdifWriter writer(logInUtc);
  std::string out;
  RecordReader reader;
  for (int n = 0; n < count; ++n) {
    const RecordImage image = EncodeRecord(Contact(n));
    writer.AppendRecord(out, reader.Split(image.data()));
  }
  return out;
}

class ExportCommandTest : public ::testing::Test {
 protected:
  struct Run {
    int status = -1;
    std::string out, err;
  };

  // Runs vondal in the folder, which is also its program folder (Vondal.ini), without a terminal.
  Run Vondal(const std::string& arguments) {
    const pid_t pid = fork();
    if (pid == 0) {
      const std::string line = "cd '" + folder.path() +
                               "' && VONDAL_HOME=. LANG=C.UTF-8 '" VONDAL_BIN_DIR "/vondal' " + arguments +
                               " < /dev/null > out.txt 2> err.txt";
      execl("/bin/sh", "sh", "-c", line.c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
    Run run;
    int status = 0;
    waitpid(pid, &status, 0);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    run.out = Read("out.txt");
    run.err = Read("err.txt");
    return run;
  }

  std::string Read(const std::string& name) const {
    return testing::TemporaryFolder::Read(folder.Path(name));
  }
  void Write(const std::string& name, const std::string& bytes) const {
    testing::TemporaryFolder::Write(folder.Path(name), bytes);
  }
  bool Exists(const std::string& name) const { return access(folder.Path(name).c_str(), F_OK) == 0; }

  // The file's records: what follows its header.
  std::string RecordsOf(const std::string& name) const {
    const std::string file = Read(name);
    const size_t eoh = file.find("<EOH>\r\n");
    EXPECT_EQ(file.rfind("Vondal w01.022 ADIF 3.1.4, times in UTC\r\n", 0), 0u) << file.substr(0, 80);
    return eoh == std::string::npos ? "" : file.substr(eoh + 7);
  }

  testing::TemporaryFolder folder;
};

TEST_F(ExportCommandTest, WritesTheLogOrTheLogOfASetWithoutATerminal) {
  Write("T.VD", LogOf(3));
  Run run = Vondal("--export-adif=OUT T");  // both names completed: OUT.ADI, T.VD
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, Cp932ToUtf8("ADIFにないﾓｰﾄﾞ 1件 (APP_Vondal_MODEに出力)\n"));
  EXPECT_EQ(RecordsOf("OUT.ADI"), Records(3, false));

  // A set names the log and keeps it in UTC; the set's name stands where the log would.
  Write("Vondal.ini", "[DEFAULT]\r\n[MOBILE]\r\nlog=T\r\nlogtime=utc\r\n");
  run = Vondal("mobile --export-adif=OUT.ADI");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(RecordsOf("OUT.ADI"), Records(3, true));
  EXPECT_FALSE(Exists("MOBILE.VD"));
}

TEST_F(ExportCommandTest, RefusalsGoToStandardErrorAndWriteNothing) {
  Write("OUT.ADI", "last week's export");
  Run run = Vondal("--export-adif=OUT.ADI NONE");
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, Cp932ToUtf8("(!) ﾛｸﾞﾌｧｲﾙがありません: NONE.VD\n"));
  EXPECT_FALSE(Exists("NONE.VD"));  // an interactive run would have made a new log

  Write("T.VD", LogOf(2));
  run = Vondal("--export-adif=missing/OUT.ADI T");
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, Cp932ToUtf8("(!) 出力ﾌｧｲﾙをｵｰﾌﾟﾝできません: missing/OUT.ADI\n"));

  run = Vondal("--export-adif=T.VD T");
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, Cp932ToUtf8("(!) 出力ﾌｧｲﾙがﾛｸﾞと同じです: T.VD\n"));
  EXPECT_EQ(Read("T.VD"), LogOf(2));

  Write("Vondal.ini", "[DEFAULT]\r\nlogtime=PST\r\n");
  run = Vondal("--export-adif=OUT.ADI T");
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, Cp932ToUtf8("(!) logtimeの値が不適当です(JSTかUTC): PST\n"));

  // Nobody is there to answer the question about a configuration with errors.
  Write("Vondal.ini", "#error print\r\n[DEFAULT]\r\n#define broken\r\n");
  run = Vondal("--export-adif=OUT.ADI T");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find(Cp932ToUtf8("(!) 設定ﾌｧｲﾙ ｴﾗｰ\n")), std::string::npos) << run.err;

  run = Vondal("--export-adif=OUT.ADI T -Q");
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, Cp932ToUtf8("(!) ｺﾏﾝﾄﾞﾗｲﾝが不正です \"-Q\"\n"));
  EXPECT_EQ(Read("OUT.ADI"), "last week's export");
}

}  // namespace
}  // namespace vondal
