// The value of the `rig` key: where rigctld listens, and optionally the MODE a data mode is
// written as. "127.0.0.1:4532", "localhost", "[::1]:4534", "192.168.1.20:4532 FT4"; blanks, tabs,
// commas or semicolons separate the two words.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "station/host_port.h"

namespace vondal {

inline constexpr int kRigctldPort = 4532;          // rigctld's own default
inline constexpr char kDefaultDataMode[] = "FT8";  // the data mode most contacts are made in
inline constexpr size_t kMaxDataModeBytes = 16;    // MODE's longest text

// Where rigctld listens (kRigctldPort when the value names no port), and the data mode.
struct RigAddress : HostPort {
  std::string dataMode = kDefaultDataMode;
};

// The address of a `rig` value, or none when it is not one. Host names other than localhost are
// refused: looking a name up may block for seconds, and the radio must never hold up typing. The
// data mode is printable ASCII of at most 16 bytes.
std::optional<RigAddress> ParseRigAddress(std::string_view setting);

}  // namespace vondal
