// The city list loader and its lookups on any file contents: the first line also serves as the
// text looked up, so names and numbers meet the entries the same input made.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "citylist/city_list.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view contents(reinterpret_cast<const char*>(data), size);
  vondal::CityList list;
  list.LoadText(contents);

  std::string_view query = contents.substr(0, contents.find('\n'));
  std::string name;
  vondal::Validity validity;
  vondal::NameMatch match;
  for (int area = 0; area <= 11; ++area) {
    if (list.NumberOfName(query, area, match) == vondal::CityResult::kFound && match.restPos > query.size())
      __builtin_trap();
  }
  list.NameOfNumber(query.substr(0, 6), true, name);
  list.NameOfNumber(query.substr(0, 6), false, name);
  list.ValidityByNumber(query.substr(0, 6), validity);
  vondal::ParseValidity(query);
  for (int k = 2; k <= 4; ++k)
    for (int p = 1; p <= vondal::kPrefectureCount; ++p)
      for (const vondal::CityEntry& entry : list.Entries(static_cast<vondal::CityKind>(k), p))
        list.NameOfNumber(entry.Number(), true, name);
  return 0;
}
