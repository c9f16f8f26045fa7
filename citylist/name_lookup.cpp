// Number of a name: recognising "千葉県市川市", "横浜市鶴見区", "伊達市" at the start of a QTH.
#include "app/text/sjis.h"
#include "app/text/text_helpers.h"
#include "app/text/wildcard.h"
#include "citylist/city_list.h"

namespace vondal {
namespace {

constexpr char kOgasawara[] = "小笠原郡";
constexpr CityNumber kOgasawaraGun{CityKind::kGun, 10, 0, 7};

// The length of prefix when text[pos…] begins with it, character by character (so a match never
// ends inside a two-byte character of text); 0 when it does not.
size_t BeginsWith(std::string_view text, size_t pos, std::string_view prefix) {
  size_t i = 0;
  while (i < prefix.size()) {
    if (pos + i >= text.size() || !SameChar(prefix, i, text, pos + i, false)) return 0;
    i += CharLength(prefix, i);
  }
  return i;
}

// The length of name followed by suffix at text[pos…]; 0 when they are not there.
size_t BeginsWith(std::string_view text, size_t pos, std::string_view name, std::string_view suffix) {
  size_t nameLen = name.empty() ? 0 : BeginsWith(text, pos, name);
  size_t suffixLen = nameLen == 0 ? 0 : BeginsWith(text, pos + nameLen, suffix);
  return suffixLen == 0 ? 0 : nameLen + suffixLen;
}

size_t SkipBlanks(std::string_view text, size_t pos) {
  while (pos < text.size() && text[pos] == ' ') ++pos;
  return pos;
}

}  // namespace

CityResult CityList::NumberOfName(std::string_view text, int area, NameMatch& match) const {
  match = NameMatch{};
  if (!loaded_) return CityResult::kNotLoaded;
  size_t pos = SkipBlanks(text, 0);
  if (pos >= text.size() || CharLength(text, pos) != 2) return CityResult::kNotDoubleByte;

  int named = 0;
  for (int p = 1; p <= kPrefectureCount && named == 0; ++p) {
    if (size_t len = BeginsWith(text, pos, prefectures_[p].name); len > 0) {
      named = p;
      pos = SkipBlanks(text, pos + len);
    }
  }
  // Call area 11 is Ogasawara, which is Tokyo's; 小笠原郡 stands for it, after 東京都 too.
  if (area == 11 && (named == 0 || named == 10)) {
    if (size_t len = BeginsWith(text, pos, kOgasawara); len > 0) {
      match.number = kOgasawaraGun;
      if (const CityEntry* entry = FindEntry(kOgasawaraGun)) match.validity = entry->validity;
      match.restPos = pos + len;
      return CityResult::kFound;
    }
  }
  if (named != 0 && area != 0 && prefectures_[named].area != area) return CityResult::kOtherCallArea;

  // Cities are looked for when a 市 follows the first character, guns when a 郡 does.
  std::string_view rest = text.substr(pos);
  Candidates found{text, pos, jstrwldc("?*市*", rest, false), jstrwldc("?*郡*", rest, false), 0, {}};
  for (int p = 1; p <= kPrefectureCount && found.count < 2; ++p)
    if (named != 0 ? p == named : area == 0 || prefectures_[p].area == area) Collect(p, found);
  if (found.count > 1) return CityResult::kSeveralCandidates;
  if (found.count == 1) {
    match = found.first;
  } else {
    if (named == 0 && area != 0) {
      for (int p = 1; p <= kPrefectureCount && found.count == 0; ++p)
        if (prefectures_[p].area != area) Collect(p, found);
      if (found.count > 0) return CityResult::kOtherCallArea;
    }
    if (named == 0) return CityResult::kNoMatch;
    match.number = {CityKind::kPrefecture, named, 0, 0};
    match.restPos = pos;
  }
  if (match.number.kind != CityKind::kGun) FindWard(text, match);
  return CityResult::kFound;
}

void CityList::Collect(int p, Candidates& found) const {
  auto collect = [&](CityKind kind, std::string_view suffix) {
    for (const CityEntry& entry : Entries(kind, p)) {
      size_t len = BeginsWith(found.text, found.restPos, entry.name, suffix);
      if (len == 0) continue;
      if (++found.count == 1) found.first = {entry.Number(), entry.validity, found.restPos + len};
      if (found.count > 1) return;
    }
  };
  if (found.cities) collect(CityKind::kCity, "市");
  if (found.guns && found.count < 2) collect(CityKind::kGun, "郡");
}

// A 区 after a city (or after 東京都 alone) asks for one of its wards; when several ward names
// fit, the last one in list order stands.
void CityList::FindWard(std::string_view text, NameMatch& match) const {
  size_t pos = match.restPos;
  if (FindText(text.substr(pos), "区") == std::string_view::npos) return;
  // Tokyo's wards are all of city 01, whichever city or none was named.
  bool tokyo = match.number.prefecture == 10;
  if (match.number.kind == CityKind::kPrefecture && !tokyo) return;
  int city = match.number.own;
  for (const CityEntry& ward : Entries(CityKind::kWard, match.number.prefecture)) {
    if (!tokyo && ward.city != city) continue;
    if (size_t len = BeginsWith(text, pos, ward.name, "区"); len > 0)
      match = {ward.Number(), ward.validity, pos + len};
  }
}

}  // namespace vondal
