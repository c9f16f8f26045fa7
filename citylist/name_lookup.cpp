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

  int candidates = 0;
  for (int p = 1; p <= kPrefectureCount; ++p) {
    bool fits = named != 0 ? p == named : area == 0 || prefectures_[p].area == area;
    if (fits) CollectCandidates(p, text, pos, candidates, match);
    if (candidates > 1) return CityResult::kSeveralCandidates;
  }
  if (candidates == 0) {
    if (named == 0 && area != 0) {
      NameMatch elsewhere;
      for (int p = 1; p <= kPrefectureCount && candidates == 0; ++p)
        if (prefectures_[p].area != area) CollectCandidates(p, text, pos, candidates, elsewhere);
      if (candidates > 0) return CityResult::kOtherCallArea;
    }
    if (named == 0) return CityResult::kNoMatch;
    match.number = {CityKind::kPrefecture, named, 0, 0};
    match.restPos = pos;
  }
  if (match.number.kind != CityKind::kGun) FindWard(text, match);
  return CityResult::kFound;
}

void CityList::CollectCandidates(int p, std::string_view text, size_t restPos, int& candidates,
                                 NameMatch& match) const {
  std::string_view rest = text.substr(restPos);
  struct Kind {
    CityKind kind;
    const char* pattern;
    const char* suffix;
  };
  for (const Kind& kind : {Kind{CityKind::kCity, "?*市*", "市"}, Kind{CityKind::kGun, "?*郡*", "郡"}}) {
    if (!jstrwldc(kind.pattern, rest, false)) continue;
    for (const CityEntry& entry : Entries(kind.kind, p)) {
      size_t len = BeginsWith(text, restPos, entry.name, kind.suffix);
      if (len == 0) continue;
      if (++candidates == 1) match = {entry.Number(), entry.validity, restPos + len};
      if (candidates > 1) return;
    }
  }
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
