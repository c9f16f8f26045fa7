// The four analyses of Vonrix, each writing its sections of the report after the header. They
// take the entries in date-and-time order and may change the working fields of the entries
// (partner, value, count).
#pragma once

#include "tools/vonrix/command_line.h"
#include "tools/vonrix/repeat_entries.h"
#include "tools/vonrix/report_writer.h"

namespace vondal {

// Mode C: how the share of first contacts develops per 1000 contacts and per year, how many
// stations were contacted how often, and the stations contacted most often.
void WriteContactCounts(RepeatLog& repeatLog, ReportWriter& out);

// Modes I and S: the distribution of the days between a contact and the station's next one (I),
// or between a station's first and last contact (S), and the 200 longest.
void WriteIntervals(RepeatLog& repeatLog, AnalysisMode mode, ReportWriter& out);

// Mode B: the contacts per band, how many stations were worked on how many bands, and the
// stations worked on the most bands with their bands.
void WriteBandCounts(RepeatLog& repeatLog, ReportWriter& out);

}  // namespace vondal
