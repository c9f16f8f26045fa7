// The report of a join: what of the file the log did not take as it stood (texts cut, characters
// CP932 lacks, contacts skipped as already in the log, an unfinished end of an ADIF file), a line
// each, for the viewer. A text file in CP932 with CR LF line ends.
#pragma once

#include <string>
#include <string_view>

#include "editor/join_read.h"

namespace vondal {

// The report's text: a header naming the log, the file and the counts, then one line per note.
std::string JoinReportText(const JoinResult& result, std::string_view logName, std::string_view fileName);

// Where the report goes: the output folder (`trans`), the log's name without its folder and its
// extension, "-join.TXT" ("2024-join.TXT").
std::string JoinReportName(std::string_view outputFolder, std::string_view logPath);

}  // namespace vondal
