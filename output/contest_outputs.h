// The contest logs of the processing menu's C (ｺﾝﾃｽﾄﾛｸﾞ): the JARL and KCJ forms, operating days,
// other contests, QSO parties and the check list.
#pragma once

#include <optional>
#include <string>

#include "output/output_frame.h"

namespace vondal {

// Runs the contest output of `kind` (J K D O P C of the contest menu): its form, its file. The
// file's name, which the menu shows in the viewer; nothing when the form was left or the output
// not written.
std::optional<std::string> RunContestOutput(const OutputContext& context, char kind);

}  // namespace vondal
