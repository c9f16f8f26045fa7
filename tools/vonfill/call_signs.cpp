#include "tools/vonfill/call_signs.h"

#include "app/text/sjis.h"

namespace vondal::vonfill {
namespace {

// Call-area digits weighted by how many stations each area has; also the one-digit suffixes.
constexpr char kAreaDigits[] = "111111222233333445666778890";
constexpr char kForeignCharacters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ123456789";

bool Within(char c, char first, char last) { return c >= first && c <= last; }

char Letter(MersenneTwister& rng) { return static_cast<char>('A' + rng.Random(26)); }

}  // namespace

void InventJapaneseCallsign(MersenneTwister& rng, std::string& callsign, std::string& suffix) {
  char c[6];
  c[0] = 'J';
  c[1] = static_cast<char>('A' + rng.Random(19));
  c[2] = kAreaDigits[rng.Random(27)];
  for (int i = 3; i < 6; ++i) c[i] = Letter(rng);
  if (c[1] == 'B' || c[1] == 'C') {
    // JB and JC are not issued: make them special (8J-8N), Ogasawara (JD1), 7J or plain JA.
    const double r = rng.Draw();
    if (r < 0.05) {
      c[0] = '8';
      c[1] = static_cast<char>('J' + static_cast<int>(r * 100));
    } else if (r < 0.06) {
      c[1] = 'D';
      c[2] = '1';
    } else if (r < 0.07) {
      c[0] = '7';
      c[1] = 'J';
    } else {
      c[1] = 'A';
    }
  } else if (c[1] == 'D') {
    c[0] = '7';
    c[1] = static_cast<char>('K' + rng.Random(4));
    c[2] = static_cast<char>('1' + rng.Random(4));
  }
  int lenBytes = 6;
  if (c[1] == 'A' && rng.Draw() < 0.1) lenBytes = 5;
  callsign.assign(c, lenBytes);

  const double r = rng.Draw();
  if (r < 0.2) {
    suffix.assign(1, kAreaDigits[static_cast<int>(r * 135)]);
  } else if (r < 0.202) {
    suffix = "MM";
  } else if (r < 0.205) {
    suffix = "JD1";
  } else {
    suffix.clear();
  }
}

void InventForeignCallsign(MersenneTwister& rng, std::string& callsign, std::string& suffix) {
  char first = kForeignCharacters[rng.Random(35)];
  const char second = kForeignCharacters[rng.Random(30)];
  if (IsAsciiDigit(second)) {
    callsign.assign(1, IsAsciiDigit(first) ? 'U' : first);
  } else {
    // Keep clear of the Japanese prefixes JA-JS, 7J-7N and 8J-8N.
    if (first == 'J' && Within(second, 'A', 'S')) first = 'W';
    if ((first == '7' || first == '8') && Within(second, 'J', 'N')) first = first == '7' ? 'K' : 'N';
    callsign = {first, second};
  }
  callsign += static_cast<char>('0' + rng.Random(10));
  for (int i = 0; i < 3; ++i) callsign += Letter(rng);
  if (rng.Draw() < 0.5) callsign.pop_back();
  if (rng.Draw() < 0.002) {
    suffix = "MM";
  } else {
    suffix.clear();
  }
}

StationKind KindOfCallsign(std::string_view callsign) {
  if (callsign.size() < 3) return StationKind::kJapanese;
  const char first = callsign[0];
  const char second = callsign[1];
  if ((first == 'J' && Within(second, 'A', 'S')) ||
      ((first == '7' || first == '8') && Within(second, 'J', 'N'))) {
    return StationKind::kJapanese;
  }
  if (Within(first, '1', '9') || IsAsciiUpper(first)) return StationKind::kForeign;
  return StationKind::kJapanese;
}

}  // namespace vondal::vonfill
