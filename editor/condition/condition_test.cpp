#include "editor/condition/condition.h"

#include <gtest/gtest.h>

#include "log/field_table.h"

namespace vondal {
namespace {

struct Texts {
  Record record;
  RecordTexts views{};
  const RecordTexts& get() {
    for (int i = 0; i < kStoredFieldCount; ++i) views[i] = record[i];
    return views;
  }
};

class ConditionTest : public ::testing::Test {
 protected:
  ConditionTest() { ResetFieldTable(); }

  // Compiles (expecting success) and evaluates on `texts`.
  int Eval(std::string_view text, bool tag = false) {
    Condition condition;
    EXPECT_EQ(condition.Compile(text, true), kConditionOk) << text << " at " << condition.errorPosition();
    return condition.Evaluate(texts.get(), tag);
  }
  // The error code and its position.
  std::pair<int, int> Error(std::string_view text, bool allowTag = true) {
    Condition condition;
    const int code = condition.Compile(text, allowTag);
    EXPECT_FALSE(condition.compiled());
    return {code, condition.errorPosition()};
  }

  Texts texts;
};

TEST_F(ConditionTest, EveryErrorCodeAtItsPosition) {
  using P = std::pair<int, int>;
  EXPECT_EQ(Error(""), P(kConditionEmpty, 0));
  EXPECT_EQ(Error("   "), P(kConditionEmpty, 3));
  EXPECT_EQ(Error("ja $ dx"), P(kConditionFormat, 3));
  EXPECT_EQ(Error("ja &"), P(kConditionFormat, 4));
  EXPECT_EQ(Error("()"), P(kConditionFormat, 1));
  EXPECT_EQ(Error("ja )"), P(kConditionUnpaired, 3));
  EXPECT_EQ(Error("(ja | dx"), P(kConditionUnclosed, 8));
  EXPECT_EQ(Error("CALL = \"QZ*"), P(kConditionOpenQuote, 7));
  EXPECT_EQ(Error("ja dx"), P(kConditionNoOperator, 3));
  EXPECT_EQ(Error("ja (dx)"), P(kConditionNoOperator, 3));
  EXPECT_EQ(Error("ja & & dx"), P(kConditionBadOperator, 5));
  EXPECT_EQ(Error("& ja"), P(kConditionBadOperator, 0));
  EXPECT_EQ(Error("ja ! dx"), P(kConditionBadOperator, 3));
  EXPECT_EQ(Error("(!ja)"), P(kConditionBadOperator, 1));  // "!" only at the start or after & ^ |
  EXPECT_EQ(Error("AUX1 = \"x\""), P(kConditionBadField, 0));
  EXPECT_EQ(Error("S = \"x\""), P(kConditionAmbiguousField, 0));  // START, sRST, sQSL
  EXPECT_EQ(Error("tag", false), P(kConditionBadField, 0));       // tag only where allowed
  EXPECT_EQ(Error("\"x\" = CALL"), P(kConditionNoField, 0));
  EXPECT_EQ(Error("= 5"), P(kConditionNoField, 0));
  EXPECT_EQ(Error("ja & = 5"), P(kConditionNoField, 5));
  EXPECT_EQ(Error("CALL \"x\""), P(kConditionNoComparison, 5));
  EXPECT_EQ(Error("CALL ="), P(kConditionNoRightSide, 6));
  EXPECT_EQ(Error("FREQ >=# 7"), P(kConditionNoRightSide, 9));
  EXPECT_EQ(Error("FREQ = ja"), P(kConditionNoRightSide, 7));
}

TEST_F(ConditionTest, TheBufferAndTheStacksHaveTheirLimits) {
  // Every comparison node of a one-letter literal takes 11 bytes: 136 fit behind the header.
  std::string text = "CALL = \"x\"";
  int compared = 1;
  Condition condition;
  while (condition.Compile(text + " | CALL = \"x\"", true) == kConditionOk) {
    text += " | CALL = \"x\"";
    ++compared;
  }
  EXPECT_EQ(condition.Compile(text + " | CALL = \"x\"", true), kConditionTooLong);
  EXPECT_LE(compared * 17, kConditionCodeBytes);  // operators and values together stay within

  // Twenty open parentheses fit the operator stack; the twenty-first does not.
  const std::string deep20 = std::string(20, '(') + "ja" + std::string(20, ')');
  EXPECT_EQ(condition.Compile(deep20, true), kConditionOk);
  const std::string deep21 = std::string(21, '(') + "ja" + std::string(21, ')');
  EXPECT_EQ(condition.Compile(deep21, true), kConditionTooDeep);
  EXPECT_EQ(condition.errorPosition(), 20);
  EXPECT_FALSE(condition.compiled());
  // A thousand parentheses: an error, not a crash.
  EXPECT_NE(condition.Compile(std::string(1000, '(') + "ja" + std::string(1000, ')'), true), kConditionOk);
}

TEST_F(ConditionTest, PrecedenceAndNot) {
  texts.record[CALLSIGN] = "JA1ABC";  // ja
  EXPECT_EQ(Eval("!ja & dx"), 0);
  EXPECT_EQ(Eval("ja | dx & tag"), 1);  // ja or (dx and tag)
  EXPECT_EQ(Eval("(ja | dx) & tag"), 0);
  EXPECT_EQ(Eval("ja ^ ja | ja"), 1);  // (ja ^ ja) | ja
  EXPECT_EQ(Eval("ja ^ !dx"), 0);
  EXPECT_EQ(Eval("tag", true), 1);
  texts.record[CALLSIGN] = "W1AW";
  EXPECT_EQ(Eval("!ja & dx"), 1);
}

TEST_F(ConditionTest, StringComparisonsMatchOrOrder) {
  texts.record[CALLSIGN] = "QZ1ABC";
  EXPECT_EQ(Eval("CALL = \"QZ*\" & !tag"), 1);
  EXPECT_EQ(Eval("CALL = \"qz*\""), 1);   // "=" ignores case
  EXPECT_EQ(Eval("CALL =# \"qz*\""), 0);  // "=#" does not
  EXPECT_EQ(Eval("CALL != \"QZ*\""), 0);
  EXPECT_EQ(Eval("CALL !=# \"qz*\""), 1);
  EXPECT_EQ(Eval("call < \"QZ2\""), 1);
  EXPECT_EQ(Eval("CALL >= \"qz1abc\""), 1);
  EXPECT_EQ(Eval("CALL >=# \"qz1abc\""), 0);  // upper case sorts before lower
  texts.record[QTH] = "東京都";
  EXPECT_EQ(Eval("QTH = \"東京*\""), 1);
  EXPECT_EQ(Eval("QTH > \"東\""), 1);
  texts.record[REMARKS] = "say \"hi\"";
  EXPECT_EQ(Eval("REMARKS = \"say \"\"hi\"\"\""), 1);
}

TEST_F(ConditionTest, NumbersCompareAsNumbersAndTextAsText) {
  texts.record[FREQ] = "10.1";
  EXPECT_EQ(Eval("FREQ >= 7"), 1);
  EXPECT_EQ(Eval("FREQ >= \"7\""), 0);  // as text "10.1" sorts below "7"
  texts.record[FREQ] = "7.025";
  EXPECT_EQ(Eval("FREQ >= 7 & FREQ < 7.3"), 1);
  EXPECT_EQ(Eval("FREQ = 7.025"), 1);
  EXPECT_EQ(Eval("FREQ > 7e0"), 1);
  texts.record[FREQ] = "";
  EXPECT_EQ(Eval("FREQ = 0"), 1);  // no number reads as 0
  texts.record[sRST] = "599x";
  EXPECT_EQ(Eval("sRST >= 599"), 1);
  // Field texts read exactly as the literals are: equal numbers compare equal.
  for (const char* number : {"0.1", "1296.025", "0.000001", "123456789.012345"}) {
    texts.record[FREQ] = number;
    EXPECT_EQ(Eval(std::string("FREQ = ") + number), 1) << number;
  }
  texts.record[FREQ] = "-3.5MHz";
  EXPECT_EQ(Eval("FREQ < 0"), 1);
  texts.record[FREQ] = "1e3";
  EXPECT_EQ(Eval("FREQ = 1000"), 1);
}

TEST_F(ConditionTest, JaDxClassification) {
  for (const char* call : {"JA1ABC", "JS3XYZ", "7K1ABC", "8N1RL"}) {
    texts.record[CALLSIGN] = call;
    EXPECT_EQ(Eval("ja & !dx"), 1) << call;
  }
  for (const char* call : {"W1AW", "DL1ABC", "JT1A", "7A1B"}) {
    texts.record[CALLSIGN] = call;
    EXPECT_EQ(Eval("dx & !ja"), 1) << call;
  }
  for (const char* call : {"0A1B", "JA", "", "/A1B"}) {
    texts.record[CALLSIGN] = call;
    EXPECT_EQ(Eval("ja | dx"), 0) << call;
  }
}

TEST_F(ConditionTest, FieldWords) {
  EXPECT_EQ(FieldOfWord("CALL"), CALLSIGN);
  EXPECT_EQ(FieldOfWord("st"), START);
  EXPECT_EQ(FieldOfWord("S"), -2);
  EXPECT_EQ(FieldOfWord("MY"), -2);
  EXPECT_EQ(FieldOfWord("myq"), MyQTH);
  EXPECT_EQ(FieldOfWord("QTH"), QTH);
  EXPECT_EQ(FieldOfWord("AUX1"), -1);
  EXPECT_EQ(FieldOfWord("CALLSIGNS"), -1);
}

}  // namespace
}  // namespace vondal
