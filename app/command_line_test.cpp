#include "app/command_line.h"

#include <gtest/gtest.h>

#include "app/text/program_folder.h"

namespace vondal {
namespace {

CommandLine Parse(std::vector<std::string> arguments) { return ParseCommandLine(arguments); }

TEST(CommandLineTest, OptionsTakeTheirValueAttachedInEitherCaseAndPrefix) {
  CommandLine line = Parse({"-cmine#2", "/Mkeys", "-I", "/sjournal", "-Xext.txt", "mylog", "-!"});
  EXPECT_TRUE(line.error.empty());
  EXPECT_FALSE(line.listMode);
  EXPECT_EQ(line.color, "mine#2");
  EXPECT_EQ(line.macro, "keys");
  EXPECT_EQ(line.index, "");  // given without a name
  EXPECT_EQ(line.safety, "journal");
  EXPECT_EQ(line.external, "ext.txt");
  EXPECT_EQ(line.word, "mylog");
  EXPECT_TRUE(line.authorsuse);
  EXPECT_EQ(line.arguments.size(), 7u);
}

TEST(CommandLineTest, APathWithFoldersIsAWordNotAnOption) {
  CommandLine line = Parse({"/home/jr1abc/logs/mylog", "-S/var/tmp/journal"});
  EXPECT_EQ(line.word, "/home/jr1abc/logs/mylog");
  EXPECT_EQ(line.safety, "/var/tmp/journal");
  EXPECT_FALSE(line.index);
}

TEST(CommandLineTest, NoArgumentOrAQuestionMarkListsTheConfiguration) {
  EXPECT_TRUE(Parse({}).listMode);
  EXPECT_TRUE(Parse({"mylog", "?"}).listMode);
  EXPECT_TRUE(Parse({"-Q", "?"}).error.empty());  // the listing is asked for all the same
}

TEST(CommandLineTest, UnknownOptionsAndASecondWordAreRefused) {
  EXPECT_EQ(Parse({"mylog", "-Q"}).error, "(!) ｺﾏﾝﾄﾞﾗｲﾝが不正です \"-Q\"\n");
  EXPECT_EQ(Parse({"-"}).error, "(!) ｺﾏﾝﾄﾞﾗｲﾝが不正です \"-\"\n");
  EXPECT_EQ(Parse({"-!x"}).error, "(!) ｺﾏﾝﾄﾞﾗｲﾝが不正です \"-!x\"\n");
  EXPECT_EQ(Parse({"one", "two"}).error, "(!) ｺﾏﾝﾄﾞﾗｲﾝが不正です \"two\"\n");
}

TEST(CommandLineTest, ExportAdifIsALongOptionWithItsFileAfterAnEqualsSign) {
  CommandLine line = Parse({"--export-adif=out/移動.ADI", "contest", "-Sjournal"});
  EXPECT_TRUE(line.error.empty());
  EXPECT_EQ(line.exportAdif, "out/移動.ADI");
  EXPECT_EQ(line.word, "contest");  // the set or log it exports
  EXPECT_EQ(line.safety, "journal");
  EXPECT_FALSE(Parse({"mylog"}).exportAdif);
  // Without a file, misspelt or unknown, a long option is refused as any bad argument is.
  for (const char* bad : {"--export-adif", "--export-adif=", "--export-adi=x", "--EXPORT-ADIF=x", "--"}) {
    EXPECT_EQ(Parse({"mylog", bad}).error, "(!) ｺﾏﾝﾄﾞﾗｲﾝが不正です \"" + std::string(bad) + "\"\n") << bad;
  }
}

TEST(CommandLineTest, TheSetNameIsTheWordInUpperCaseUpTo32Bytes) {
  EXPECT_EQ(SetName(Parse({"contest"})), "CONTEST");
  EXPECT_EQ(SetName(Parse({"ヂab"})), "ヂAB");  // the second byte 0x61 of "ヂ" stays
  EXPECT_EQ(SetName(Parse({std::string(32, 'a')})), std::string(32, 'A'));
  EXPECT_EQ(SetName(Parse({std::string(33, 'a')})), "");
  EXPECT_EQ(SetName(Parse({"-!"})), "");
}

TEST(CommandLineTest, HelpAndVersionAreNeitherTheSetNorARefusedOption) {
  CommandLine line = Parse({"contest", "--help", "-Sjournal"});
  EXPECT_TRUE(line.help);
  EXPECT_FALSE(line.version);
  EXPECT_EQ(line.word, "contest");  // "--help" takes no place of the set or the log
  EXPECT_EQ(line.safety, "journal");
  EXPECT_TRUE(line.error.empty());
  // Asked for after a refused argument they are still answered.
  line = Parse({"one", "two", "--version"});
  EXPECT_TRUE(line.version);
  EXPECT_FALSE(Parse({"--help"}).listMode);  // an argument: no listing of the configuration
  // Other spellings stay refused options, as before.
  EXPECT_EQ(Parse({"--helpme"}).error, "(!) ｺﾏﾝﾄﾞﾗｲﾝが不正です \"--helpme\"\n");
  EXPECT_FALSE(Parse({"--helpme"}).help);
}

TEST(CommandLineTest, HelpNamesTheConfigurationFileInUse) {
  const std::string help = HelpText();
  EXPECT_NE(help.find("設定ﾌｧｲﾙ: " + InProgramFolder("Vondal.ini") + "\n"), std::string::npos) << help;
  EXPECT_NE(help.find("--version"), std::string::npos);
  EXPECT_EQ(VersionText(), "Vondal w01.022H009816\n");
}

TEST(CommandLineTest, ArgumentsArriveInTheLocaleCharset) {
  char program[] = "vondal";
  char utf8[] = "-S\xE7\xA7\xBB\xE5\x8B\x95.VDS";  // "移動" in UTF-8, the terminals' charset
  char* argv[] = {program, utf8};
  EXPECT_EQ(ArgumentsFromSystem(2, argv), (std::vector<std::string>{"-S移動.VDS"}));
}

}  // namespace
}  // namespace vondal
