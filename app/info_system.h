// What the information screen asks the system: its name and release, the current folder, the
// running program's file and when it was made, and when this run started. CP932 texts.
#pragma once

#include <ctime>
#include <string>

namespace vondal {

// "Linux 6.1.0-18-amd64": the system name and release of uname; "?" when it cannot be had.
std::string SystemNameAndRelease();

// The current folder, or "" when it cannot be had.
std::string CurrentFolder();

// The running program's file (from /proc/self/exe), or "" when it cannot be had.
std::string ProgramPath();

// The modification time of the running program's file; 0 when it cannot be had.
std::time_t ProgramFileTime();

// When the program started (taken while the program is loaded, before main runs).
std::time_t StartTime();

// A moment as local time "%04d-%02d-%02d %02d:%02d:%02d".
std::string LocalTimeText(std::time_t moment);

}  // namespace vondal
