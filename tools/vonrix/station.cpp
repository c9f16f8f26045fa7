#include "tools/vonrix/station.h"

#include "app/text/sjis.h"
#include "app/text/wildcard.h"

namespace vondal {

std::string_view StationIdentity(std::string_view callsign) {
  // A second byte of a two-byte character is never "/" (they start at 0x40), so the parts can be
  // cut at every "/" byte.
  std::string_view longest;
  size_t start = 0;
  while (true) {
    const size_t slash = callsign.find('/', start);
    const std::string_view part =
        callsign.substr(start, slash == std::string_view::npos ? slash : slash - start);
    if (part.size() > longest.size()) longest = part;
    if (slash == std::string_view::npos) break;
    start = slash + 1;
  }
  return longest.size() >= 3 ? longest : std::string_view();
}

StationKind KindOf(std::string_view callsign) {
  if (callsign.empty()) return StationKind::kNeither;
  const char first = callsign[0];
  if (callsign.size() > 2) {
    const char second = callsign[1];
    if (first == 'J' && second >= 'A' && second <= 'S') return StationKind::kJapanese;
    if ((first == '7' || first == '8') && second >= 'J' && second <= 'N') return StationKind::kJapanese;
  }
  if ((first >= '1' && first <= '9') || IsAsciiLetter(first)) return StationKind::kForeign;
  return StationKind::kNeither;
}

bool IsClubStation(std::string_view callsign) {
  static constexpr std::string_view kClubPatterns[] = {"?@#Y@@*", "?@#Z@@*", "JA#RL", "JA#RL/*", "8*"};
  for (std::string_view pattern : kClubPatterns) {
    if (jstrwldc(pattern, callsign, false)) return true;
  }
  return false;
}

}  // namespace vondal
