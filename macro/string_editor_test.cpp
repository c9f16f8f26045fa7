#include "macro/string_editor.h"

#include "macro/edit_error.h"
#include "macro/editor_test_fixture.h"

namespace vondal {
namespace {

using ::testing::StartsWith;
using StringEditorTest = EditorTest;

TEST_F(StringEditorTest, CountsRepeatMovementsAndDeletions) {
  Play("abcdefghijklmnop", 0, Keys("^C12+"));
  EXPECT_EQ(state_.cursor, 12);
  Play("abcdef", 2, Keys("^C0+"));
  EXPECT_EQ(state_.cursor, 2);
  Play("abcdef", 2, Keys("^C+"));
  EXPECT_EQ(state_.cursor, 3);
  Play("abcdefghijklmnop", 0, Keys("^C1^_2+"));  // a no-op between the digits
  EXPECT_EQ(state_.cursor, 12);

  // Three characters removed one at a time: undelete brings back the last one, the leftmost.
  Play("abcdef", 5, Keys("^D3b"));
  EXPECT_EQ(state_.text, "abf");
  EXPECT_EQ(state_.undelete, "c");
  Play("abcdef", 5, Keys("^D3b^Z"));
  EXPECT_EQ(state_.text, "abcf");
  Play("ab日本cd", 2, Keys("^D2d"));
  EXPECT_EQ(state_.text, "abcd");
  Play("abcdef", 3, Keys("^DB"));
  EXPECT_EQ(state_.text, "def");
  EXPECT_EQ(state_.cursor, 0);
  Play("abcdef", 3, Keys("^DD"));
  EXPECT_EQ(state_.text, "abc");
  EXPECT_EQ(state_.undelete, "def");
}

TEST_F(StringEditorTest, UndeleteAfterRangeDeleteAndAfterInsertion) {
  Play("xaby", 1, Keys("^By^C+^F"));
  EXPECT_EQ(state_.text, "xy");
  EXPECT_EQ(state_.undelete, "ab");
  Play("xaby", 1, Keys("^By^C+^F^Z"));
  EXPECT_EQ(state_.text, "xaby");
  // Any insertion empties the undelete buffer.
  Play("xaby", 1, Keys("^By^C+^Fz^Z"));
  EXPECT_EQ(state_.text, "xzy");
  EXPECT_TRUE(state_.modified);
}

TEST_F(StringEditorTest, RangeEndsInEitherOrderAndPairsStayWhole) {
  Play("abcdef", 3, Keys("^By^C-^C-^F"));
  EXPECT_EQ(state_.text, "aef");
  Play("abcdef", 1, Keys("^By^C2+^F"));
  EXPECT_EQ(state_.text, "aef");
  Play("a日b", 0, Keys("^By^C+^F"));
  EXPECT_EQ(state_.text, "b");
  Play("abc", 1, Keys("^By^A"));  // Ctrl+A: the whole text
  EXPECT_EQ(state_.text, "");
  Play("abc", 1, Keys("^By^C+^["));  // Esc: nothing, the cursor back
  EXPECT_EQ(state_.text, "abc");
  EXPECT_EQ(state_.cursor, 1);
}

TEST_F(StringEditorTest, CopyMoveAndExchangeWithTheCopyBuffer) {
  Play("hello world", 6, Keys("^Ba^C>^F"));
  EXPECT_EQ(CopyBuffer(), "world");
  EXPECT_EQ(state_.text, "hello world");
  EXPECT_EQ(state_.cursor, 6);
  Play("hello world", 0, Keys("^Bb^C4+^F"));
  EXPECT_EQ(CopyBuffer(), "worldhello");
  Play("abcd", 1, Keys("^Be^C+^F"));
  EXPECT_EQ(CopyBuffer(), "bc");
  EXPECT_EQ(state_.text, "ad");
  Play("xyz", 0, Keys("^Bf^F"));
  EXPECT_EQ(CopyBuffer(), "bcx");
  EXPECT_EQ(state_.text, "yz");
  Play("a(b)c", 1, Keys("^Bx^C2+^F"));  // the buffer goes in, the range comes out
  EXPECT_EQ(state_.text, "abcxc");
  EXPECT_EQ(CopyBuffer(), "(b)");
  EXPECT_EQ(state_.cursor, 1);
  // Paste leaves the buffer as it is.
  Play("", 0, Keys("^]^]"));
  EXPECT_EQ(state_.text, "(b)(b)");
  EXPECT_EQ(CopyBuffer(), "(b)");
}

TEST_F(StringEditorTest, RangeFailuresReturnTheCursor) {
  CopyBuffer() = std::string(38, 'z');
  Play("abcdef", 1, Keys("^Bb^C2+^FX"));
  EXPECT_THAT(ShownMessage(), StartsWith("ﾊﾞｯﾌｧが溢れます"));
  EXPECT_TRUE(Aborted());
  EXPECT_EQ(CopyBuffer().size(), 38u);
  EXPECT_EQ(state_.text, "abcdef");  // "X" was not played
  EXPECT_EQ(state_.cursor, 1);
  Play(std::string(39, 'a'), 2, Keys("^Bx^F"));  // 39 - 1 + 38 > 40
  EXPECT_THAT(ShownMessage(), StartsWith("文字列が溢れます"));
  EXPECT_EQ(state_.text, std::string(39, 'a'));
  EXPECT_EQ(state_.cursor, 2);
}

TEST_F(StringEditorTest, RangeInsideBrackets) {
  Play("f(abc)", 1, Keys("^By^K"));
  EXPECT_EQ(state_.text, "f()");
  Play("「日本」x", 0, Keys("^Ba^K"));
  EXPECT_EQ(CopyBuffer(), "日本");
  // No bracket at the first end: the error, and the range waits for the keyboard (Esc).
  state_.text = "abc";
  state_.cursor = 0;
  macro_ = Keys("^By^K");
  keyboard_.keys = {CharacterKey(0x1B), CharacterKey(13)};
  ThePlayer().StartMacro(state_, macro_.c_str());
  Edit(state_);
  EXPECT_THAT(keyboard_.MessageLineAt(0), StartsWith("括弧ではありません"));
  EXPECT_EQ(state_.text, "abc");
}

TEST_F(StringEditorTest, Search) {
  Play("hello world", 0, Keys("^Cwo"));
  EXPECT_EQ(state_.cursor, 4);
  Play("hello world", 4, Keys("^Cwo"));  // the character under the cursor: it stays
  EXPECT_EQ(state_.cursor, 4);
  Play("ab日本", 0, Keys("^Cw本"));
  EXPECT_EQ(state_.cursor, 4);
  CopyBuffer() = "wor";
  Play("hello world", 0, Keys("^Cw^B"));
  EXPECT_EQ(state_.cursor, 6);
  Play(Keys("a^Ab"), 0, Keys("^Cw^^A"));
  EXPECT_EQ(state_.cursor, 1);
  Play("x(a[b])", 1, Keys("^Cw^K"));
  EXPECT_EQ(state_.cursor, 6);
  Play("hello", 1, Keys("^Cwz+"));
  EXPECT_THAT(ShownMessage(), StartsWith("見つかりません"));
  EXPECT_EQ(state_.cursor, 1);
  EXPECT_EQ(state_.text, "hello");
  Play("hello", 1, Keys("^Cw^K"));
  EXPECT_THAT(ShownMessage(), StartsWith("括弧ではありません"));
}

TEST_F(StringEditorTest, ReplaceAll) {
  Play("aaaa", 3, Keys("^Raa^M^Mb^M^M"));
  EXPECT_EQ(state_.text, "bb");
  EXPECT_EQ(state_.cursor, 0);
  // The next replace starts from the strings of the last one.
  Play("xaay", 3, Keys("^R^M^M^M^M"));
  EXPECT_EQ(state_.text, "xby");
  // A replace that finds nothing (an empty old string replaces nothing) still counts as a change
  // made: the text is marked modified and the cursor goes to its start.
  TheReplaceStrings() = {};
  Play("abc", 2, Keys("^R^M^Mx^M^M"));
  EXPECT_EQ(state_.text, "abc");
  EXPECT_TRUE(state_.modified);
  EXPECT_EQ(state_.cursor, 0);
  Play("abc", 2, Keys("^Rz^M^M^M^M"));
  EXPECT_TRUE(state_.modified);
  // Esc in either editor ends without change.
  Play("abc", 2, Keys("^Rb^M^M^M^["));
  EXPECT_EQ(state_.text, "abc");
  EXPECT_FALSE(state_.modified);
  EXPECT_EQ(state_.cursor, 2);
  // Beyond the maximum length nothing changes.
  state_.maxLength = 6;
  TheReplaceStrings() = {"a", "bb"};
  Play("aaaa", 0, Keys("^R^M^M^M^M"));
  EXPECT_EQ(state_.text, "aaaa");
  EXPECT_FALSE(state_.modified);
  EXPECT_THAT(ShownMessage(), StartsWith("文字列が溢れます"));
}

TEST_F(StringEditorTest, InsertionLimitsCaseModesAndControlCodes) {
  state_.maxLength = 4;
  Play("abc", 3, "xy");
  EXPECT_EQ(state_.text, "abcx");
  EXPECT_THAT(ShownMessage(), StartsWith("文字列が溢れます"));
  EXPECT_TRUE(Aborted());
  state_.maxLength = 40;

  state_.style.caseMode = 'I';
  Play("", 0, "hELLO wORLD");
  EXPECT_EQ(state_.text, "Hello World");
  state_.style.caseMode = 'U';
  Play("", 0, "call");
  EXPECT_EQ(state_.text, "CALL");

  state_.style.caseMode = ' ';
  Play("", 0, Keys("^^A^^_"));
  EXPECT_EQ(state_.text, Keys("^A^_"));
  state_.style.controlLimit = '/';
  Play("", 0, Keys("^^A"));
  EXPECT_EQ(state_.text, "");
  EXPECT_THAT(ShownMessage(), StartsWith("入力禁止ｺｰﾄﾞです"));
}

// The error takes the start of the message line; the case letter and the status template of the
// command menu stay beside it with the figures.
TEST_F(StringEditorTest, AnErrorLeavesTheStatusOfTheMessageLine) {
  state_.style.caseMode = 'U';
  state_.maxLength = 3;
  Play("abc", 3, "x");
  const std::string line = ShownMessage();
  EXPECT_THAT(line, StartsWith("文字列が溢れます"));
  EXPECT_TRUE(Aborted());
  EXPECT_EQ(line.substr(35), std::string(17, ' ') + "U       00H   0[  3]  3<  3 ");
  // Outside the editor nothing else belongs on the line: it is cleared whole.
  TheScreen().PutTextToEnd(std::string(80, 'z'), MessageRow(), 0, kPlainAttr, kPlainAttr);
  ShowMessage("ok", state_);
  EXPECT_EQ(MessageLine(), "ok" + std::string(78, ' '));
}

TEST_F(StringEditorTest, ExitCodesAndKeysThatMeanNothing) {
  EXPECT_EQ(Play("a", 0, Keys("^M^[")), 0x1B);
  EXPECT_EQ(Play("a", 0, Keys("^N1")), 0xFF31);
  // The range and search codes, a special key from a menu macro (255 and its scan code) beep;
  // a lead byte as movement parameter goes with its second byte. Nothing of them is inserted.
  int bells = terminal_.bells();
  Play("ab", 2, Keys("^A^F^K^[\xFF\x4B^C\x82\xA0"));
  EXPECT_EQ(state_.text, "ab");
  EXPECT_EQ(state_.cursor, 2);
  EXPECT_EQ(terminal_.bells(), bells + 5);
}

TEST_F(StringEditorTest, DrawnRowWhileAndAfterEditing) {
  state_.width = 8;
  state_.maxLength = 6;
  keyboard_.keys = {CharacterKey(13)};
  state_.text = Keys("a^A日");
  Edit(state_);
  const Screen& during = keyboard_.screens.at(0);
  EXPECT_EQ(during.RowText(kRow).substr(kCol - 1, 10), "[aA日･･<<]");
  EXPECT_EQ(during.AttrAt(kRow, kCol - 1), ColorOf(ColorElement::eEdge));
  EXPECT_EQ(during.AttrAt(kRow, kCol), ColorOf(ColorElement::eText));
  EXPECT_EQ(during.AttrAt(kRow, kCol + 1), ColorOf(ColorElement::eCtrl));
  EXPECT_EQ(during.AttrAt(kRow, kCol + 4), ColorOf(ColorElement::eBlank));
  EXPECT_EQ(Window(), "[aA日･･<<]");
  EXPECT_EQ(screen_.AttrAt(kRow, kCol - 1), ColorOf(ColorElement::eEdgeEnd));
  EXPECT_EQ(screen_.AttrAt(kRow, kCol), ColorOf(ColorElement::eTextEnd));
  EXPECT_EQ(screen_.AttrAt(kRow, kCol + 1), ColorOf(ColorElement::eCtrlEnd));
  EXPECT_EQ(screen_.AttrAt(kRow, kCol + 6), ColorOf(ColorElement::eBlankEnd));
}

TEST_F(StringEditorTest, PairsCutByTheWindowEdgesShowAsTilde) {
  state_.width = 4;
  Play("日本語", 0, Keys("^C>"));  // the window follows to the end: it starts on 本's second byte
  EXPECT_EQ(state_.offset, 3);
  EXPECT_EQ(Window().substr(0, 5), "[~語･");
  state_.width = 3;
  Play("ab日", 0, "");
  EXPECT_EQ(Window(), "[ab~]");
  Play("ab日", 0, Keys("^C2+"));  // the cursor on the cut pair brings it in whole
  EXPECT_EQ(state_.offset, 1);
  EXPECT_EQ(Window(), "[b日]");
}

TEST_F(StringEditorTest, MessageLineAndStackedPrompts) {
  state_.style.caseMode = 'U';
  state_.text = "日x";
  keyboard_.keys = {CharacterKey(0x01), CharacterKey(0x17), CharacterKey('x'), CharacterKey(13),
                    CharacterKey(13)};
  Edit(state_);
  EXPECT_THAT(keyboard_.MessageLineAt(0), StartsWith("R置換 A複写 B複写+ E移動 F移動+ X交換 Y削除 W検索"));
  EXPECT_EQ(keyboard_.MessageLineAt(0).substr(49), "   U     93faH   0[  0]  3< 40 ");
  EXPECT_THAT(keyboard_.MessageLineAt(1), StartsWith("複写> W検索 A全体 K括弧内"));
  EXPECT_THAT(keyboard_.MessageLineAt(2), StartsWith("複写>検索> Bﾊﾞｯﾌｧ K対応括弧"));
  EXPECT_THAT(keyboard_.MessageLineAt(3), StartsWith("複写>"));
  EXPECT_EQ(keyboard_.MessageLineAt(3).substr(58, 4), "  78");  // the cursor is on the "x"
  EXPECT_THAT(keyboard_.MessageLineAt(4), StartsWith("R置換"));
  EXPECT_EQ(CopyBuffer(), "日x");
  EXPECT_EQ(MessageLine(), std::string(80, ' '));  // the editor's line goes when it ends

  // Every range prompt, the control-code prompt and the two replace prompts.
  keyboard_.screens.clear();
  state_.style.controlLimit = '_';
  for (int key : {0x02, 0x05, 0x06, 0x18, 0x19}) {
    keyboard_.keys.push_back(CharacterKey(key));
    keyboard_.keys.push_back(CharacterKey(0x1B));
  }
  keyboard_.keys.push_back(CharacterKey(0x1D));
  keyboard_.Type(Keys("a^Ra^Mb^M^M"));
  Edit(state_);
  const char* prompts[] = {"複写+>", "移動>", "移動+>", "交換>", "削除>"};
  for (int i = 0; i < 5; ++i) EXPECT_THAT(keyboard_.MessageLineAt(1 + 2 * i), StartsWith(prompts[i]));
  EXPECT_THAT(keyboard_.MessageLineAt(11), StartsWith("ｺﾝﾄﾛｰﾙｺｰﾄﾞ>"));
  EXPECT_THAT(keyboard_.MessageLineAt(13), StartsWith("置換前>"));
  EXPECT_EQ(keyboard_.screens.at(13).RowText(21).substr(38, 3), "[･･");
  EXPECT_THAT(keyboard_.MessageLineAt(15), StartsWith("置換後>"));
  EXPECT_EQ(state_.text, Keys("^A日x"));
}

}  // namespace
}  // namespace vondal
