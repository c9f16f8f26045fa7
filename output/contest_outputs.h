// The contest logs of the processing menu's C (ｺﾝﾃｽﾄﾛｸﾞ): the JARL and KCJ forms, operating days,
// other contests, QSO parties and the check list.
#pragma once

#include <optional>
#include <string>

#include "log/date_time.h"
#include "output/output_frame.h"

namespace vondal {

// Runs the contest output of `kind` (J K D O P C of the contest menu): its form, its file. The
// file's name, which the menu shows in the viewer; nothing when the form was left or the output
// not written.
std::optional<std::string> RunContestOutput(const OutputContext& context, char kind);

// The bodies, into the job's open file (not finished): the score table and the log in the format
// of parameter 35 for kinds J K D O P (a summary sheet signed on `today`), and the check list.
void WriteContestLog(OutputJob& job, char kind, const DateTime& today);
void WriteCheckList(OutputJob& job);

}  // namespace vondal
