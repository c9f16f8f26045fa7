// The location number (JARL prefecture, city, gun or ward number) a contact's received contest
// exchange carries: the contest family of its CONTEST, then the family's rules for the power, the
// operator name, area 8's districts and the KCJ codes. The city/gun table reads locations this way
// when QTH is empty; the error inspection checks numbers by the same rules.
#pragma once

#include <string>

#include "log/record.h"
#include "output/contest_settings.h"

namespace vondal {

struct ExchangeCityNumber {
  std::string number;   // the number, when one was found
  std::string message;  // why there is none ("ナンバーがありません", "出力が不明です", …)
};

// The number of a record whose CALLSIGN has call area `area` (1-11). Both texts are empty when the
// record names no family (then it carries no number and nothing is wrong with it).
ExchangeCityNumber CityNumberOfExchange(const RecordTexts& texts, int area, const ContestSettings& settings);

}  // namespace vondal
