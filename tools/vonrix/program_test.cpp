// The vonrix program itself, run in a UTF-8 locale from a scratch folder that is also its program
// folder: arguments arrive in the locale's charset, messages leave in it, files keep CP932.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "app/config_test_folder.h"
#include "app/text/charset.h"
#include "tools/vonrix/vonrix_test_support.h"

namespace vondal {
namespace {

using ::testing::HasSubstr;
using namespace vondal::testing;

struct ProgramRun {
  int status;
  std::string out;  // as printed: UTF-8
};

// Runs vonrix with the arguments (CP932, each passed in UTF-8) in `folder`.
ProgramRun Vonrix(const ConfigTestFolder& folder, const std::vector<std::string>& args) {
  std::string command = "cd '" + folder.path() + "' && VONDAL_HOME='" + folder.path() + "' LC_ALL=C.UTF-8 '" +
                        VONDAL_BIN_DIR "/vonrix'";
  for (const std::string& arg : args) command += " '" + Cp932ToUtf8(arg) + "'";
  command += " >console.txt";
  const int status = std::system(command.c_str());
  std::ifstream in(folder.path() + "console.txt", std::ios::binary);
  std::stringstream out;
  out << in.rdbuf();
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, out.str()};
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

TEST(VonrixProgramTest, JapaneseNamesThroughTheLocaleAndTheReportInCp932) {
  ConfigTestFolder folder;
  folder.Write(Cp932ToUtf8("移動.VD"), LogOf({{"120101", "0900", "JA1ABC"}, {"120108", "0900", "JA1ABC"}}));
  const ProgramRun run = Vonrix(folder, {"移動", "報告.txt", "i"});
  EXPECT_EQ(run.status, 0);
  EXPECT_THAT(run.out, HasSubstr(Cp932ToUtf8("Log=移動.VD\n交信間隔モード\n")));
  const std::string report = ReadFile(folder.path() + Cp932ToUtf8("報告.txt"));
  EXPECT_THAT(report, HasSubstr("Log=移動.VD\r\nMode=交信間隔\r\n"));  // CP932 bytes
  EXPECT_THAT(report, HasSubstr("   1     7 2012/01/01 2012/01/08 JA1ABC\r\n"));
}

TEST(VonrixProgramTest, SetsFromVondalIniInTheProgramFolder) {
  ConfigTestFolder folder;
  folder.Write("Vondal.ini", "[Main]\r\nlog=" + folder.path() + "logs/2012\r\n");
  std::filesystem::create_directory(folder.path() + "logs");
  folder.Write("logs/2012.VD", LogOf({{"120101", "0900", "JA1ABC"}}));
  const ProgramRun run = Vonrix(folder, {"Main", "out.txt", "C"});
  EXPECT_EQ(run.status, 0);
  EXPECT_THAT(run.out, HasSubstr("Log=" + folder.path() + "logs/2012.VD\n"));
  EXPECT_THAT(Vonrix(folder, {"?"}).out, HasSubstr("[Main]"));
}

TEST(VonrixProgramTest, ErrorsEndWith255AndUsageWith0) {
  ConfigTestFolder folder;
  folder.Write("bad.VD", std::string(199, ' '));
  const ProgramRun bad = Vonrix(folder, {"bad", "out.txt", "C"});
  EXPECT_EQ(bad.status, 255);
  EXPECT_THAT(bad.out, HasSubstr(Cp932ToUtf8("(!) ログファイルのサイズが異常です\n")));
  const ProgramRun usage = Vonrix(folder, {"bad"});
  EXPECT_EQ(usage.status, 0);
  EXPECT_THAT(usage.out, HasSubstr(Cp932ToUtf8("［使用法］\n")));
}

}  // namespace
}  // namespace vondal
