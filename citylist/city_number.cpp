#include "citylist/city_number.h"

#include <cstdio>

#include "app/text/wildcard.h"
#include "citylist/cglist_format.h"

namespace vondal {
namespace {

int TwoDigits(std::string_view text, size_t pos) { return (text[pos] - '0') * 10 + (text[pos + 1] - '0'); }

}  // namespace

CityResult ParseNumber(std::string_view text, CityNumber& number) {
  number = CityNumber{};
  if (jstrwldc("##", text, false)) {
    number.kind = CityKind::kPrefecture;
  } else if (jstrwldc("####", text, false)) {
    number.kind = CityKind::kCity;
    number.own = TwoDigits(text, 2);
  } else if (jstrwldc("##0##", text, false)) {
    number.kind = CityKind::kGun;
    number.own = TwoDigits(text, 3);
  } else if (jstrwldc("######", text, false)) {
    number.kind = CityKind::kWard;
    number.city = TwoDigits(text, 2);
    number.own = TwoDigits(text, 4);
  } else {
    return CityResult::kNotNumberForm;
  }
  number.prefecture = TwoDigits(text, 0);
  if (number.prefecture < 1 || number.prefecture > kPrefectureCount) return CityResult::kPrefectureOutOfRange;
  return CityResult::kFound;
}

CityResult NumberText(const CityNumber& number, std::string& text) {
  text.clear();
  if (number.kind == CityKind::kNone) return CityResult::kNoKind;
  if (number.prefecture < 1 || number.prefecture > kPrefectureCount) return CityResult::kPrefectureOutOfRange;
  if (number.city < 0 || number.city > 99 || number.own < 0 || number.own > 99)
    return CityResult::kNotNumberForm;
  char buffer[8];
  switch (number.kind) {
    case CityKind::kPrefecture:
      std::snprintf(buffer, sizeof buffer, "%02d", number.prefecture);
      break;
    case CityKind::kCity:
      std::snprintf(buffer, sizeof buffer, "%02d%02d", number.prefecture, number.own);
      break;
    case CityKind::kGun:
      std::snprintf(buffer, sizeof buffer, "%02d0%02d", number.prefecture, number.own);
      break;
    default:
      std::snprintf(buffer, sizeof buffer, "%02d%02d%02d", number.prefecture, number.city, number.own);
      break;
  }
  text = buffer;
  return CityResult::kFound;
}

}  // namespace vondal
