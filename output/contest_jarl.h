// The JARL electronic log: the summary sheet (R2.1 or R1.0) with its elements in their fixed
// order, filled from the defaults, the station's call sign and the `JARLsummary` lines, and the log
// section with one line per contact.
#pragma once

#include <string>

#include "log/date_time.h"
#include "output/contest_run.h"

namespace vondal {

// The summary sheet and the log section of a finished run in format R2.1 or R1.0 (run.format);
// today is the date the sheet is signed on.
std::string JarlLog(const ContestRun& run, const ContestSettings& settings, const DateTime& today);

// The R2.1 form of an exchange: a text as long as the report or longer is the report, one blank
// and the rest without blanks ("59913M" → "599 13M"); a shorter one stays.
std::string ReshapedExchange(std::string_view exchange, int reportLength);

}  // namespace vondal
