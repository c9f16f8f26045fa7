#include "citylist/city_list.h"

#include <algorithm>
#include <cstdio>

#include "app/text/charset.h"
#include "app/text/program_folder.h"
#include "app/text/sjis.h"
#include "app/text/text_helpers.h"
#include "app/text/wildcard.h"

namespace vondal {
namespace {

const std::vector<CityEntry> kNoEntries;
const Prefecture kNoPrefecture;

bool IsEntryKind(CityKind kind) {
  return kind == CityKind::kCity || kind == CityKind::kGun || kind == CityKind::kWard;
}

// The index of an entry kind's lists: cities 0, guns 1, wards 2.
size_t KindIndex(CityKind kind) { return static_cast<size_t>(kind) - static_cast<size_t>(CityKind::kCity); }

// The line without a comment ("//" and what follows, with the blanks and TABs before it).
std::string_view WithoutComment(std::string_view line) {
  size_t comment = FindText(line, "//");
  if (comment == std::string_view::npos) return line;
  line = line.substr(0, comment);
  return line.substr(0, line.find_last_not_of(" \t") + 1);
}

// The line cut to its longest start that holds whole characters within kCityListMaxLineBytes.
std::string_view CutToMaxLine(std::string_view line) {
  size_t end = 0;
  while (end < line.size() && end + CharLength(line, end) <= kCityListMaxLineBytes)
    end += CharLength(line, end);
  return line.substr(0, end);
}

}  // namespace

bool CityList::Load() { return LoadFile(FindProgramFile(kCityListFileName)); }

bool CityList::LoadFile(const std::string& path) {
  Clear();
  std::FILE* file = std::fopen(FileNameForSystem(path).c_str(), "rb");
  if (file == nullptr) return false;
  std::string contents;
  char buffer[8192];
  size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) contents.append(buffer, got);
  bool readError = std::ferror(file) != 0;
  std::fclose(file);
  return !readError && LoadText(contents);
}

bool CityList::LoadText(std::string_view contents) {
  Clear();
  size_t pos = 0;
  while (pos < contents.size()) {
    size_t lineEnd = std::min(contents.find('\n', pos), contents.size());
    std::string_view line = contents.substr(pos, lineEnd - pos);
    pos = lineEnd + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (!ReadLine(CutToMaxLine(line))) {
      Clear();
      return false;
    }
  }
  Number();
  loaded_ = true;
  return true;
}

void CityList::Clear() {
  loaded_ = false;
  prefectures_.fill(Prefecture{});
  for (auto& byPrefecture : lists_)
    for (auto& list : byPrefecture) list.clear();
  counts_ = CityCounts{};
}

bool CityList::ReadLine(std::string_view line) {
  line = WithoutComment(line);
  if (!jstrwldc(kCityListLinePattern, line, false)) return true;
  std::vector<std::string_view> columns = Split(line, "\t", kCityListMaxColumns);

  CityNumber number;
  CityResult parsed = ParseNumber(columns[0], number);
  if (columns.size() == kPrefectureLineColumns && number.kind == CityKind::kPrefecture &&
      parsed == CityResult::kFound) {
    // A prefecture named twice, or an area that is not one digit, makes the file unusable.
    Prefecture& prefecture = prefectures_[number.prefecture];
    std::string_view area = columns[3];
    if (!prefecture.name.empty() || area.size() != 1 || !IsAsciiDigit(area[0])) return false;
    prefecture.name = columns[1];
    prefecture.area = area[0] == '0' ? 10 : area[0] - '0';
    return true;
  }
  // An entry: a city, gun or ward number and a name. Anything else is skipped.
  if (parsed != CityResult::kFound || !IsEntryKind(number.kind) || columns.size() < 2) return true;
  CityEntry entry;
  entry.prefecture = static_cast<uint8_t>(number.prefecture);
  entry.kind = number.kind;
  entry.city = static_cast<uint8_t>(number.city);
  entry.own = static_cast<uint8_t>(number.own);
  entry.name = columns[1];
  if (columns.size() > kValidityColumn) entry.validity = ParseValidity(columns[kValidityColumn]);
  Insert(std::move(entry));
  return true;
}

void CityList::Insert(CityEntry entry) {
  // After every entry with an equal or smaller (city, own): the names of one number stay in
  // file order.
  std::vector<CityEntry>& list = ListOf(entry.kind, entry.prefecture);
  auto after = std::upper_bound(list.begin(), list.end(), entry, [](const CityEntry& a, const CityEntry& b) {
    return a.city != b.city ? a.city < b.city : a.own < b.own;
  });
  list.insert(after, std::move(entry));
}

void CityList::Number() {
  int serial = 0;
  for (size_t k = 0; k < lists_.size(); ++k) {
    for (auto& list : lists_[k]) {
      const CityEntry* previous = nullptr;
      for (CityEntry& entry : list) {
        entry.serial = ++serial;
        bool open = entry.validity.end == kOpenEnd;
        // Compared with the city too: the first ward of one city is not a name of the last
        // ward of the city before it.
        bool distinct = previous == nullptr || previous->own != entry.own || previous->city != entry.city;
        for (size_t kind : {size_t{0}, k + 1}) {
          counts_.all[kind] += 1;
          counts_.open[kind] += open;
          counts_.distinct[kind] += distinct;
          counts_.distinctOpen[kind] += distinct && open;
        }
        previous = &entry;
      }
    }
  }
}

std::vector<CityEntry>& CityList::ListOf(CityKind kind, int prefecture) {
  return lists_[KindIndex(kind)][prefecture];
}

const std::vector<CityEntry>& CityList::Entries(CityKind kind, int prefecture) const {
  if (!loaded_ || !IsEntryKind(kind) || prefecture < 1 || prefecture > kPrefectureCount) return kNoEntries;
  return lists_[KindIndex(kind)][prefecture];
}

const Prefecture& CityList::PrefectureOf(int prefecture) const {
  if (!loaded_ || prefecture < 1 || prefecture > kPrefectureCount) return kNoPrefecture;
  return prefectures_[prefecture];
}

size_t CityList::MemoryUsed() const {
  size_t bytes = sizeof prefectures_ + sizeof lists_ + sizeof counts_;
  for (const Prefecture& prefecture : prefectures_) bytes += prefecture.name.size();
  for (const auto& byPrefecture : lists_)
    for (const auto& list : byPrefecture)
      for (const CityEntry& entry : list) bytes += sizeof entry + entry.name.size() + 1;
  return bytes;
}

const CityEntry* CityList::FindEntry(const CityNumber& number) const {
  for (const CityEntry& entry : Entries(number.kind, number.prefecture))
    if (entry.city == number.city && entry.own == number.own) return &entry;
  return nullptr;
}

CityResult CityList::ValidityByNumber(std::string_view text, Validity& validity) const {
  validity = Validity{};
  if (!loaded_) return CityResult::kNotLoaded;
  CityNumber number;
  if (CityResult parsed = ParseNumber(text, number); parsed != CityResult::kFound) return parsed;
  if (number.kind == CityKind::kPrefecture) return CityResult::kFound;
  const CityEntry* entry = FindEntry(number);
  if (entry == nullptr) return CityResult::kNoSuchEntry;
  validity = entry->validity;
  return CityResult::kFound;
}

CityResult CityList::NameOfNumber(std::string_view text, bool withPrefecture, std::string& name) const {
  name.clear();
  if (!loaded_) return CityResult::kNotLoaded;
  CityNumber number;
  if (CityResult parsed = ParseNumber(text, number); parsed != CityResult::kFound) return parsed;
  return NameOfNumber(number, withPrefecture, name);
}

CityResult CityList::NameOfNumber(const CityNumber& number, bool withPrefecture, std::string& name) const {
  name.clear();
  if (!loaded_) return CityResult::kNotLoaded;
  const Prefecture& prefecture = PrefectureOf(number.prefecture);
  if (number.kind == CityKind::kPrefecture) {
    if (prefecture.name.empty()) return CityResult::kNoSuchEntry;
    name = prefecture.name;
    return CityResult::kFound;
  }
  const CityEntry* entry = FindEntry(number);
  if (entry == nullptr) return CityResult::kNoSuchEntry;
  // Tokyo's 23 wards are the wards of city 1001: "東京23区" is a name of its own, never "…市".
  bool tokyoWards =
      number.prefecture == 10 && (number.kind == CityKind::kCity ? number.own : number.city) == 1;
  if (number.kind == CityKind::kWard) {
    if (tokyoWards) {
      name = withPrefecture ? prefecture.name : "東京都";
    } else {
      if (withPrefecture) name = prefecture.name;
      const CityEntry* city = FindEntry({CityKind::kCity, number.prefecture, 0, number.city});
      if (city != nullptr) {
        name += city->name;
        name += "市";
      } else if (!withPrefecture) {
        return CityResult::kNoSuchEntry;
      }
    }
    name += entry->name;
    name += "区";
    return CityResult::kFound;
  }
  // The two guns named 神崎 (Shiga's and Hyogo's) always carry their prefecture.
  bool kanzaki = number.kind == CityKind::kGun && ((number.prefecture == 23 && number.own == 5) ||
                                                   (number.prefecture == 27 && number.own == 11));
  if (withPrefecture || kanzaki) name = prefecture.name;
  name += entry->name;
  if (number.kind == CityKind::kGun) {
    name += "郡";
  } else if (!tokyoWards) {
    name += "市";
  }
  return CityResult::kFound;
}

CityList& TheCityList() {
  static CityList list;
  return list;
}

}  // namespace vondal
