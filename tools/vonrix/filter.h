// Record filters of Vonrix: "'Field'(!)='Keyword'" compares ignoring the case of half-width
// letters, "'Field'(!):'Keyword'" exactly; the keyword is a jstrwldc pattern, "!" turns the
// verdict round. A record must pass every filter.
#pragma once

#include <string>
#include <string_view>

namespace vondal {

struct Filter {
  int field = 0;         // DATE … rQSL
  bool negated = false;  // "!": the record passes when the keyword does not match
  bool exact = false;    // ":" instead of "="
  std::string keyword;   // CP932
};

// Parses a filter argument. The field name is the leading run of ASCII letters and must be the
// beginning of exactly one stored field's name, case ignored ("CALL" is CALLSIGN, "C" is refused:
// CALLSIGN or CONTEST). False when the text is no filter.
bool ParseFilter(std::string_view text, Filter& filter);

// True when a record whose field holds `text` passes the filter.
bool Passes(const Filter& filter, std::string_view text);

// The filter as the report header shows it: " CALLSIGN!==JA1*" (name, "!" when negated, "=", a
// second "=" for an exact filter, keyword).
std::string Describe(const Filter& filter);

}  // namespace vondal
