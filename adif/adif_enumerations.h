// The parts of ADIF 3.1's enumerations the standard form writes: the bands with their edges, and
// the modes with their submodes (doc/adif.md).
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace vondal {

// One band of ADIF's band enumeration; both edges belong to it.
struct AdifBand {
  std::string_view name;  // as ADIF spells it: "80m", "70cm"
  int64_t lowHz;
  int64_t highHz;
};

// The bands, from the lowest up.
std::span<const AdifBand> AdifBands();

// The name of the band that holds a frequency in Hz; empty when no band does.
std::string_view AdifBandOfHz(int64_t hz);

// A frequency in MHz as ADIF writes a Number: digits with at most one "." ("7.025", "1260",
// ".5"). Its value in Hz (digits past the sixth after the "." are dropped), or none for any
// other text; a number too large for any band gives -1.
std::optional<int64_t> AdifNumberToHz(std::string_view mhz);

// A mode in ADIF's terms: the MODE and, when the text named a submode, its SUBMODE.
struct AdifMode {
  std::string_view mode;     // "PSK"
  std::string_view submode;  // "PSK31"; empty when the text named the mode itself
};

// The ADIF mode a MODE text names, its ASCII letters compared ignoring case ("psk31" is PSK with
// the submode PSK31, "FT8" the mode FT8); none when it is neither a mode nor a submode of ADIF.
std::optional<AdifMode> AdifModeOf(std::string_view text);

}  // namespace vondal
