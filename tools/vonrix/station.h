// What Vonrix reads from a CALLSIGN: the station it belongs to, whether it is a Japanese or a
// foreign station, and whether it is a club station.
#pragma once

#include <string_view>

namespace vondal {

// The station of a CALLSIGN: its longest part between "/" (the first of equal length), so that
// JA1ABC/3 and JA1ABC/P are both JA1ABC. Empty when that part is shorter than 3 bytes (AB/C):
// such a record belongs to no station.
std::string_view StationIdentity(std::string_view callsign);

enum class StationKind { kNeither, kJapanese, kForeign };

// Japanese: longer than 2 bytes and beginning with J and a letter A-S, or with 7 or 8 and a
// letter J-N. Otherwise foreign when it begins with a digit 1-9 or a letter; else neither.
StationKind KindOf(std::string_view callsign);

// A Japanese club station: ?@#Y@@*, ?@#Z@@*, JA#RL, JA#RL/* or 8* (jstrwldc patterns).
bool IsClubStation(std::string_view callsign);

}  // namespace vondal
