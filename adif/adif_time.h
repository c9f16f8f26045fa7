// The clock a log keeps and the step between the two clocks. A log is kept in JST unless the
// configuration key `logtime` says UTC; ADIF times are UTC. Moving a date and time across the
// nine hours steps the calendar day across midnight (month ends, leap days, New Year).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vondal {

enum class TimeZone { kJst, kUtc };

// The value of `logtime`: "JST" (and no value at all) or "UTC", in any case; nothing for any
// other text, which the caller refuses with kBadLogtime.
std::optional<TimeZone> LogTimeOf(std::string_view value);
inline constexpr char kBadLogtime[] = "logtimeの値が不適当です(JSTかUTC): ";

// DATE (six digits YYMMDD) and START (four digits HHMM) moved from one clock to the other: nine
// hours forward from UTC to JST, back from JST to UTC, the day stepping across midnight. False,
// with both texts as they were, when the result lies outside 1950-01-01 … 2049-12-31 (the dates
// a log can hold). The texts must be a valid date and time.
bool MoveDateTime(std::string& date, std::string& start, TimeZone from, TimeZone to);

// END on its own: the hours of a four-digit HHMM moved by nine, modulo 24 (its date is START's).
// Any other text stays as it is.
void MoveEndTime(std::string& end, TimeZone from, TimeZone to);

}  // namespace vondal
