#include "output/contest_areas.h"

namespace vondal {
namespace {

// Index by index: the call area (":" 10, ";" 11) and the two letters of the KCJ code.
constexpr char kAreas[] = " 8777777::11111111222233333399944444555566666666;0;88888888888888";
constexpr char kKcjFirst[] = "  AIAYMFNNTKCSITGYSGAMKSNOWHTFIOSYTHKTEKFSNKOMKOO-MSRKOSINSTKHIHO";
constexpr char kKcjSecond[] = "  MTTMGSINKNBTBGMNOFCETIRSKGYIKYNGTSASHCOGSMTZGNG-TYMKHCSMBCRDRYM";
static_assert(sizeof kAreas == kMultiplierIndexes + 1 && sizeof kKcjFirst == kMultiplierIndexes + 1 &&
              sizeof kKcjSecond == kMultiplierIndexes + 1);

}  // namespace

int MultiplierArea(int index) {
  if (index < 0 || index >= kMultiplierIndexes) return 0;
  const char c = kAreas[index];
  return c == ':' ? 10 : c == ';' ? 11 : c == ' ' ? 0 : c - '0';
}

std::string KcjCode(int index) {
  if (index < 2 || index >= kMultiplierIndexes) return {};
  return {kKcjFirst[index], kKcjSecond[index]};
}

int KcjIndex(std::string_view code) {
  if (code.size() != 2) return 0;
  for (int index = 2; index < kMultiplierIndexes; ++index) {
    if (kKcjFirst[index] == code[0] && kKcjSecond[index] == code[1]) return index;
  }
  return 0;
}

}  // namespace vondal
