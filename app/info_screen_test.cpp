#include "app/info_screen.h"

#include <gtest/gtest.h>

#include "app/info_system.h"
#include "app/main_menu.h"
#include "app/memory_pool.h"
#include "app/run_state.h"
#include "color/color_set.h"
#include "console/console.h"
#include "console/fake_terminal.h"
#include "editor/dictionary.h"
#include "editor/editor_state.h"
#include "log/field_table.h"
#include "macro/macro_store.h"

namespace vondal {
namespace {

class InfoScreenTest : public ::testing::Test {
 protected:
  void SetUp() override {
    run_.screen = std::make_unique<Screen>(80, 25);
    AttachConsole(run_.screen.get(), &terminal_);
    SetKeySource(&terminal_);
    SetCurrentColorTable(DefaultColorTable());
    TheConsoleSwitches() = {};
    TheInfoPage() = {};
    TheDictionaries().clear();
    TheMacroStore().MakeNew();
    ResetFieldTable();
    CreateLocalPool();  // quit takes the index buffer from the temporary pool
    run_.settings.log = "T.VD";
  }
  void TearDown() override { SetKeySource(nullptr); }

  // The row of the fake terminal without its frame and trailing blanks.
  std::string Row(int row) const {
    std::string text = terminal_.Row(row);
    text = text.substr(1, text.size() - 2);
    return text.substr(0, text.find_last_not_of(' ') + 1);
  }
  // The page drawn alone.
  void Draw(char page) {
    TheInfoPage().page = page;
    DrawInfoPage(run_);
  }
  // Runs the screen on `keys` followed by Q; returns what it returned.
  int Run(std::string_view keys) {
    terminal_.PushKeys(keys);
    return InfoScreen(run_);
  }

  FakeTerminal terminal_{80, 25};
  RunState run_;
};

TEST(InfoMenuLine, HidesTheDeveloperPagesOutsideDeveloperMode) {
  EXPECT_EQ(InfoMenuLine(false),
            ">情報> I基本 Cｺﾝｿｰﾙ S設定値 D辞書 A自動記入 Fﾌｨｰﾙﾄﾞ Kｷｰﾏｸﾛ R更新!M!T Q終了");
  EXPECT_EQ(InfoMenuLine(true), ">情報> I基本 Cｺﾝｿｰﾙ S設定値 D辞書 A自動記入 Fﾌｨｰﾙﾄﾞ Kｷｰﾏｸﾛ R更新 M T Q終了");
}

TEST_F(InfoScreenTest, KeysThatLeaveReturnWhatTheMainMenuActsOn) {
  EXPECT_EQ(Run("\r"), 'e');  // Enter: on into the editor
  EXPECT_EQ(Run("\t"), '\t');
  EXPECT_EQ(Run("@"), '@');
  EXPECT_EQ(Run("^"), '^');
  EXPECT_EQ(Run("q"), 0);
  EXPECT_EQ(Run("\x1b"), 0);
  EXPECT_EQ(terminal_.bells(), 0);
  EXPECT_EQ(terminal_.KeysLeft(), 0u);
}

TEST_F(InfoScreenTest, PagesAreChosenByTheirLettersAndTheLastStaysCurrent) {
  EXPECT_EQ(Run("cxQ"), 0);  // x: not a page, only drawn again
  EXPECT_EQ(TheInfoPage().page, 'C');
  EXPECT_EQ(Row(2).substr(0, 14), "□ｼｽﾃﾑ ﾊﾞｰｼﾞｮﾝ");
  EXPECT_EQ(Run("rQ"), 0);
  EXPECT_EQ(TheInfoPage().page, 'R');
}

TEST_F(InfoScreenTest, DeveloperPagesNeedDeveloperMode) {
  EXPECT_EQ(Run("sMTQ"), 0);
  EXPECT_EQ(TheInfoPage().page, 'S');
  TheConsoleSwitches().authorsuse = true;
  EXPECT_EQ(Run("mQ"), 0);
  EXPECT_EQ(TheInfoPage().page, 'M');
  EXPECT_EQ(Run("tQ"), 0);
  EXPECT_EQ(TheInfoPage().page, 'T');
  // Out of developer mode the page is no longer shown: the background falls back to page I.
  TheConsoleSwitches().authorsuse = false;
  DrawInfoPage(run_);
  EXPECT_EQ(TheInfoPage().page, 'I');
  EXPECT_EQ(Row(2).substr(0, 10), "□ﾊﾞｰｼﾞｮﾝ");
}

TEST_F(InfoScreenTest, ASecondAOnPageAStepsThroughThreeViewsAndKThroughTwo) {
  EXPECT_EQ(Run("aQ"), 0);
  EXPECT_EQ(TheInfoPage().autoFillView, 0);  // the first A only chooses the page
  EXPECT_EQ(Run("aQ"), 0);                   // on page A already: the next view
  EXPECT_EQ(TheInfoPage().autoFillView, 1);
  EXPECT_EQ(Run("aaQ"), 0);
  EXPECT_EQ(TheInfoPage().autoFillView, 0);  // after the third it starts again
  EXPECT_EQ(Run("kkkQ"), 0);
  EXPECT_EQ(TheInfoPage().keyMacroView, 0);
  EXPECT_EQ(TheInfoPage().autoFillView, 0);  // page K leaves page A's view alone
}

TEST_F(InfoScreenTest, UpdatePageListsTheTenCountersInTheirOrder) {
  run_.counters[kCountLogOld] = 3;
  run_.counters[kCountExternal] = 12;
  Draw('R');
  EXPECT_EQ(Row(2), "□ﾌｧｲﾙ更新");
  EXPECT_EQ(Row(3), " Color              0  配色変更操作回数");
  EXPECT_EQ(Row(6), " Log(Old)           3  ﾛｸﾞ書換ﾚｺｰﾄﾞ数");
  EXPECT_EQ(Row(12), " External          12  外部ﾌｧｲﾙ書出行数");
  // The frame closes under the last counter.
  EXPECT_EQ(run_.screen->CharAt(13, 0), run_.screen->FrameGlyph(4));
  EXPECT_EQ(run_.screen->CharAt(14, 0), ' ');
}

TEST_F(InfoScreenTest, BasicPageMarksUpdatedFilesAndDatesTheVersion) {
  run_.settings.safety = "T.VDS";
  run_.settings.caption = "移動運用";
  run_.counters[kCountSafetyTime] = 1;  // the safety file counts as updated by either counter
  Draw('I');
  EXPECT_EQ(Row(3), " Vondal for Linux terminals w01.022H009816 (2022-11-02)");
  EXPECT_EQ(Row(6), " caption     移動運用");
  EXPECT_EQ(Row(7), "□ﾌｧｲﾙ構成 （*印のﾌｧｲﾙは更新）");
  EXPECT_EQ(Row(11), "  log        T.VD");
  EXPECT_EQ(Row(13), " *safety     T.VDS");
  // In developer mode the version is dated by the program file; without the guide no note.
  TheConsoleSwitches().authorsuse = true;
  TheConsoleSwitches().guide = false;
  Draw('I');
  EXPECT_EQ(Row(3), " Vondal for Linux terminals w01.022H009816 (" + LocalTimeText(ProgramFileTime()) + ")");
  EXPECT_EQ(Row(7), "□ﾌｧｲﾙ構成");
}

TEST_F(InfoScreenTest, ConsolePageShowsTheSystemTheSizeAndTheArguments) {
  run_.settings.arguments = {"T.VD", "-MT.VDM"};
  Draw('C');
  EXPECT_EQ(Row(3), " " + SystemNameAndRelease());
  EXPECT_EQ(Row(5), " 25×80");
  EXPECT_EQ(Row(7), " " + CurrentFolder());
  EXPECT_EQ(Row(9), " " + LocalTimeText(StartTime()));
  EXPECT_EQ(Row(11), " T.VD");
  EXPECT_EQ(Row(12), " -MT.VDM");
}

TEST_F(InfoScreenTest, SettingsPageShowsOriginsAndKeepsDeveloperKeysHidden) {
  run_.settings.origins[kLogKey] = kOriginCommandLine;
  run_.settings.origins[kCallsignKey] = kOriginDefault + kOriginSet;
  run_.settings.callsign = "JA1ZZZ";
  run_.settings.toggle = {"readonly", "box"};
  run_.settings.JARLsummary = {"line one", "line two"};
  Draw('S');
  EXPECT_EQ(Row(5), " log         C   T.VD");
  EXPECT_EQ(Row(11), " callsign     ID JA1ZZZ");
  EXPECT_EQ(Row(14), " toggle          readonly,box");
  EXPECT_EQ(Row(19), " JARLsummary");
  EXPECT_EQ(Row(20), "                 line one");
  EXPECT_EQ(Row(21), "                 line two");
  TheConsoleSwitches().authorsuse = true;
  Draw('S');
  EXPECT_EQ(Row(11), " user");
  EXPECT_EQ(Row(14), " memory          2");
}

// A regression: in developer mode at 80 × 25 page S ended before JARLsummary and its lines.
TEST_F(InfoScreenTest, SettingsPageGoesOnWithSAgainUntilEveryLineWasShown) {
  TheConsoleSwitches().authorsuse = true;
  for (int i = 0; i < 20; ++i) run_.settings.JARLsummary.emplace_back("line " + std::to_string(i));
  std::string shown;  // every row of every view
  std::vector<std::string> lastRows;
  for (int view = 0; view < 3; ++view) {
    TheInfoPage().settingsView = view;
    Draw('S');
    for (int row = 3; row <= 21; ++row) shown += Row(row) + "\n";
    lastRows.push_back(Row(21));
  }
  EXPECT_NE(shown.find(" JARLsummary"), std::string::npos);
  for (int i = 0; i < 20; ++i) {
    const std::string line = "line " + std::to_string(i) + "\n";
    EXPECT_EQ(shown.find(line), shown.rfind(line)) << line;  // shown once
    EXPECT_NE(shown.find(line), std::string::npos) << line;
  }
  EXPECT_EQ(lastRows[0], " ↓ S:続き");
  EXPECT_EQ(lastRows[1], " ↓ S:続き");
  EXPECT_EQ(lastRows[2], "");  // the last view ends the page
  // S steps through the views and comes back to the first; from another page S starts there.
  EXPECT_EQ(Run("issssq"), 0);
  EXPECT_EQ(TheInfoPage().settingsView, 0);
  EXPECT_EQ(Run("sisq"), 0);
  EXPECT_EQ(TheInfoPage().settingsView, 0);
  EXPECT_EQ(Run("sq"), 0);
  EXPECT_EQ(Row(3), " contestKCJ");
  // Without developer mode and with two lines everything fits: no views, no sign.
  TheConsoleSwitches().authorsuse = false;
  run_.settings.JARLsummary = {"line one", "line two"};
  EXPECT_EQ(Run("sq"), 0);
  EXPECT_EQ(Row(21), "                 line two");
}

TEST_F(InfoScreenTest, ReturningToTheMainMenuDrawsTheCurrentPage) {
  terminal_.PushKeys("ic");
  terminal_.PushKey(CharacterKey(27));  // out of the information screen: page C behind the menu
  terminal_.PushKeys("q");
  EXPECT_EQ(RunMainMenu(run_), 0);
  EXPECT_EQ(Row(2).substr(0, 14), "□ｼｽﾃﾑ ﾊﾞｰｼﾞｮﾝ");
  EXPECT_EQ(terminal_.Row(22).substr(0, 8), "正常終了");
}

TEST_F(InfoScreenTest, FieldPageShowsLegendWordsAndReachesTheMessageLineOnlyWhileShown) {
  Draw('F');
  EXPECT_EQ(Row(2).substr(0, 8), "□ﾌｨｰﾙﾄﾞ");
  EXPECT_EQ(Row(6), " *CALLSIGN 標準  先頭  大文字   規定ﾃﾞｰﾀ 現状保護 不可 ｺｰﾙｻｲﾝ専用");
  EXPECT_EQ(Row(21), "  AUX2     条件  先頭  無変換");  // blanks: positions that do not apply
  // Nineteen fields need every row down to the message line, where the frame closes.
  EXPECT_EQ(run_.screen->CharAt(22, 0), run_.screen->FrameGlyph(4));
  Draw('R');
  EXPECT_EQ(terminal_.Row(22).find_first_not_of(' '), std::string::npos);
}

TEST_F(InfoScreenTest, AutoFillPageShowsTheMapTheBandMapAndTheLinesThatDoNotCount) {
  run_.settings.mode = {"7.000 7.199 RTTY", "bogus"};
  run_.settings.modeSegments = {{7000, 7199, 5}};
  TheInfoPage().autoFillView = 0;
  Draw('A');
  EXPECT_EQ(Row(3), "      7.000-     7.199 RTTY");
  TheInfoPage().autoFillView = 1;
  Draw('A');
  EXPECT_EQ(Row(2), "□自動記入(MODE) ﾊﾞﾝﾄﾞﾏｯﾌﾟ");
  EXPECT_EQ(Row(3), "      0.135 135k  CW          3.791 3.8M  CW         28.000 28M   CW");
  TheInfoPage().autoFillView = 2;
  TheConsoleSwitches().authorsuse = true;
  Draw('A');
  EXPECT_EQ(Row(2), "□自動記入(MODE) mode設定行（*印は無効）  map size=1");
  EXPECT_EQ(Row(3), "   7.000 7.199 RTTY");
  EXPECT_EQ(Row(4), " * bogus");
}

TEST_F(InfoScreenTest, DictionaryPageShowsCountsOrTheErrorInTheErrorColour) {
  Dictionary good;
  good.specification = "qth.dic menukey=Q";
  good.menuKey = 'Q';
  good.label = "QTH";
  good.pairs = {{"a", "b"}, {"c", "d"}};
  good.bytes = 4;
  good.general = true;
  Dictionary bad;
  bad.specification = "none.dic";
  bad.error = "ﾌｧｲﾙを開けません";
  TheDictionaries() = {good, bad};
  Draw('D');
  EXPECT_EQ(Row(3), " Q QTH                                    2項目         4byte  general");
  EXPECT_EQ(Row(4), "   qth.dic menukey=Q");
  EXPECT_EQ(Row(5), "                                     ﾌｧｲﾙを開けません");
  EXPECT_EQ(terminal_.Attr(5, 38), ColorOf(ColorElement::eError));
  // Ten dictionaries leave no room for their specifications: one row each.
  TheDictionaries().assign(10, good);
  Draw('D');
  EXPECT_EQ(Row(4).substr(0, 6), " Q QTH");
}

TEST_F(InfoScreenTest, KeyMacroPageShowsTheAssignedMacrosCommentOrText) {
  MacroStore& store = TheMacroStore();
  store.SetText(3, "ABC");
  store.SetComment(3, "//呼出");
  store.Assign(3, FunctionKeySlot(1));  // F2
  Draw('K');
  EXPECT_EQ(Row(2), "□ｷｰﾏｸﾛ （注釈）");
  EXPECT_EQ(Row(5), "   F2     3  //呼出");
  EXPECT_EQ(Row(4), "   F1");
  TheInfoPage().keyMacroView = 1;
  Draw('K');
  EXPECT_EQ(Row(5), "   F2     3  ABC");
}

TEST_F(InfoScreenTest, MemoryPageCountsIndexBlocksAndShowsTheHistory) {
  ASSERT_TRUE(run_.index.SetIndexEntry(0, 1, "JA1ZZZ", IndexMode::kLoad));
  ASSERT_TRUE(run_.index.SetIndexEntry(1, 2, "JA2ZZZ", IndexMode::kLoad));
  RecordUse("sort");
  TheConsoleSwitches().authorsuse = true;
  Draw('M');
  EXPECT_EQ(Row(3), "□Index     (1*360000) used      72");
  EXPECT_NE(Row(5).find("sort"), std::string::npos);
}

TEST_F(InfoScreenTest, SwitchPageSaysOnForWhatIsOn) {
  run_.settings.toggles.box = true;
  TheEditor().display.recordBase = 1;
  TheConsoleSwitches().authorsuse = true;
  Draw('T');
  EXPECT_EQ(Row(2), "□ini.toggle");
  EXPECT_NE(Row(4).find("box          on"), std::string::npos);
  EXPECT_NE(Row(6).find("authorsuse   on"), std::string::npos);
  EXPECT_NE(terminal_.Dump().find("1strecordnr  on"), std::string::npos);
  TheEditor().display.recordBase = 0;
}

}  // namespace
}  // namespace vondal
