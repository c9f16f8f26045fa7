// JARL location numbers: a prefecture "pp", a city (市) "ppcc", a gun (郡) "pp0gg" and a ward (区)
// of a city "ppccww", their parts and their text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vondal {

// The kind of a number; cities, guns and wards are the kinds of list entries.
enum class CityKind : uint8_t { kNone = 0, kPrefecture = 1, kCity = 2, kGun = 3, kWard = 4 };

// The answers of the number and name lookups. The values are the result codes the editor and the
// outputs act on; kFound is the only success.
enum class CityResult : int {
  kFound = 0,
  kNotNumberForm = 1,         // not "##", "####", "##0##" or "######"
  kNotDoubleByte = 2,         // a name must start with a two-byte character
  kPrefectureOutOfRange = 3,  // not 01-47
  kNotLoaded = 4,             // CGlist3.TXT was missing or faulty
  kNoSuchEntry = 5,
  kOtherCallArea = 6,      // the name belongs to another call area
  kSeveralCandidates = 7,  // more than one city or gun fits the name
  kNoMatch = 8,
  kNoKind = 9,
};

// A parsed number. own is the last two digits (the city of "ppcc", the gun of "pp0gg", the ward
// of "ppccww"); city is the city of a ward and 0 for every other kind.
struct CityNumber {
  CityKind kind = CityKind::kNone;
  int prefecture = 0;
  int city = 0;
  int own = 0;

  bool operator==(const CityNumber&) const = default;
};

// Parses the whole text as a number. kFound, kNotNumberForm, or kPrefectureOutOfRange (number
// is filled in then too).
CityResult ParseNumber(std::string_view text, CityNumber& number);

// The text of a number: "%02d", "%02d%02d", "%02d0%02d" or "%02d%02d%02d" by kind. kFound,
// kNoKind, kPrefectureOutOfRange, or kNotNumberForm for a city or own number outside 0-99.
CityResult NumberText(const CityNumber& number, std::string& text);

}  // namespace vondal
