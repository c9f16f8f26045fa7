// Validity periods of list entries and the day numbers they are kept in.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "citylist/cglist_format.h"

namespace vondal {

// The day number of a date given as two-digit year, month and day (each 0-99):
// ((Y × 13) + MM) × 32 + DD, Y being YY + 100 for YY below 50 (years 1950-2049). Day numbers
// keep the order of dates, fit 16 bits and are never kOpenStart or kOpenEnd.
constexpr uint16_t ListDayNumber(int yy, int mm, int dd) {
  int y = yy < 50 ? yy + 100 : yy;
  return static_cast<uint16_t>(((y * 13) + mm) * 32 + dd);
}

// The day number of a "YYMMDD" text such as the DATE field; nothing unless it is six digits.
std::optional<uint16_t> DayNumberOfDate(std::string_view yymmdd);

// The days an entry was valid, both included; kOpenStart / kOpenEnd when the list gives none.
struct Validity {
  uint16_t start = kOpenStart;
  uint16_t end = kOpenEnd;

  bool HasDates() const { return start != kOpenStart || end != kOpenEnd; }
  bool operator==(const Validity&) const = default;
};

// Reads the validity column of an entry line ("YYMMDD-YYMMDD", either side optional, partial
// dates completed); doc/cglist_format.md gives the rules. Never fails: what is not a date is open.
Validity ParseValidity(std::string_view column);

}  // namespace vondal
