#include "output/table_words.h"

#include <algorithm>

#include "output/table_test_support.h"
#include "output/table_word_specs.h"

namespace vondal {
namespace {

using testing::ExpectReport;

TEST(WordSpecsTest, CharacterTypesAndWhereTheyGoWrong) {
  const CharacterTypes types = ParseCharacterTypes("3a -n !s");
  ASSERT_EQ(types.errorPosition, -1);
  ASSERT_EQ(types.items.size(), 3u);
  EXPECT_EQ(types.items[0].minimum, 3);
  EXPECT_TRUE(types.items[1].excluded);
  EXPECT_TRUE(types.items[2].negated);
  EXPECT_EQ(ParseCharacterTypes("").errorPosition, 0);
  EXPECT_EQ(ParseCharacterTypes("  ").errorPosition, 2);
  EXPECT_EQ(ParseCharacterTypes("ax").errorPosition, 1);
  EXPECT_EQ(ParseCharacterTypes("an2a").errorPosition, 3);  // a twice
  EXPECT_EQ(ParseCharacterTypes("3").errorPosition, 1);
  EXPECT_EQ(ParseCharacterTypes("a漢").errorPosition, 1);
}

TEST(WordSpecsTest, SortKeysTheirModifiersAndTheirErrors) {
  const SortSpecification sort = ParseSortSpecification("Fa +2 -5 i+!s");
  ASSERT_EQ(sort.errorPosition, -1);
  ASSERT_EQ(sort.keys.size(), 3u);
  EXPECT_TRUE(sort.keys[0].descending);
  EXPECT_EQ(sort.keys[0].letter, 'f');
  EXPECT_EQ(sort.keys[1].from.count, 2);
  EXPECT_EQ(sort.keys[1].to.count, 5);
  EXPECT_EQ(sort.keys[2].from.letter, 's');
  EXPECT_TRUE(sort.keys[2].from.negated);
  EXPECT_TRUE(ParseSortSpecification("").keys.empty());
  EXPECT_EQ(ParseSortSpecification("").errorPosition, -1);
  EXPECT_EQ(ParseSortSpecification("aaaaaaaaa").errorPosition, 8);  // a ninth key
  EXPECT_EQ(ParseSortSpecification("f+3").errorPosition, 1);        // f takes no modifier
  EXPECT_EQ(ParseSortSpecification("d+a").errorPosition, 1);        // d takes numbers only
  EXPECT_EQ(ParseSortSpecification("a+1+2").errorPosition, 3);      // a second "+"
  EXPECT_EQ(ParseSortSpecification("a+70000").errorPosition, 2);
  EXPECT_EQ(ParseSortSpecification("x").errorPosition, 0);
  EXPECT_EQ(ParseSortSpecification("a-!").errorPosition, 3);
}

TEST(WordSpecsTest, FormatItemsWriteTheirEntries) {
  auto entry = [](std::string_view format, std::string_view word, int serial, int frequency) {
    const WordFormat parsed = ParseWordFormat(format);
    EXPECT_EQ(parsed.errorPosition, -1) << format;
    std::string out;
    parsed.AppendEntry(out, word, serial, frequency);
    return out;
  };
  EXPECT_EQ(entry("$5f $l", "ab", 0, 3), "    3 ab\r\n");
  EXPECT_EQ(entry("$l$t$5f", "ab", 0, 3), "ab\t    3\r\n");
  EXPECT_EQ(entry("$4l|$4r|$6q|", "ab", 0, 3), "ab  |  ab|\"ab\"  |\r\n");
  EXPECT_EQ(entry("$3n:$L$2s$3x2D$2$$T", "ABCDE", 7, 1), "  7:ABCDE  ---$$\t\r\n");
  EXPECT_EQ(entry("$*", "ab", 0, 3), "ab\r\nab\r\nab\r\n");
  EXPECT_EQ(ParseWordFormat("$5f").errorPosition, 3);  // no word in it
  EXPECT_EQ(ParseWordFormat("$l$y").errorPosition, 3);
  EXPECT_EQ(ParseWordFormat("$1001l").errorPosition, 1);
  EXPECT_EQ(ParseWordFormat("$l$x4").errorPosition, 4);
  EXPECT_EQ(ParseWordFormat("$l$").errorPosition, 3);
  EXPECT_EQ(ParseWordFormat("$l-$l-$l-$l-$l-$l-$l-$l-$l").errorPosition, 24);  // the 17th item
}

TEST(WordSpecsTest, TheFormRefusesTheUsersTextsOnlyWhenChosen) {
  OutputParameters p = DefaultOutputParameters("", "T.VD");
  const std::vector<int> list = {6, 7, 8, 17, 18, 19, 21, 22, 25, 26, 27, 28};
  p[kUserCharacterTypes].value = "x";
  p[kUserSort].value = "z";
  p[kUserFormat].value = "$f";
  EXPECT_EQ(CheckWordTableTexts(p, list).message, "");
  p[kCharacterTypes].Choose(kUserChoiceTypes);
  EXPECT_EQ(CheckWordTableTexts(p, list).message, "文字種が不適当です");
  p[kUserCharacterTypes].value = "a";
  p[kSortChoice].Choose(kUserChoiceSort);
  EXPECT_EQ(CheckWordTableTexts(p, list).message, "ｿｰﾄ方法が不適当です");
  EXPECT_EQ(CheckWordTableTexts(p, list).parameter, kUserSort);
  p[kUserSort].value = "a";
  p[kFormatChoice].Choose(kUserChoiceFormat);
  const WordFormError error = CheckWordTableTexts(p, list);
  EXPECT_EQ(error.message, "出力形式が不適当です");
  EXPECT_EQ(error.position, 2);
  // The frequency table has no character types: its form never checks them.
  p[kUserCharacterTypes].value = "x";
  p[kUserFormat].value = "$l";
  EXPECT_EQ(CheckWordTableTexts(p, {6, 7, 8, 24, 27, 28}).message, "");
}

TEST(WordPartsTest, CallsignPartsAndFrequencyIntervals) {
  EXPECT_EQ(CallsignBody("JA1ABC/3"), "JA1ABC");
  EXPECT_EQ(CallsignBody("KH0/JA1ABC/P"), "JA1ABC");
  EXPECT_EQ(CallsignBody("AB/1"), "");
  EXPECT_EQ(CallsignPrefix("JA1ABC"), "JA1");
  EXPECT_EQ(CallsignPrefix("7K1XYZ"), "7K1");
  EXPECT_EQ(FrequencyWord("7.012", "5"), "    7.010");
  EXPECT_EQ(FrequencyWord("7.014", "5"), "    7.010");
  EXPECT_EQ(FrequencyWord("14.0255", "5"), "   14.025");
  EXPECT_EQ(FrequencyWord("7.025", "10"), "    7.02");
  EXPECT_EQ(FrequencyWord("144.5", "100"), "  144.5");  // 100 kHz steps are tenths of a MHz
  EXPECT_EQ(FrequencyWord("144.51", "100"), "  144.5");
  EXPECT_EQ(FrequencyWord("144.5", "1000"), "  144");
  // No more decimals than FREQ has, and no more than the interval's steps need.
  EXPECT_EQ(FrequencyWord("7.0", "10"), "    7.0");
  EXPECT_EQ(FrequencyWord("7.1", "10"), "    7.1");
  EXPECT_EQ(FrequencyWord("7.100", "10"), "    7.10");
  EXPECT_EQ(FrequencyWord("1.9", "1"), "    1.9");
  EXPECT_EQ(FrequencyWord("1200.", "25"), " 1200");
  EXPECT_EQ(FrequencyWord("QRP", "1"), "QRP");
  EXPECT_EQ(FrequencyWord("1234567.1", "1"), "1234567.1");  // no "." within six characters
}

TEST(WordTableTest, SortsByCodeFrequencyAppearanceAndNumberWhereTheyDiffer) {
  WordTable table;
  for (std::string_view w : {"JA10", "b", "JA2", "a", "JA2", "B", "JA2", "a"}) table.Add(w);
  auto words = [&](std::string_view sort) {
    std::string out;
    for (int i : table.Sorted(ParseSortSpecification(sort))) out += std::string(table.Word(i)) + " ";
    return out;
  };
  EXPECT_EQ(words("a"), "B JA10 JA2 a b ");
  EXPECT_EQ(words("i"), "a b B JA10 JA2 ");
  EXPECT_EQ(words("Fa"), "JA2 a B JA10 b ");
  EXPECT_EQ(words("fa"), "B JA10 b a JA2 ");
  EXPECT_EQ(words(""), "JA10 b JA2 a B ");
  EXPECT_EQ(words("O"), "B a JA2 b JA10 ");
  EXPECT_EQ(words("d"), "B JA2 JA10 a b ");
  EXPECT_EQ(words("b a"), "B a b JA2 JA10 ");
  EXPECT_EQ(words("a+2"), "b a B JA10 JA2 ");  // from the third character on: "" "" "" "10" "2"
  EXPECT_EQ(table.TotalFrequency(), 8);
}

TEST(WordTableTest, SortsByNumberCharactersAndPrefix) {
  WordTable table;
  for (std::string_view w : {"JA10ABC", " 12.5x", "ｱｲｳ", "JA2B", "-3", "JA2AA", "7"}) table.Add(w);
  auto words = [&](std::string_view sort) {
    std::string out;
    for (int i : table.Sorted(ParseSortSpecification(sort))) out += std::string(table.Word(i)) + "|";
    return out;
  };
  // "n": the number each word begins with (0 for none); equal numbers keep their order.
  EXPECT_EQ(words("n"), "-3|JA10ABC|ｱｲｳ|JA2B|JA2AA|7| 12.5x|");
  // "c": characters, a half-width kana one each.
  EXPECT_EQ(words("c a"), "7|-3|ｱｲｳ|JA2B|JA2AA| 12.5x|JA10ABC|");
  // "p": the call-sign prefix, descending; equal prefixes by code.
  EXPECT_EQ(words("P a"), "ｱｲｳ|JA2AA|JA2B|JA10ABC|7|-3| 12.5x|");
}

TEST(WordTableTest, ManyWordsAlikeInTheirFirstBytesStayApart) {
  // Thousands of words (the table grows many times) that share their first eight bytes or differ
  // only by a NUL behind them; each keeps its own count and the code order holds.
  WordTable table(100000000);
  std::vector<std::string> words;
  for (int i = 0; i < 3000; ++i) words.push_back("JA1ABCDE" + std::to_string(i));
  for (int i = 0; i < 3000; ++i) words.push_back("W" + std::to_string(i));
  words.push_back("AB");
  words.push_back(std::string("AB\0", 3));
  words.push_back("");
  // Words of every length to 20 with bytes of the whole range, the two-byte codes among them.
  uint32_t seed = 12345;
  for (int i = 0; i < 2000; ++i) {
    std::string word(static_cast<size_t>(i % 21), '\0');
    for (char& c : word) c = static_cast<char>((seed = seed * 1103515245 + 12345) >> 24);
    if (std::find(words.begin(), words.end(), word) == words.end()) words.push_back(word);
  }
  for (int pass = 1; pass <= 3; ++pass) {
    for (size_t i = 0; i < words.size(); i += pass) ASSERT_TRUE(table.Add(words[i]));
  }
  ASSERT_EQ(table.DistinctCount(), static_cast<int>(words.size()));
  for (int n = 0; n < table.DistinctCount(); ++n) {
    const int expected = 1 + (n % 2 == 0) + (n % 3 == 0);
    EXPECT_EQ(table.Word(n), words[n]);
    EXPECT_EQ(table.Frequency(n), expected) << words[n];
  }
  std::vector<std::string> sorted = words;
  std::sort(sorted.begin(), sorted.end());
  const std::vector<int> order = table.Sorted(ParseSortSpecification("a"));
  for (size_t i = 0; i < order.size(); ++i) EXPECT_EQ(table.Word(order[i]), sorted[i]);
  const std::vector<int> descending = table.Sorted(ParseSortSpecification("A"));
  for (size_t i = 0; i < order.size(); ++i) EXPECT_EQ(table.Word(descending[i]), sorted[sorted.size() - 1 - i]);
}

TEST(WordTableTest, ANewWordBeyondTheBudgetIsRefused) {
  WordTable table(40);
  EXPECT_TRUE(table.Add("abcdef"));
  EXPECT_FALSE(table.Add("ghijklmnopqrstuvwxyz"));
  EXPECT_TRUE(table.Add("abcdef"));  // a known word still counts
  EXPECT_EQ(table.DistinctCount(), 1);
  EXPECT_EQ(table.TotalFrequency(), 2);
}

class WordReportsTest : public testing::TableTest {
 protected:
  void Remarks(const std::vector<std::string>& remarks) {
    std::vector<Record> records;
    for (const std::string& text : remarks) {
      Record r = testing::ValidRecord();
      r[REMARKS] = text;
      records.push_back(r);
    }
    UseRecords(records);
    TheOutputParameters()[kWordField].Choose(REMARKS);
  }

  std::string Table(char kind, size_t budget = kWordTableBytes) {
    OutputJob job(context, {6, 7, 8});
    job.parameters[kTarget].Choose(kAllRecords);
    job.file = std::make_unique<OutputFile>(fs);
    EXPECT_TRUE(job.file->Open("W.TXT", OutputFile::Mode::kReplace));
    WriteWordTable(job, kind, budget);
    return Report(job);
  }
};

TEST_F(WordReportsTest, WordsOfAFieldEmptyOnesToo) {
  Remarks({"a;b;a", ""});
  EXPECT_EQ(Table('W'), "語句合計 3\r\n頻度合計 4\r\n    1 \r\n    2 a\r\n    1 b\r\n");
}

TEST_F(WordReportsTest, WordsOfASubfieldSplitAtTheInnerSeparator) {
  Remarks({"x;QSL[J,B];y", "QSL[J]", "none"});
  TheOutputParameters()[kSubfield].value = "QSL[]";
  TheOutputParameters()[kFormatChoice].Choose(4);  // 語句のみ
  EXPECT_EQ(Table('W'), "語句合計 2\r\n頻度合計 3\r\nB\r\nJ\r\n");
}

TEST_F(WordReportsTest, SubfieldNamesUpToTheirBracket) {
  Remarks({"QSL[x];PWR(5)", "abc QSL[x]", "plain"});
  TheOutputParameters()[kBrackets].value = "[(";
  TheOutputParameters()[kFormatChoice].Choose(2);  // 語句 頻度
  EXPECT_EQ(Table('S'), "語句合計 3\r\n頻度合計 3\r\nPWR()     1\r\nQSL[]     1\r\nabc QSL[]     1\r\n");
}

TEST_F(WordReportsTest, CharacterRunsWithMinimumsAndExclusions) {
  Remarks({"JA1ABC de 7K1XYZ ok", "ｱｲｳ12 ｴｵ"});
  TheOutputParameters()[kFormatChoice].Choose(4);
  TheOutputParameters()[kCharacterTypes].Choose(1);  // 半角英字,数字
  EXPECT_EQ(Table('E'), "語句合計 5\r\n頻度合計 5\r\n12\r\n7K1XYZ\r\nJA1ABC\r\nde\r\nok\r\n");
  TheOutputParameters()[kCharacterTypes].Choose(kUserChoiceTypes);
  TheOutputParameters()[kUserCharacterTypes].value = "1a1n";  // a letter and a digit in it
  EXPECT_EQ(Table('E'), "語句合計 2\r\n頻度合計 2\r\n7K1XYZ\r\nJA1ABC\r\n");
  TheOutputParameters()[kUserCharacterTypes].value = "k-n";
  EXPECT_EQ(Table('E'), "語句合計 2\r\n頻度合計 2\r\nｱｲｳ\r\nｴｵ\r\n");
}

TEST_F(WordReportsTest, CallsignPartsAndFrequencies) {
  std::vector<Record> records;
  for (const char* call : {"JA1ABC/3", "JA1XYZ", "AB"}) records.push_back(testing::ValidRecord(call));
  records[0][FREQ] = "7.012";
  records[1][FREQ] = "7.014";
  records[2][FREQ] = "14.0255";
  UseRecords(records);
  TheOutputParameters()[kFormatChoice].Choose(4);
  EXPECT_EQ(Table('B'), "語句合計 2\r\n頻度合計 2\r\nJA1ABC\r\nJA1XYZ\r\n");
  EXPECT_EQ(Table('P'), "語句合計 1\r\n頻度合計 2\r\nJA1\r\n");
  EXPECT_EQ(Table('X'), "語句合計 2\r\n頻度合計 2\r\nABC\r\nXYZ\r\n");
  TheOutputParameters()[kInterval].Choose(2);  // 5 kHz
  TheOutputParameters()[kFormatChoice].Choose(0);
  EXPECT_EQ(Table('F'), "語句合計 2\r\n頻度合計 3\r\n    2     7.010\r\n    1    14.025\r\n");
}

TEST_F(WordReportsTest, WorkingMemoryRunsOutAtARecord) {
  Remarks({"a", "b", "cccccccccccccccccccccccccccccccccccccccc"});
  EXPECT_EQ(Table('W', 40), "\r\n(!) レコード#2で作業メモリ容量を超えました\r\n");
}

TEST_F(WordReportsTest, FixtureReports) {
  TheOutputParameters()[kWordField].Choose(REMARKS);
  OutputJob words = Job({6, 7, 8, 17, 18, 19, 20, 25, 26, 27, 28}, "語句集");
  WriteWordTable(words, 'W');
  ExpectReport("words.TXT", Report(words));

  TheOutputParameters()[kSortChoice].Choose(kUserChoiceSort);
  TheOutputParameters()[kUserSort].value = "F b";
  TheOutputParameters()[kFormatChoice].Choose(kUserChoiceFormat);
  TheOutputParameters()[kUserFormat].value = "$3n $12q$5f";
  OutputJob prefixes = Job({6, 7, 8, 25, 26, 27, 28}, "プリフィックス");
  WriteWordTable(prefixes, 'P');
  ExpectReport("prefixes_user.TXT", Report(prefixes));

  TheOutputParameters()[kFormatChoice].Choose(1);
  TheOutputParameters()[kInterval].Choose(3);  // 10 kHz
  OutputJob freqs = Job({6, 7, 8, 24, 27, 28}, "周波数");
  WriteWordTable(freqs, 'F');
  ExpectReport("frequencies.TXT", Report(freqs));
}

}  // namespace
}  // namespace vondal
