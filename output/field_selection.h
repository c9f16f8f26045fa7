// The field selection of the CSV and ADIF outputs ("DATE-rQSL", "REMARKS.QSL[],CALLSIGN"): field
// names (the beginning of one of DATE … rQSL), each optionally with a bracketed subfield, joined
// by "," into a list or by "-" into a range.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vondal {

inline constexpr int kMaxSelectedFields = 101;

struct SelectedField {
  int field = 0;         // 0-16
  std::string subfield;  // "" for the whole field; else as stored ("QSL[]")
};

struct FieldSelection {
  std::vector<SelectedField> fields;
  std::string error;      // "" when the text was taken
  int errorPosition = 0;  // where the error is, in bytes
};

FieldSelection ParseFieldSelection(std::string_view text);

// The part of a field's text behind a subfield specification: `specification` ends with its
// opening bracket ("QSL["); the text is searched for it at the start and behind every `outer`
// separator, and the text up to the matching closing bracket is the result. "" when there is no
// such subfield, "***SubfieldError***" when its bracket is not closed. An empty specification
// gives the whole text.
std::string ExtractSubfield(std::string_view outer, std::string_view specification, std::string_view text);
// The same as a view into text (or of "***SubfieldError***"); nothing when there is no such
// subfield, so that an empty subfield and a missing one can be told apart.
std::optional<std::string_view> FindSubfield(std::string_view outer, std::string_view specification,
                                             std::string_view text);

// A stored specification ("QSL[]") cut behind its opening bracket ("QSL["), as ExtractSubfield
// takes it; "" when its last character closes no bracket.
std::string OpeningOfSubfield(std::string_view specification);

}  // namespace vondal
