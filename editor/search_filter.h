// The test every search applies to a record, in its order: the mark condition, the JA/DX
// condition, the imitation mask, the calculation mask (both read the record from the log), and
// the first occurrence of a call-sign part.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "editor/editor_context.h"
#include "editor/editor_state.h"
#include "log/record_blocks.h"

namespace vondal {

// The part of a call sign the first-occurrence condition compares: 'A' the whole call sign;
// otherwise the longest piece between "/" (the first of equal length), for 'B' whole, for 'P'
// up to and for 'S' after its first digit group that follows letters (a part that may be empty,
// and then counts as one like any other). None when the piece is shorter than 3 characters (the
// record fails).
std::optional<std::string> FirstOccurrencePart(std::string_view callsign, char kind);

// The parts seen during one scan: 2048 buckets by the sum of a part's first eight bytes.
class FirstOccurrenceTable {
 public:
  FirstOccurrenceTable();
  void Clear();
  // True when the part is new (it is entered); false when it was seen before.
  bool Enter(const std::string& part);

 private:
  std::vector<std::vector<std::string>> buckets_;
  bool full_ = false;  // memory ran out: every further part passes
};

class RecordFilter {
 public:
  RecordFilter(const EditorContext& context, const SearchConditions& conditions, bool searchAndEdit);

  // Whether record n passes every condition (the first-occurrence table remembers it when it does).
  bool Passes(int n);

  // Whether an imitation mask record accepts these texts.
  static bool MaskAccepts(const Record& mask, const RecordTexts& texts);

 private:
  const EditorContext& context_;
  const SearchConditions& conditions_;
  bool firstOccurrence_;
  FirstOccurrenceTable seen_;
  RecordBlocks records_;
};

}  // namespace vondal
