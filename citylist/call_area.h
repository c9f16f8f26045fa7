// Call-sign helpers of the city counting and the name lookups: whether a call sign is Japanese,
// its call area, and whether it is a special station.
#pragma once

#include <string_view>

namespace vondal {

enum class JaDx { kNeither, kJA, kDX };

// JA: "J" and a letter A-S, or "7"/"8" and a letter J-N. DX: any other call sign starting with
// a digit 1-9 or a letter A-Z. Neither: shorter than 3 characters, or anything else.
JaDx ClassifyJaDx(std::string_view callsign);

// The call area 1-11 of a Japanese call sign (10 for a "0", 11 for Ogasawara, JD1); 0 or -1
// when it has none (every foreign call sign; -1 for the few special stations without an area).
int CallArea(std::string_view callsign);

// Commemorative and club-type special stations ("8J1RL", "JA1RL", "JA1YAA", …).
bool IsSpecialStation(std::string_view callsign);

}  // namespace vondal
