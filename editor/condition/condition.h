// Condition expressions over the fields of a record: comparisons of a field with a string
// literal (a pattern, or an order) or a number, the variables tag, ja and dx, and "!", "&", "^",
// "|" with parentheses ("CALL = \"QZ*\" & !tag", "FREQ >= 7 & FREQ < 7.3").
//
// Compile checks the text and turns it into code in a buffer of 1500 bytes (a 6-byte header, then
// nodes); an error has a code (ConditionMessage gives its message) and the byte position in the
// text to put the cursor on. Evaluate then tests a record against the code: 1 true, 0 false, or
// kConditionTooDeep when more than 20 values or operators would be stacked. Any bytes may be
// compiled and any record evaluated; nothing recurses, so neither can overflow the stack.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "log/record.h"

namespace vondal {

inline constexpr int kConditionCodeBytes = 1500;
inline constexpr int kConditionStackDepth = 20;

// The compiler's results (and the evaluator's 13).
enum ConditionCode : int {
  kConditionEmpty = 0,           // "式がありません"
  kConditionFormat = 1,          // "書式の誤りです"
  kConditionUnpaired = 2,        // "括弧が対になっていません"
  kConditionUnclosed = 3,        // "括弧が閉じていません"
  kConditionOpenQuote = 4,       // "引用符が閉じていません"
  kConditionNoOperator = 5,      // "演算子がありません"
  kConditionBadOperator = 6,     // "不正な演算子です"
  kConditionBadField = 7,        // "ﾌｨｰﾙﾄﾞ名が不正です"
  kConditionAmbiguousField = 8,  // "ﾌｨｰﾙﾄﾞを特定できません"
  kConditionNoField = 9,         // "ﾌｨｰﾙﾄﾞ名がありません"
  kConditionNoComparison = 10,   // "比較演算子がありません"
  kConditionNoRightSide = 11,    // "右辺値がありません"
  kConditionTooLong = 12,        // "ｺｰﾄﾞが容量を超えます"
  kConditionTooDeep = 13,        // "括弧が深すぎます"
  kConditionOk = -1,
};

std::string_view ConditionMessage(int code);

// The field a word names: the one of DATE … rQSL whose name it begins (any case); -1 when it
// begins none, -2 when it begins more than one. A word that is a whole name names that field.
int FieldOfWord(std::string_view word);

class Condition {
 public:
  // Compiles `text`; `allowTag` lets the variable tag be used (the search mask allows it). The
  // result code (kConditionOk on success). On an error errorPosition() is where it was found.
  int Compile(std::string_view text, bool allowTag);

  bool compiled() const { return compiled_; }
  int errorPosition() const { return errorPosition_; }
  // Bytes of the code buffer in use (header and nodes).
  int codeBytes() const { return used_; }

  // Tests a record: its 17 stored texts, its mark flag (tag). 1, 0 or kConditionTooDeep; 0 when
  // nothing is compiled.
  int Evaluate(const RecordTexts& texts, bool tag) const;

 private:
  bool Append(const uint8_t* bytes, int size);
  // Evaluate; on kConditionTooDeep `deepAt` (when given) gets the source position it happened at.
  int Run(const RecordTexts& texts, bool tag, int* deepAt) const;

  std::array<uint8_t, kConditionCodeBytes> code_{};
  int used_ = 0;
  int errorPosition_ = 0;
  bool compiled_ = false;
  bool usesJaDx_ = false;  // ja or dx occurs: the call sign is classified for each record
};

}  // namespace vondal
