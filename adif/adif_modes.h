// ADIF 3.1's modes with their submodes, as the standard form writes them (doc/adif.md).
#pragma once

#include <optional>
#include <string_view>

namespace vondal {

// A mode in ADIF's terms: the MODE and, when the text named a submode, its SUBMODE.
struct AdifMode {
  std::string_view mode;     // "PSK"
  std::string_view submode;  // "PSK31"; empty when the text named the mode itself
};

// The ADIF mode a MODE text names, its ASCII letters compared ignoring case ("psk31" is PSK with
// the submode PSK31, "FT8" the mode FT8); none when it is neither a mode nor a submode of ADIF.
std::optional<AdifMode> AdifModeOf(std::string_view text);

}  // namespace vondal
