#include "citylist/call_area.h"

#include "app/text/sjis.h"
#include "app/text/wildcard.h"

namespace vondal {
namespace {

// Call signs whose area their digit does not tell.
struct SpecialArea {
  const char* pattern;
  int area;
};
constexpr SpecialArea kSpecialAreas[] = {
    {"8J1RL", -1}, {"8J1RM", -1}, {"8J90XPO", 3}, {"8M2000", 0}, {"8N2000", 0}, {"JD1???", 11},
};

constexpr const char* kSpecialStations[] = {"?@#Y@@*", "?@#Z@@*", "JA#RL", "JA#RL/*", "8*"};

// The area of a digit: "0" is area 10.
int AreaOfDigit(char c) { return c == '0' ? 10 : c - '0'; }

}  // namespace

JaDx ClassifyJaDx(std::string_view callsign) {
  if (callsign.size() < 3) return JaDx::kNeither;
  char first = callsign[0], second = callsign[1];
  if ((first == 'J' && second >= 'A' && second <= 'S') ||
      ((first == '7' || first == '8') && second >= 'J' && second <= 'N'))
    return JaDx::kJA;
  if ((first >= '1' && first <= '9') || IsAsciiUpper(first)) return JaDx::kDX;
  return JaDx::kNeither;
}

int CallArea(std::string_view callsign) {
  if (ClassifyJaDx(callsign) != JaDx::kJA) return 0;
  size_t slash = callsign.find('/');
  if (slash == std::string_view::npos) {
    // The special call signs all begin with "8" or "JD".
    if (callsign[0] == '8' || (callsign[0] == 'J' && callsign[1] == 'D')) {
      for (const SpecialArea& special : kSpecialAreas)
        if (jstrwldc(special.pattern, callsign, false)) return special.area;
    }
    if (callsign[0] == '7' && callsign[1] != 'J') return 1;  // 7K-7N are area 1
    return IsAsciiDigit(callsign[2]) ? AreaOfDigit(callsign[2]) : 0;
  }
  // A portable call sign: the area after the "/".
  std::string_view portable = callsign.substr(slash);
  if (portable.starts_with("/JR6")) return 6;
  if (portable.starts_with("/JD1")) return 11;
  return portable.size() >= 2 && IsAsciiDigit(portable[1]) ? AreaOfDigit(portable[1]) : 0;
}

bool IsSpecialStation(std::string_view callsign) {
  for (const char* pattern : kSpecialStations)
    if (jstrwldc(pattern, callsign, false)) return true;
  return false;
}

}  // namespace vondal
