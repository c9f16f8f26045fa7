// Inventing the call signs of the generated stations, and telling Japanese from foreign ones.
#pragma once

#include <string>
#include <string_view>

#include "tools/vonfill/mersenne_twister.h"

namespace vondal::vonfill {

// `J` a Japanese station, `D` a foreign one (DX).
enum class StationKind : char { kJapanese = 'J', kForeign = 'D' };

// The call sign of the author of Vondal, whose own contact every dummy log holds once.
inline constexpr char kAuthorCallsign[] = "QZ0ZZQ";

// A Japanese call sign such as JA1ABC (also 7K1ABC, 8J1ABC, JD1ABC, JA1AB) into `callsign`, and
// its portable suffix into `suffix`: mostly none, else a call-area digit, "MM" or "JD1".
void InventJapaneseCallsign(MersenneTwister& rng, std::string& callsign, std::string& suffix);

// A foreign call sign such as W1ABC or 3A5XYZ into `callsign`; `suffix` is "MM" now and then.
void InventForeignCallsign(MersenneTwister& rng, std::string& callsign, std::string& suffix);

// The kind of a call sign of three characters or more: Japanese for J followed by A-S and for 7 or
// 8 followed by J-N, foreign for any other that starts with a digit 1-9 or a capital letter.
// Anything else counts as Japanese.
StationKind KindOfCallsign(std::string_view callsign);

}  // namespace vondal::vonfill
