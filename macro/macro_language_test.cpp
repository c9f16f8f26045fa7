// The macro language above the string editor: the notation of built-in macros, the label table,
// shortening and the syntax check with its messages at their places.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "macro/label_table.h"
#include "macro/macro_notation.h"
#include "macro/macro_store.h"
#include "macro/menu_tree.h"
#include "macro/shortening.h"
#include "macro/syntax_check.h"

namespace vondal {
namespace {

// The notation is the tests' way of writing macro bytes: "C+" is 3 "+", "M[" 13 27, "@M" the
// letter M.
std::string Bytes(std::string_view notation) { return FromMacroNotation(notation); }

// A store of 20 macros holding the given texts from macro 1 on.
std::unique_ptr<MacroStore> StoreWith(std::initializer_list<std::string_view> notations) {
  auto store = std::make_unique<MacroStore>();
  store->Append(std::string(20 * macro_format::kRecordBytes, '\0'));
  int n = 1;
  for (std::string_view notation : notations) store->SetText(n++, Bytes(notation));
  return store;
}

TEST(MacroNotation, LettersAreControlBytesAndTheAtSignQuotes) {
  EXPECT_EQ(Bytes("^@A"),
            "\x1E"
            "A");
  EXPECT_EQ(Bytes("M[@M@@x1"),
            "\x0D\x1B"
            "M@x1");
  EXPECT_EQ(Bytes("\\C-"), "\x1C\x03-");
  // A two-byte character stays whole, also when its second byte is "\" or a capital letter.
  EXPECT_EQ(Bytes("ソ↑"), "ソ↑");
  EXPECT_EQ(Bytes("@ソ"), "ソ");
  EXPECT_LE(StandardLabelMacro().size(), 255u);
}

TEST(LabelTable, DuplicatesCommentsForbiddenNamesAndCalls) {
  auto store = StoreWith({"LaxS", "\\LbLc\\LaMGa", "L[", "L東y"});
  LabelTable labels;
  EXPECT_FALSE(labels.Build(*store));
  const auto& e = labels.entries();
  ASSERT_EQ(e.size(), 6u);
  EXPECT_EQ(e[0].macro, 1);
  EXPECT_EQ(e[0].name, "a");
  EXPECT_EQ(e[0].mark, LabelEntry::kCalled);
  EXPECT_EQ(e[1].state, LabelEntry::kInComment);  // b
  EXPECT_EQ(e[2].state, LabelEntry::kInComment);  // c
  EXPECT_EQ(e[3].name, "a");
  EXPECT_EQ(e[3].position, 6);
  EXPECT_EQ(e[3].mark, LabelEntry::kDuplicate);
  EXPECT_EQ(e[4].state, LabelEntry::kForbidden);
  EXPECT_EQ(e[5].name, "東");
  EXPECT_EQ(labels.Find("a"), 0);
  EXPECT_EQ(labels.Find("b"), -1);
  EXPECT_EQ(labels.Find(Bytes("[")), -1);
  EXPECT_EQ(labels.Find("東"), 5);
  // 504 labels fill the table: the one after them is left out.
  std::string many;
  for (int i = 0; i < 126; ++i) many += Bytes("Lx");
  auto full = StoreWith({many, many, many, many, "L東"});
  EXPECT_TRUE(labels.Build(*full));
  EXPECT_EQ(labels.entries().size(), static_cast<size_t>(kMaxLabels));
  EXPECT_EQ(labels.Find("東"), -1);
}

TEST(Shortening, RunsOfOneMovementBecomeOneCount) {
  struct Case {
    const char* before;
    const char* after;
  } cases[] = {
      {"C+C+C2+", "C4+"},
      {"C1_2+C+", "C13+"},       // no-ops among the digits go
      {"C+C-D3bDb", "C+C-D4b"},  // another movement is no run
      {"C5<C<C1>", "C5<C<C>"},   // counts of the other movements are not summed
      {"C0+", "C0+"},
      {"MDDbDb", "MDD2b"},           // 13 4 is an exit code, not a deletion
      {"LCC+C+", "LCC2+"},           // a label named Ctrl+C
      {"MGCC+C+", "MGCC2+"},         // a call of it
      {"\\C+C+\\C+", "\\C+C+\\C+"},  // comments stay as they are
      {"CwCC+", "CwCC+"},            // a search for the byte 3
      {"C+東C+", "C+東C+"},
      {"C12", "C12"},
  };
  for (const Case& c : cases) {
    std::string text = Bytes(c.before);
    const int saved = ShortenMacro(text);
    EXPECT_EQ(text, Bytes(c.after)) << c.before;
    EXPECT_EQ(saved, static_cast<int>(Bytes(c.before).size() - Bytes(c.after).size())) << c.before;
  }
}

TEST(MenuTree, EveryContinuationListMatchesItsKeys) {
  for (const MenuNode& node : MenuTree()) {
    if (!node.next.empty()) {
      EXPECT_EQ(node.next.size(), node.keys.size()) << node.keys;
    }
  }
}

struct CheckCase {
  const char* notation;
  const char* text;  // the expected error ("" none)
  int position;
};

class SyntaxCheckTest : public ::testing::TestWithParam<CheckCase> {};

TEST_P(SyntaxCheckTest, MessageAndPosition) {
  const CheckCase& c = GetParam();
  auto store = StoreWith({"La"});
  store->SetText(2, Bytes(c.notation));
  store->Assign(2, FunctionKeySlot(1));  // F2 plays something
  LabelTable labels;
  labels.Build(*store);
  const SyntaxError error = CheckMacro(*store, 2, labels);
  EXPECT_EQ(error.text, c.text);
  if (!error.ok()) {
    EXPECT_EQ(error.position, c.position);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Messages, SyntaxCheckTest,
    ::testing::Values(
        CheckCase{"B@yC-Fabc", "", 0}, CheckCase{"abC12+D3bZ]^@A", "", 0},
        CheckCase{"C_1_2\\abc\\+\\D", "", 0},  // no-ops and comments are skipped
        CheckCase{"RabMMcdMMM[@SMGaN2", "", 0}, CheckCase{"M[@D@E@KM[15M[@E@S,M[@Q", "", 0},
        CheckCase{"MIIzMIz", "1h)面の指定が無効です", 3}, CheckCase{"B@yD", "0a)範囲指定中は無効です", 2},
        CheckCase{"C12", "0b)ﾊﾟﾗﾒｰﾀがありません", 3}, CheckCase{"A", "0c)範囲指定中以外は無効です", 0},
        CheckCase{"B", "0d)ﾊﾟﾗﾒｰﾀがありません", 1}, CheckCase{"Bq", "0e)ﾊﾟﾗﾒｰﾀが無効です", 1},
        CheckCase{"Cq", "0f)ﾊﾟﾗﾒｰﾀが無効です", 1}, CheckCase{"CwD", "0g)ﾊﾟﾗﾒｰﾀが無効です", 2},
        CheckCase{"Cw^a", "0h)ｺﾝﾄﾛｰﾙｺｰﾄﾞの指定が無効です", 3}, CheckCase{"Dq", "0i)ﾊﾟﾗﾒｰﾀが無効です", 1},
        CheckCase{"xL", "0k)ﾗﾍﾞﾙがありません", 2}, CheckCase{"L[", "0l)ﾗﾍﾞﾙが無効です", 1},
        CheckCase{"RN+", "0m)置換操作中は無効です", 1}, CheckCase{"N", "0n)ﾊﾟﾗﾒｰﾀがありません", 1},
        CheckCase{"Nz", "0o)ﾊﾟﾗﾒｰﾀが無効です", 1}, CheckCase{"N1", "0p)対応するﾗﾍﾞﾙがありません", 1},
        CheckCase{"RR", "0q)置換操作中は無効です", 1}, CheckCase{"R[", "0r)置換操作中は無効です", 1},
        CheckCase{"ab[", "0s)中止するｺﾏﾝﾄﾞがありません", 2},
        CheckCase{"^a", "0t)ｺﾝﾄﾛｰﾙｺｰﾄﾞの指定が無効です", 1}, CheckCase{"E", "0u)無効なｺｰﾄﾞです", 0},
        CheckCase{"B@y東", "0v)範囲指定中は無効です", 2}, CheckCase{"M", "1a)ﾊﾟﾗﾒｰﾀがありません", 1},
        CheckCase{"RMD", "1b)置換操作中は無効です", 2}, CheckCase{"RMV", "1c)置換操作中は無効です", 2},
        CheckCase{"RMGa", "1d)置換操作中は無効です", 2}, CheckCase{"MG[", "1e)ﾗﾍﾞﾙが無効です", 2},
        CheckCase{"MGb", "1f)存在しないﾗﾍﾞﾙです", 2}, CheckCase{"RMI", "1g)置換操作中は無効です", 2},
        CheckCase{"MI!", "1i)ﾌｨｰﾙﾄﾞの指定が無効です", 2}, CheckCase{"MIqM[@dek", "", 0},
        CheckCase{"M[95", "2a)ﾏｸﾛ番号が大きすぎます", 2}, CheckCase{"M[@E@S　", "2b)ｾﾊﾟﾚｰﾀが全角です", 4},
        CheckCase{"M[@E@D%", "2c)辞書選択が不適当です", 4}, CheckCase{"M[@X", "2d)ｺﾏﾝﾄﾞが間違いです", 2},
        CheckCase{"RM ", "3a)置換操作中は無効です", 2}, CheckCase{"M!", "3b)ﾊﾟﾗﾒｰﾀが無効です", 1}));

TEST(SyntaxCheck, LabelsInTheKeyMacroAndTheWholeStoreFromTheCurrentMacro) {
  auto store = StoreWith({"ok", "E", "", "Cq"});
  store->SetText(0, Bytes("Lx"));
  LabelTable labels;
  labels.Build(*store);
  EXPECT_EQ(CheckMacro(*store, 0, labels).text, "0j)ｷｰﾏｸﾛ中のﾗﾍﾞﾙは無効です");
  EXPECT_EQ(CheckAllMacros(*store, 3, labels).macro, 4);
  EXPECT_EQ(CheckAllMacros(*store, 5, labels).macro, 0);  // around the end
  store->SetText(0, "");
  EXPECT_EQ(CheckAllMacros(*store, 5, labels).macro, 2);
  store->SetText(2, "");
  store->SetText(4, "");
  EXPECT_EQ(CheckAllMacros(*store, 5, labels).macro, -1);
}

}  // namespace
}  // namespace vondal
