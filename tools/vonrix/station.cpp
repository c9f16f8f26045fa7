#include "tools/vonrix/station.h"

#include <cstdint>
#include <cstring>

#include "app/text/sjis.h"
#include "app/text/wildcard.h"

namespace vondal {

namespace {

// Whether a text holds a "/". A call sign is short: up to 16 bytes it is read as two words (which
// may overlap), each tested for the byte at once, instead of calling a search.
bool HasSlash(std::string_view text) {
  constexpr uint64_t kOnes = 0x0101010101010101u;
  auto holdsSlash = [](uint64_t word) {
    const uint64_t x = word ^ (kOnes * '/');  // a zero byte where the "/" is
    return ((x - kOnes) & ~x & (kOnes * 0x80)) != 0;
  };
  const char* p = text.data();
  const size_t n = text.size();
  if (n >= 8 && n <= 16) {
    uint64_t first, last;
    std::memcpy(&first, p, 8);
    std::memcpy(&last, p + n - 8, 8);
    return holdsSlash(first) || holdsSlash(last);
  }
  if (n >= 4 && n < 8) {
    uint32_t first, last;
    std::memcpy(&first, p, 4);
    std::memcpy(&last, p + n - 4, 4);
    return holdsSlash(uint64_t{first} << 32 | last);
  }
  return text.find('/') != std::string_view::npos;
}

}  // namespace

std::string_view StationIdentity(std::string_view callsign) {
  if (!HasSlash(callsign)) return callsign.size() >= 3 ? callsign : std::string_view();
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
