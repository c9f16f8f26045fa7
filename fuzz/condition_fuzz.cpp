// Any bytes as a condition expression, compiled and evaluated against records whose texts come
// from the same input: compiling ends with a result code and, on an error, a position inside the
// text; the code never exceeds its buffer; evaluating gives 0, 1 or the too-deep code.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "editor/condition/condition.h"
#include "log/field_table.h"

using namespace vondal;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ResetFieldTable();
  const std::string text(reinterpret_cast<const char*>(data), size);
  Condition condition;
  const int code = condition.Compile(text, (size & 1) != 0);
  if (code != kConditionOk && (code < 0 || code > kConditionTooDeep)) std::abort();
  if (code != kConditionOk && (condition.compiled() || condition.errorPosition() > static_cast<int>(size))) std::abort();
  if (condition.codeBytes() > kConditionCodeBytes) std::abort();
  // The record: the text cut into 17 pieces.
  Record record;
  for (int i = 0; i < kStoredFieldCount; ++i) record[i] = text.substr(i * size / 17, size / 17);
  RecordTexts texts;
  for (int i = 0; i < kStoredFieldCount; ++i) texts[i] = record[i];
  for (bool tag : {false, true}) {
    const int value = condition.Evaluate(texts, tag);
    if (value != 0 && value != 1 && value != kConditionTooDeep) std::abort();
  }
  return 0;
}
