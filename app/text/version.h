// The version of the system as its files and screens show it.
#pragma once

namespace vondal {

// Written into marker records of the safety file (FREQ) and shown by the banner.
inline constexpr char kProgramVersion[] = "w01.022";

}  // namespace vondal
