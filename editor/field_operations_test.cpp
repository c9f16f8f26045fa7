#include "editor/field_operations.h"

#include <gtest/gtest.h>

#include "app/text/text_helpers.h"
#include "editor/dictionary.h"
#include "editor/marks_menu.h"
#include "editor/select_area.h"
#include "log/field_table.h"
#include "log/record_index.h"

namespace vondal {
namespace {

TEST(TimeZoneTest, JstAndUtcAcrossMidnightAndTheYear) {
  std::string result;
  EXPECT_EQ(ConvertTimeZone(START, "241231", "2330", "2330", false, result), "");
  EXPECT_EQ(result, "0830");
  EXPECT_EQ(ConvertTimeZone(DATE, "241231", "2330", "241231", false, result), "");
  EXPECT_EQ(result, "250101");  // J on DATE: the next day
  EXPECT_EQ(ConvertTimeZone(START, "250101", "0005", "0005", true, result), "");
  EXPECT_EQ(result, "1505");  // the hour converted, the minutes as typed
  EXPECT_EQ(ConvertTimeZone(DATE, "250101", "0005", "250101", true, result), "");
  EXPECT_EQ(result, "241231");
  EXPECT_EQ(ConvertTimeZone(END, "250101", "0005", "12", true, result), "");
  EXPECT_EQ(result, "03");
  // The first key of the window: one century on, as the key wraps.
  EXPECT_EQ(ConvertTimeZone(DATE, "500101", "0000", "500101", true, result), "");
  EXPECT_EQ(result, "491231");
  // Hour 29 of the window's last day lies past its end, and still converts.
  EXPECT_EQ(ConvertTimeZone(START, "491231", "2930", "2930", true, result), "");
  EXPECT_EQ(result, "2030");
  EXPECT_EQ(ConvertTimeZone(QTH, "250101", "0005", "x", true, result), "ﾌｨｰﾙﾄﾞが不適当です");
  EXPECT_EQ(ConvertTimeZone(START, "251301", "0005", "0005", true, result), "ﾃﾞｰﾀが不適当です");
  EXPECT_EQ(ConvertTimeZone(START, "250101", "3005", "3005", true, result), "ﾃﾞｰﾀが不適当です");
  EXPECT_EQ(ConvertTimeZone(START, "250101", "x", "x", true, result), "ﾃﾞｰﾀが不適当です");
}

TEST(StepTest, LettersAndDigitsWithCarry) {
  auto step = [](std::string text, size_t cursor, int delta) {
    const std::string refusal = StepAtCursor(text, cursor, delta);
    return refusal.empty() ? text : refusal;
  };
  EXPECT_EQ(step("QZ1ABC", 5, 1), "QZ1ABD");
  EXPECT_EQ(step("QZ1ABC", 2, 1), "QZ2ABC");
  EXPECT_EQ(step("599", 1, 1), "これ以上増減できません");
  EXPECT_EQ(step("599", 0, 1), "600");
  EXPECT_EQ(step("100", 0, -1), "099");
  EXPECT_EQ(step("000", 0, -1), "これ以上増減できません");
  EXPECT_EQ(step("Z1", 0, 1), "これ以上増減できません");  // Z+1 is no letter and no digit follows
  EXPECT_EQ(step("a9", 0, -1), "これ以上増減できません");
  EXPECT_EQ(step("b", 0, -1), "a");
  EXPECT_EQ(step("ab", 2, 1), "これ以上増減できません");  // the cursor behind the text
}

TEST(ConvertTest, CaseAndSeparators) {
  EXPECT_EQ(Capitalise(ToLowerAscii("NEW YORK-city")), "New York-City");
  EXPECT_EQ(TidySeparators(",a,,b,", ','), "a,b");
  EXPECT_EQ(TidySeparators(",,,", ','), "");
  EXPECT_EQ(TidySeparators("a  b ", ' '), "a b");
  // A trail byte that looks like the separator is part of its character.
  EXPECT_EQ(TidySeparators("表\\\\x", '\\'), "表\\x");
  EXPECT_EQ(TidySeparators("ソ", '\\'), "ソ");
}

Dictionary MakeDictionary(std::string_view text, std::string_view specification = "dict.txt") {
  Dictionary d;
  d.specification = std::string(specification);
  ReadDictionaryText(text, d);
  return d;
}

TEST(DictionaryTest, FileFormat) {
  Dictionary d = MakeDictionary(
      "menukey=1\r\nmenulabel=都道府県 // a comment\r\nclass=general\r\n"
      "東京都\tﾄｳｷｮｳﾄ\r\nabc\t\"x y\"   // spaces kept inside quotes\r\nnot a pair\r\n");
  EXPECT_TRUE(d.usable()) << d.error;
  EXPECT_EQ(d.menuKey, '1');
  EXPECT_EQ(d.label, "都道府県");
  EXPECT_TRUE(d.general);
  ASSERT_EQ(d.pairs.size(), 2u);
  EXPECT_EQ(d.pairs[1].to, "x y");
  EXPECT_EQ(MakeDictionary("menukey=1\nmenulabel=x\na\t\"abc\n").error, "引用符が閉じていません");
  EXPECT_EQ(MakeDictionary("menukey=1\na\tb\n").error, "menulabelがありません");
  EXPECT_EQ(MakeDictionary("menukey=!\nmenulabel=x\n").error, "menukeyが不適当です");
  EXPECT_EQ(MakeDictionary("menukey=1\nmenulabel=" + std::string(33, 'x') + "\n").error,
            "menulabelが長すぎます");
  EXPECT_EQ(MakeDictionary("menukey=1\nmenulabel=x\nclass=all\n").error, "classが不適当です");
}

TEST(DictionaryTest, SpecificationWinsAndBadWords) {
  MemoryFileSystem fs;
  fs.SetContents("d.txt", "menukey=1\nmenulabel=file\nA\tB\n");
  Dictionary d = LoadDictionary("d.txt,menukey=Z,menulabel=spec", fs);
  EXPECT_TRUE(d.usable()) << d.error;
  EXPECT_EQ(d.menuKey, 'Z');
  EXPECT_EQ(d.label, "spec");
  EXPECT_EQ(LoadDictionary("d.txt other", fs).error, "記述が不正です");
  EXPECT_EQ(LoadDictionary("missing.txt", fs).error, "ﾌｧｲﾙを開けません");
}

TEST(DictionaryTest, APlusNameIsTheFileTheProgramFolderGives) {
  MemoryFileSystem fs;
  fs.SetContents("/usr/share/vondal/QTH.dic", "menukey=1\nmenulabel=x\nA\tB\n");
  // An installed program gives the shared data's file when the user has none of its own.
  auto programFile = [](const std::string& name) { return "/usr/share/vondal/" + name; };
  EXPECT_TRUE(LoadDictionary("+QTH.dic", fs, programFile).usable());
  EXPECT_EQ(LoadDictionary("+QTH.dic", fs).error, "ﾌｧｲﾙを開けません");              // none given: "QTH.dic"
  EXPECT_EQ(LoadDictionary("QTH.dic", fs, programFile).error, "ﾌｧｲﾙを開けません");  // no "+"
}

TEST(DictionaryTest, ConversionSingleGeneralReverseAndTooLong) {
  Dictionary d = MakeDictionary("menukey=1\nmenulabel=x\nTokyo\t東京\nOsaka\t大阪\n");
  std::string text = "Tokyo-Osaka-Tokyo";
  EXPECT_EQ(ConvertWithDictionary(d, false, 50, text), "");
  EXPECT_EQ(text, "東京-Osaka-Tokyo");  // single: the first match only
  d.general = true;
  text = "Tokyo-Osaka-Tokyo";
  EXPECT_EQ(ConvertWithDictionary(d, false, 50, text), "");
  EXPECT_EQ(text, "東京-大阪-東京");
  EXPECT_EQ(ConvertWithDictionary(d, true, 50, text), "");
  EXPECT_EQ(text, "Tokyo-Osaka-Tokyo");
  text = "大阪";
  EXPECT_EQ(ConvertWithDictionary(d, true, 4, text), "変換結果が長すぎます");
  EXPECT_EQ(text, "大阪");  // unchanged
}

class MarksTest : public ::testing::Test {
 protected:
  MarksTest() : index(counters) {
    for (int n = 0; n < 8; ++n) EXPECT_TRUE(index.SetIndexEntry(n, n, "JA1ABC", IndexMode::kBuild));
  }
  void Mark(std::initializer_list<int> marked) {
    for (int n = 0; n < 8; ++n) index[n].mark = 0;
    for (int n : marked) index[n].mark = 1;
  }
  std::vector<int> Marked() const {
    std::vector<int> out;
    for (int n = 0; n < 8; ++n) {
      if (index[n].mark) out.push_back(n);
    }
    return out;
  }
  WriteCounters counters;
  RecordIndex index;
};

TEST_F(MarksTest, EveryOperationOnEveryOldMarkAndSelection) {
  // old, selected → N A O X D
  const bool table[4][5] = {{false, false, false, false, false},
                            {true, false, true, true, false},
                            {false, false, true, true, true},
                            {true, true, true, false, false}};
  for (int row = 0; row < 4; ++row) {
    const bool selected = row & 1;
    const bool old = row & 2;
    for (int op = 0; op < 5; ++op) {
      EXPECT_EQ(MarkAfter("NAOXD"[op], old, selected), table[row][op])
          << "old " << old << " sel " << selected << " "
          << "NAOXD"[op];
    }
  }
}

TEST_F(MarksTest, MemoriesSaveRecallExchangeAndCombine) {
  Mark({1, 2, 3});
  ApplyMemoryOperation(index, 3, 'S');
  Mark({});
  EXPECT_EQ(CountMarks(index), 0);
  ApplyMemoryOperation(index, 3, 'R');
  EXPECT_EQ(Marked(), (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(CountMarks(index), 3);
  Mark({3, 4});
  ApplyMemoryOperation(index, 3, 'A');  // channel 3 keeps only 3
  ApplyMemoryOperation(index, 3, 'E');
  EXPECT_EQ(Marked(), (std::vector<int>{3}));
  ApplyMemoryOperation(index, 3, 'R');  // the exchange put {3, 4} there
  EXPECT_EQ(Marked(), (std::vector<int>{3, 4}));
  Mark({0, 4});
  ApplyMemoryOperation(index, 3, 'X');  // 3 stays, 4 goes, 0 comes
  ApplyMemoryOperation(index, 3, 'R');
  EXPECT_EQ(Marked(), (std::vector<int>{0, 3}));
  ApplyMemoryOperation(index, 5, 'S');  // another channel is not touched by what follows
  ApplyMemoryOperation(index, 3, 'C');
  EXPECT_EQ(Marked(), (std::vector<int>{0, 3}));  // C keeps the marks
  ApplyMemoryOperation(index, 3, 'R');
  EXPECT_EQ(Marked(), std::vector<int>{});
  ApplyMemoryOperation(index, 5, 'R');
  EXPECT_EQ(Marked(), (std::vector<int>{0, 3}));
}

}  // namespace
}  // namespace vondal
