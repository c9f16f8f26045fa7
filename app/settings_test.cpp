#include "app/settings.h"

#include <gtest/gtest.h>

#include "app/config_test_folder.h"
#include "app/text/program_folder.h"

namespace vondal {
namespace {

// The settings' texts as plain strings, to compare.
std::string Plain(const RunText& text) { return std::string(text); }
std::vector<std::string> Plain(const RunTexts& texts) { return {texts.begin(), texts.end()}; }

class SettingsTest : public testing::Test {
 protected:
  SettingsTest() {
    io_.output.print = [this](std::string_view text) { printed_ += text; };
    io_.readKey = [this] { return key_; };
  }

  // Runs the configuration with ini as Vondal.ini and the given arguments.
  RunConfig Run(std::string_view ini, std::vector<std::string> arguments) {
    return ConfigureRun(arguments, io_, folder_.Write("Vondal.ini", ini));
  }

  // The settings of a run that must start.
  Settings Start(std::string_view ini, std::vector<std::string> arguments) {
    RunConfig run = Run(ini, std::move(arguments));
    EXPECT_TRUE(run.start) << printed_;
    return run.settings;
  }

  ConfigTestFolder folder_;
  ConfigureIo io_;
  std::string printed_;
  int key_ = 'n';
};

TEST_F(SettingsTest, TheNamedSetReplacesDefaultAndOptionsReplaceBoth) {
  std::string ini =
      "[DEFAULT]\nlog=default\nsafety=journal\ncallsign=JA1ZZZ\n"
      "[CONTEST]\ncaption=ｺﾝﾃｽﾄ用\nsafety=contest\nlog=contestlog.\n";
  for (int i = 0; i < 21; ++i) ini += "JARLsummary=line " + std::to_string(i) + "\n";
  Settings settings = Start(ini, {"contest", "-Sfrom-option"});
  EXPECT_EQ(settings.setName, "CONTEST");
  EXPECT_EQ(settings.setText, "[CONTEST]設定ｾｯﾄ使用");
  EXPECT_FALSE(settings.setTextIsError);
  EXPECT_EQ(settings.log, "contestlog.VD");
  EXPECT_EQ(settings.origins[kLogKey], 3);
  EXPECT_EQ(settings.safety, "from-option.VDS");
  EXPECT_EQ(settings.origins[kSafetyKey], 7);
  EXPECT_EQ(settings.callsign, "JA1ZZZ");
  EXPECT_EQ(settings.origins[kCallsignKey], 1);
  EXPECT_EQ(settings.caption, "ｺﾝﾃｽﾄ用");
  EXPECT_EQ(settings.origins[kCaptionKey], 2);
  EXPECT_EQ(settings.index, "");  // not given anywhere: no index file
  EXPECT_EQ(settings.origins[kIndexKey], 0);
  EXPECT_EQ(settings.JARLsummary.size(), 20u);
  EXPECT_EQ(Plain(settings.configFile), folder_.path() + "Vondal.ini");
}

TEST_F(SettingsTest, WithoutKeysInTheSetTheWordIsTheLog) {
  Settings settings = Start("[DEFAULT]\ncallsign=JA1ZZZ\n", {"mylog", "-I"});
  EXPECT_EQ(settings.setText, "[DEFAULT]設定ｾｯﾄ使用");
  EXPECT_EQ(settings.log, "mylog.VD");
  EXPECT_EQ(settings.origins[kLogKey], kOriginCommandLine);
  EXPECT_EQ(settings.index, "mylog.VDI");  // given empty: beside the log
  EXPECT_EQ(settings.callsign, "JA1ZZZ");
}

TEST_F(SettingsTest, TheLinkKeysComeFromTheFileOrTheirOptions) {
  Settings settings = Start("[DEFAULT]\nlogtime= UTC\nrig=127.0.0.1:4532\nwsjtx=127.0.0.1:2237\n",
                            {"mylog", "-r192.168.1.5:4532", "/W239.255.0.1:2237"});
  EXPECT_EQ(settings.logtime, "UTC");
  EXPECT_EQ(settings.origins[kLogtimeKey], kOriginDefault);
  EXPECT_EQ(settings.rig, "192.168.1.5:4532");
  EXPECT_EQ(settings.origins[kRigKey], kOriginDefault + kOriginCommandLine);
  EXPECT_EQ(settings.wsjtx, "239.255.0.1:2237");
  Settings none = Start("", {"mylog"});
  EXPECT_EQ(none.rig, "");
  EXPECT_EQ(none.origins[kRigKey], 0);
  EXPECT_EQ(none.origins[kWsjtxKey], 0);
}

TEST_F(SettingsTest, TheAdifKeyAsksForTheStandardFormInAnyCase) {
  EXPECT_TRUE(WantsStandardAdif(Start("[DEFAULT]\nadif= Standard \n", {"mylog"})));
  EXPECT_FALSE(WantsStandardAdif(Start("[DEFAULT]\nadif=3.1\n", {"mylog"})));
  const Settings none = Start("", {"mylog"});
  EXPECT_FALSE(WantsStandardAdif(none));
  EXPECT_EQ(none.origins[kAdifKey], 0);  // the information screen then leaves it out
}

TEST_F(SettingsTest, FileNamesAreCompleted) {
  EXPECT_EQ(Start("", {"mylog.", "-I"}).index, "mylog.VDI");
  EXPECT_EQ(Start("", {"my.log", "-I"}).index, "my.VDI");
  EXPECT_EQ(Start("", {"../logs/mylog", "-I"}).index, "../logs/mylog.VDI");
  Settings settings = Start("[DEFAULT]\nmacro=keys.mac\n", {"../logs/mylog", "-Ibook", "-Cmine#2"});
  EXPECT_EQ(settings.log, "../logs/mylog.VD");
  EXPECT_EQ(settings.index, "book.VDI");
  EXPECT_EQ(settings.color, "mine.VDC#2");
  EXPECT_EQ(settings.macro, "keys.mac");
  settings = Start("", {"mylog", "-C#3"});
  EXPECT_EQ(Plain(settings.color), ProgramFolder() + "Vondal.VDC#3");
  EXPECT_EQ(Plain(settings.macro), ProgramFolder() + "Vondal.VDM");
  EXPECT_EQ(settings.safety, "");
}

TEST_F(SettingsTest, NumbersOutsideTheirRangeFallBack) {
  struct Case {
    std::string value;
    int memory;
    int cursor;
  };
  for (const Case& c : {Case{"5", 5, 5}, Case{" 10", 10, 10}, Case{"2MB", 2, 2}, Case{"11", 2, 11},
                        Case{"1", 2, 1}, Case{"0", 2, 0}, Case{"100", 2, 100}, Case{"101", 2, 0},
                        Case{"many", 2, 0}, Case{"99999999999999999999", 2, 0}}) {
    Settings settings = Start("[DEFAULT]\nmemory=" + c.value + "\ncursor=" + c.value + "\n", {"log"});
    EXPECT_EQ(settings.memory, c.memory) << c.value;
    EXPECT_EQ(settings.cursor, c.cursor) << c.value;
  }
}

TEST_F(SettingsTest, DeveloperModeFromTheUserKeyOrTheOption) {
  EXPECT_TRUE(Start("[DEFAULT]\nuser=qz0zzq/home\n", {"log"}).authorsuse);
  EXPECT_FALSE(Start("[DEFAULT]\nuser=JA1QZ0ZZQ\n", {"log"}).authorsuse);
  EXPECT_TRUE(Start("", {"log", "-!"}).authorsuse);
  EXPECT_FALSE(Start("", {"log"}).authorsuse);
}

TEST_F(SettingsTest, WordListsSplitAtTheFirstSeparatorThatOccurs) {
  Settings settings = Start("[DEFAULT]\ntoggle=Readonly,BOX\n", {"log"});
  EXPECT_TRUE(settings.toggles.readonly);
  EXPECT_TRUE(settings.toggles.box);
  EXPECT_FALSE(settings.toggles.logo);

  settings = Start("[DEFAULT]\ntoggle= logo diehard;silent\n", {"log"});
  EXPECT_EQ(Plain(settings.toggle), (std::vector<std::string>{"logo", "diehard;silent"}));
  EXPECT_TRUE(settings.toggles.logo);
  EXPECT_FALSE(settings.toggles.diehard);
  EXPECT_FALSE(settings.toggles.silent);

  settings = Start("[DEFAULT]\ncontestJARL=ALL JA ｺﾝﾃｽﾄ, 6m AND DOWN ;XX\ncontestKCJ=KCJ*\n", {"log"});
  EXPECT_EQ(Plain(settings.contestJARL), (std::vector<std::string>{"ALL JA ｺﾝﾃｽﾄ", "6m AND DOWN ;XX"}));
  EXPECT_EQ(Plain(settings.contestKCJ), (std::vector<std::string>{"KCJ*"}));
}

TEST_F(SettingsTest, ModeLinesCountOnlyWithAnOrderedRangeAndAKnownMode) {
  Settings settings = Start(
      "[DEFAULT]\n"
      "mode=7.000 7.040 CW\n"
      "mode=7.1, 7.2 ,SSB\n"
      "mode=14.2 14.1 SSB\n"
      "mode=50.0 54.0 DIGI\n"
      "mode=144.0 146.0\n"
      "mode=1.8 1.9 CW narrow\n"
      "mode=430.0\t440.0\tPSK31\n"
      // Any run of the separators separates, whichever comes first.
      "mode=7.000,7.030 CW\n"
      "mode=14.000 , 14.070 , RTTY\n"
      "mode=21.0;21.1\tSSB\n"
      "mode=  28.0;;28.3,\tFM ;\n",
      {"log"});
  EXPECT_EQ(settings.mode.size(), 11u);
  struct Expected {
    int32_t lowKhz, highKhz;
    int mode;
  };
  const Expected expected[] = {{7000, 7040, 1},   {7100, 7200, 2},   {430000, 440000, 6}, {7000, 7030, 1},
                               {14000, 14070, 5}, {21000, 21100, 2}, {28000, 28300, 3}};
  ASSERT_EQ(settings.modeSegments.size(), std::size(expected));
  for (size_t i = 0; i < std::size(expected); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(settings.modeSegments[i].lowKhz, expected[i].lowKhz);
    EXPECT_EQ(settings.modeSegments[i].highKhz, expected[i].highKhz);
    EXPECT_EQ(settings.modeSegments[i].segmentClass, expected[i].mode);
  }
}

TEST_F(SettingsTest, AConfigurationWithErrorsAsksWhetherToGoOn) {
  std::string broken = "#define broken\n[SET]\ncaption=x\n";
  RunConfig run = Run(broken, {"set"});
  EXPECT_FALSE(run.start);
  EXPECT_EQ(run.exitStatus, 0);
  EXPECT_EQ(printed_, "設定ﾌｧｲﾙ ｴﾗｰ\n続行しますか (Y/N)\n\n");

  key_ = 'y';
  Settings settings = Start(broken, {"log"});
  EXPECT_EQ(settings.setText, "ｴﾗｰ");
  EXPECT_TRUE(settings.setTextIsError);
  // Keys read from the named set before the error still name it.
  EXPECT_EQ(Start("[SET]\nlog=setlog\n#define broken\n", {"set"}).setText, "[SET]設定ｾｯﾄ使用");
}

TEST_F(SettingsTest, WithoutAConfigurationFileTheRunGoesOn) {
  RunConfig run = ConfigureRun(std::vector<std::string>{"log"}, io_, folder_.path() + "none.ini");
  EXPECT_TRUE(run.start);
  EXPECT_EQ(run.settings.setText, "非使用");
  EXPECT_TRUE(run.settings.setTextIsError);
  EXPECT_EQ(printed_, "");
}

TEST_F(SettingsTest, ListingAndRefusalsEndTheRun) {
  RunConfig run = Run("[DEFAULT]\ncaption=既定\n", {"?"});
  EXPECT_FALSE(run.start);
  EXPECT_EQ(run.exitStatus, 0);
  EXPECT_EQ(printed_, "\n\"" + folder_.path() + "Vondal.ini\"\n[DEFAULT]\t既定\n");

  printed_.clear();
  run = Run("", {"-!"});
  EXPECT_FALSE(run.start);
  EXPECT_EQ(run.exitStatus, 1);
  EXPECT_EQ(printed_, "(!) ﾛｸﾞﾌｧｲﾙが指定されていません\n");

  printed_.clear();
  run = Run("", {"log", "-Z"});
  EXPECT_EQ(run.exitStatus, 1);
  EXPECT_EQ(printed_, "(!) ｺﾏﾝﾄﾞﾗｲﾝが不正です \"-Z\"\n");
}

TEST_F(SettingsTest, TheShippedExampleReadsWithoutErrors) {
  std::string example = VONDAL_SOURCE_DIR "/data/Vondal.ini.example";
  std::vector<std::string> arguments = {"Contest"};
  RunConfig run = ConfigureRun(arguments, io_, example);
  ASSERT_TRUE(run.start) << printed_;
  EXPECT_EQ(printed_, "");
  EXPECT_EQ(run.settings.setText, "[CONTEST]設定ｾｯﾄ使用");
  EXPECT_EQ(run.settings.log, "contest.VD");
  EXPECT_EQ(run.settings.index, "contest.VDI");
  EXPECT_EQ(run.settings.callsign, "JA1ZZZ");
  EXPECT_TRUE(run.settings.toggles.diehard);
  EXPECT_EQ(run.settings.modeSegments.size(), 13u);
  EXPECT_EQ(run.settings.JARLsummary.size(), 6u);

  arguments = {"mylog"};
  run = ConfigureRun(arguments, io_, example);
  EXPECT_EQ(run.settings.log, "mylog.VD");  // [DEFAULT] names no log
  EXPECT_EQ(run.settings.setText, "[DEFAULT]設定ｾｯﾄ使用");
}

}  // namespace
}  // namespace vondal
