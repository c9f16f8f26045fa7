// The developer's command prompt (P in the main menu, only in developer mode): runs a command
// line through /bin/sh with "$0" and "$1" standing for the log and the safety file.
#pragma once

#include <string>
#include <string_view>

namespace vondal {

struct RunState;

// Replaces every "$0" with `logPath` and every "$1" with `safetyPath`.
std::string SubstitutePaths(std::string_view line, std::string_view logPath, std::string_view safetyPath);

// Runs the prompt until Esc; returns 0.
int RunCommandPrompt(RunState& run);

}  // namespace vondal
