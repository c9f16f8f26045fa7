// The macro editor driven by keys: lines and their moves, the built-in macros, the Esc menu's
// commands and the lists, on a console of 80 × 25.
#include "macro/macro_editor.h"

#include "log/external_file.h"
#include "macro/edit_error.h"
#include "macro/editor_test_fixture.h"
#include "macro/help_pages.h"
#include "macro/macro_file.h"
#include "macro/macro_notation.h"
#include "macro/macro_store.h"
#include "macro/player_key_source.h"

namespace vondal {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;

class MacroEditorTest : public EditorTest {
 protected:
  void SetUp() override {
    EditorTest::SetUp();
    previous_ = SetKeySource(&source_);
    ResetMacroEditor();
    store().Clear();
    store().Append(std::string(20 * macro_format::kRecordBytes, '\0'));
    store().TakeAsLoaded();
    keyboard_.keys.clear();
  }
  void TearDown() override { SetKeySource(previous_); }

  static MacroStore& store() { return TheMacroStore(); }
  void Type(std::string_view text) { keyboard_.Type(text); }
  void Press(int scanCode, bool shift = false) { keyboard_.keys.push_back(ExtendedKey(scanCode, shift)); }
  void Key(int code) { keyboard_.keys.push_back(CharacterKey(code)); }
  // Runs the editor on the queued keys, then Esc Q.
  int Run() {
    Key(27);
    Type("q");
    return RunMacroEditor(context_);
  }
  std::string Row(int row) const { return std::string(screen_.RowText(row)); }
  // The message line at every key read, one line each.
  std::string Messages() const {
    std::string lines;
    for (size_t i = 0; i < keyboard_.screens.size(); ++i) lines += keyboard_.MessageLineAt(i) + "\n";
    return lines;
  }

  PlayerKeySource source_;
  KeySource* previous_ = nullptr;
  MemoryFileSystem fs_;
  WriteCounters counters_;
  ExternalFile external_{fs_, counters_};
  MacroEditorContext context_{fs_, external_, "T.VDM", ""};
};

TEST_F(MacroEditorTest, TypedLinesGoIntoTheStoreAndUpWrapsToTheLastLine) {
  // The editor starts on the text line of macro 0; Down Down is macro 1's text.
  Press(scan::kDown);
  Press(scan::kDown);
  Type("ab");
  Press(scan::kUp);
  Type("first");
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(store().TextView(1), "ab");
  EXPECT_EQ(store().Comment(1), "first");
  EXPECT_TRUE(store().Modified());
  EXPECT_THAT(Row(1), HasSubstr("T.VDM"));
  EXPECT_THAT(Row(4), StartsWith("01:first"));

  // From the first line Up goes to the last text line, the list scrolled to show it.
  Press(scan::kUp);
  Press(scan::kUp);
  Press(scan::kUp);
  Type("last");
  Run();
  EXPECT_EQ(store().TextView(19), "last");
  EXPECT_THAT(Row(21), StartsWith("19[last"));
  EXPECT_EQ(Row(2).substr(0, 3), "10:");  // pairs: the first line shown is a comment line
  // Enter leaves into the record editor.
  Key(13);
  EXPECT_EQ(RunMacroEditor(context_), kIntoRecordEditor);
}

TEST_F(MacroEditorTest, TheMoveMenuGoesToAMacroNumberAndBack) {
  Key(9);
  Type("05");
  Type("five");
  Key(9);
  Type("99");  // beyond the count
  Key(9);
  Type(" ");  // back where the last jump started
  Type("zero");
  Run();
  EXPECT_EQ(store().TextView(5), "five");
  EXPECT_EQ(store().TextView(0), "zero");
  EXPECT_THAT(Messages(), HasSubstr("番号が不正です"));
}

TEST_F(MacroEditorTest, TheAssumptionAbortsAMacroAppliedInTheWrongPlace) {
  // The key macro asks for a line that is not empty (Esc A - B) before it types.
  const std::string macro = FromMacroNotation("M[@A-@Bafter");
  store().SetText(0, macro);
  ThePlayer().SetKeyMacroArea(store().KeyMacroArea());
  Key(9);
  Type("02");
  Press(scan::kHome);
  Type("x");
  Run();
  EXPECT_EQ(store().TextView(2), "x");
  bool shown = false;
  for (size_t i = 0; i < keyboard_.screens.size(); ++i) {
    const std::string line = keyboard_.MessageLineAt(i);
    if (line.find("想定外(-B)") != std::string::npos && line.find("ﾏｸﾛ中断") != std::string::npos)
      shown = true;
  }
  EXPECT_TRUE(shown);
  // On a line with text it holds, and the macro goes on.
  Type(" ");
  Press(scan::kHome);
  Run();
  EXPECT_EQ(store().TextView(2), "x after");
}

TEST_F(MacroEditorTest, BuiltInKeysInsertControlBytesAndMoveATextUp) {
  Press(scan::kDown);
  Press(scan::kDown);
  Press(scan::kF1 + 6);  // a comment pair, the cursor between
  Type("c");
  Press(scan::kF1 + 4);  // 13 27
  Press(scan::kDown);
  Press(scan::kDown);
  Type("second");
  Press(scan::kCtrlUp);  // macro 2's text goes up to macro 1, macro 1's down to 2
  Run();
  EXPECT_EQ(store().TextView(1), "second");
  EXPECT_EQ(store().TextView(2),
            "\x1C"
            "c\x0D\x1B\x1C");
  // On a comment line it stops at its own test.
  Press(scan::kUp);
  Press(scan::kCtrlUp);
  Run();
  EXPECT_EQ(store().TextView(1), "second");
  EXPECT_EQ(store().TextView(0), "");
}

TEST_F(MacroEditorTest, TidyCheckAndGet) {
  store().SetText(1, FromMacroNotation("C+C+C2+"));
  store().SetText(3, FromMacroNotation("abCq"));  // 3 "q": no movement
  Press(scan::kDown);
  Press(scan::kDown);
  Key(27);
  Type("t");
  Key(27);
  Type("cc");
  Key(27);
  Type("cg");  // the whole store from macro 1: macro 3 is wrong
  Type("X");
  Run();
  EXPECT_EQ(store().TextView(1), FromMacroNotation("C4+"));
  EXPECT_EQ(store().TextView(3), FromMacroNotation("abC@Xq"));  // the cursor went to the error
  const std::string messages = Messages();
  EXPECT_THAT(messages, HasSubstr("  4桁短縮しました"));
  EXPECT_THAT(messages, HasSubstr("文法は適正です"));
  EXPECT_THAT(messages, HasSubstr("ﾊﾟﾗﾒｰﾀが無効です"));
  EXPECT_THAT(messages, ::testing::Not(HasSubstr("0f)")));  // the code only for the developer

  Key(27);
  Type("gl");  // the standard label macro into the buffer, Insert pastes it
  Press(scan::kIns);
  Run();
  EXPECT_EQ(store().TextView(3).substr(0, 3), FromMacroNotation("abC"));
  EXPECT_NE(store().TextView(3).find(StandardLabelMacro()), std::string_view::npos);
}

TEST_F(MacroEditorTest, AssignmentsShowBesideTheCommentAndInTheList) {
  Key(9);
  Type("04");
  Key(27);
  Type("u");
  Press(scan::kF1 + 1);
  Key(9);
  Type("05");
  Key(27);
  Type("u");
  Press(scan::kShiftF1 + 1);
  Key(27);
  Type("u");
  Type("o");  // the list in the paired order: F2 then Shift+F2
  Key(27);
  Run();
  EXPECT_EQ(store().SlotMacro(FunctionKeySlot(1)), 4);
  EXPECT_EQ(store().SlotMacro(FunctionKeySlot(9)), 5);
  EXPECT_TRUE(store().PairedOrder());
  EXPECT_THAT(Row(10), HasSubstr("  F2  "));
  EXPECT_THAT(Row(12), HasSubstr(" S･F2 "));
}

TEST_F(MacroEditorTest, TheLabelListFiltersAndGoesToALabel) {
  store().SetText(3, FromMacroNotation("xyLa"));
  store().SetText(4, FromMacroNotation("Lb"));
  store().SetText(5, FromMacroNotation("MGb"));
  Key(27);
  Type("lu");  // used labels: b
  Key(27);
  Key(27);
  Type("ln");  // unused: a
  Key(13);
  Type("!");
  Run();
  EXPECT_EQ(store().TextView(3), FromMacroNotation("xy!La"));
  std::string headings;
  for (const Screen& s : keyboard_.screens) headings += std::string(s.RowText(2)) + "\n";
  EXPECT_THAT(headings, HasSubstr("使用ラベル 位置順 1/1/2"));
  EXPECT_THAT(headings, HasSubstr("未使用ラベル 位置順 1/1/2"));
}

TEST_F(MacroEditorTest, TheUsedLabelsOfAStoreWithoutCallsAreNone) {
  store().SetText(3, FromMacroNotation("LaLb"));
  Key(27);
  Type("lu");
  Key(27);
  Run();
  bool empty = false;
  for (const Screen& s : keyboard_.screens) {
    if (std::string(s.RowText(2)).find("使用ラベル 位置順 0/0/2") != std::string::npos) empty = true;
  }
  EXPECT_TRUE(empty);
}

TEST_F(MacroEditorTest, SizeAndTheFileMenu) {
  fs_.SetContents("J.VDM", std::string(10 * macro_format::kRecordBytes, '\0'));
  Key(27);
  Type("s3");  // 30 macros
  Key(27);
  Type("fj");
  Type("J");  // the name without its extension
  Key(13);
  Run();
  EXPECT_EQ(store().Count(), 40);
  store().SetText(35, "kept");
  Key(27);
  Type("s2");
  Run();
  EXPECT_EQ(store().Count(), 40);
  Key(27);
  Type("fa");
  Type("copy");
  Key(13);
  Key(27);
  Type("fb");
  Key(13);  // back to the entry
  Run();
  EXPECT_EQ(fs_.Contents("copy.VDM").size(), 40u * macro_format::kRecordBytes);
  EXPECT_EQ(store().Count(), 40);
  Key(27);
  Type("fr");
  Key(13);  // back to the file
  Run();
  EXPECT_EQ(store().Count(), 20);
  EXPECT_FALSE(store().Modified());
}

TEST_F(MacroEditorTest, HelpPagesWrapAndAMissingFileIsSaid) {
  // Two pages whose first line names them, the first word in the colour of element 6.
  std::string pages;
  for (int page = 0; page < 2; ++page) {
    std::string bytes(kHelpPageBytes, ' ');
    const std::string text = "page " + std::to_string(page);
    bytes.replace(0, text.size(), text);
    bytes.replace(kHelpColorOffset, 4, "6666");
    pages += bytes;
  }
  fs_.SetContents("HELP", pages);
  context_.helpFile = "HELP";
  Press(scan::kEnd);
  Press(scan::kUp);  // from the first page to the last
  Key(27);
  Run();
  bool lastPage = false;
  for (const Screen& s : keyboard_.screens) {
    if (std::string(s.RowText(1)).find("page 1") == std::string::npos) continue;
    lastPage = true;
    EXPECT_EQ(s.AttrAt(1, 1), ColorOf(ColorElement::MacroNumber));
    EXPECT_EQ(s.AttrAt(1, 6), ColorOf(ColorElement::rTextEnd));
  }
  EXPECT_TRUE(lastPage);
  context_.helpFile = "missing";
  Press(scan::kF12);
  Run();
  EXPECT_THAT(Messages(), HasSubstr("Ru2Macro.TXTが読めません"));
}

}  // namespace
}  // namespace vondal
