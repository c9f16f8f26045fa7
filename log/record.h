// The working record and the record budget.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "log/field_table.h"

namespace vondal {

// The texts of one record in field order (CP932 bytes). The editor holds one working record;
// AUX1 and AUX2 are never written to the log.
struct Record {
  std::array<std::string, kFieldCount> text;

  std::string& operator[](int field) { return text[field]; }
  const std::string& operator[](int field) const { return text[field]; }
};

// The 17 stored texts of a record read from the log. The views point into the reader's buffer
// and are NUL-terminated there; they stay valid until the next read.
using RecordTexts = std::array<std::string_view, kStoredFieldCount>;

// Copies stored texts into the stored fields of a record (AUX1 and AUX2 are left alone).
void CopyTexts(const RecordTexts& from, Record& to);

// The stored texts of one record sum to at most this many bytes: with their 17 separators they
// fill at most 199 bytes, and a record that fills all 199 loses only its last separator under
// the line end, which the reader puts back.
inline constexpr int kRecordBudget = 182;

// The longest text field i may take while the other stored fields keep their texts: the smaller
// of its max length and the budget less the counted lengths of the other 16 stored fields (DATE …
// MODE count within a reserved range, the rest by their length). AUX1/AUX2: the max length.
int FieldLimit(int field, const Record& record);

// The counted length of a stored field's text under the record budget.
int CountedLength(int field, size_t length);

}  // namespace vondal
