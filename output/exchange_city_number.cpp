#include "output/exchange_city_number.h"

#include "app/text/sjis.h"
#include "app/text/text_helpers.h"
#include "app/text/wildcard.h"
#include "log/field_table.h"
#include "output/band_table.h"
#include "output/contest_areas.h"
#include "output/contest_number.h"
#include "output/inspection_checks.h"

namespace vondal {

ExchangeCityNumber CityNumberOfExchange(const RecordTexts& texts, int area, const ContestSettings& settings) {
  const int family = ContestFamilyOf(settings, texts[CONTEST]);
  if (family == kNoFamily) return {};
  const size_t n = static_cast<size_t>(ReportLength(ModeOf(texts[MODE])));
  if (texts[rRST].size() <= n) return {"", "ナンバーがありません"};
  std::string number(Trim(texts[rRST].substr(n)));
  // The districts of area 8 send 1## where the list knows them all as Hokkaido, 01.
  const bool district = area == 8 && jstrwldc("1##", number, false);
  switch (family) {
    case kFamilyJarl:
      switch (ApplyJarlNumberRule(number, texts[DATE], texts[CALLSIGN])) {
        case JarlNumberFault::kPower:
          return {"", "出力が不明です"};
        case JarlNumberFault::kOperator:
          return {"", "運用者名がありません"};
        case JarlNumberFault::kUnneeded:
          return {"", "不要な文字列があります"};
        case JarlNumberFault::kNone:
          break;
      }
      if (area == 8 && number.size() == 3 && number[0] == '1' && IsAsciiDigit(number[1]) &&
          IsAsciiDigit(number[2])) {
        number = "01";
      }
      break;
    case kFamilyP:
      number = district ? "01" : number.substr(0, 2);
      break;
    case kFamilyV:
      if (district && number.size() == 3) number = "01";
      break;
    default: {
      const std::string code(CutAtCharacter(number, 2));
      const int index = KcjIndex(code);
      if (index >= 2 && index <= 48) {
        number = (index < 10 ? "0" : "") + std::to_string(index);
      } else {
        number = index >= 51 ? std::string("01") : code;
      }
      break;
    }
  }
  if (area == 11 && number == "48") number = "10007";
  return {number, ""};
}

}  // namespace vondal
