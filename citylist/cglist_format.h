// The layout of CGlist3.TXT, the city, gun and ward list; doc/cglist_format.md describes it.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vondal {

// Looked for in the program folder.
inline constexpr char kCityListFileName[] = "CGlist3.TXT";

// Only lines of this shape are read: two digits at the start and a TAB somewhere.
inline constexpr char kCityListLinePattern[] = "##*\t*";

// A longer line is cut here; the rest of it is not read.
inline constexpr size_t kCityListMaxLineBytes = 254;

// Columns are split at TAB runs, at most this many.
inline constexpr size_t kCityListMaxColumns = 6;

// A prefecture line has exactly this many columns: number, name, unused, call-area digit.
inline constexpr size_t kPrefectureLineColumns = 4;

// JARL prefecture numbers run from 1 to 47.
inline constexpr int kPrefectureCount = 47;

// Column 3 of an entry line: the validity period "YYMMDD-YYMMDD".
inline constexpr size_t kValidityColumn = 3;
// An end date is present when the column matches this: "-", two digits and four more characters.
inline constexpr char kValidityEndPattern[] = "*-##????";

// Day numbers of an open start and an open end.
inline constexpr uint16_t kOpenStart = 0;
inline constexpr uint16_t kOpenEnd = 65535;

}  // namespace vondal
