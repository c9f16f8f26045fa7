#include "tools/vonfill/city_lists.h"

#include <fstream>

#include "app/text/charset.h"
#include "app/text/sjis.h"
#include "app/text/wildcard.h"

namespace vondal::vonfill {
namespace {

// Entries and name bytes each call area keeps.
struct Capacity {
  int entries;
  int poolBytes;
};
constexpr Capacity kCapacity[10] = {{92, 790}, {315, 2839}, {171, 1465}, {218, 1930}, {117, 951},
                                    {84, 688}, {212, 1770}, {154, 1254}, {132, 1142}, {64, 524}};

// A name is taken only while its area's pool has more than this many bytes left.
constexpr int kPoolReserve = 16;

// The call area of each prefecture code 00-47; "-" is no prefecture.
constexpr std::string_view kAreaOfPrefecture = "-87777770011111111222233333399944444555566666666";

// Designated cities: the number of the city whose wards follow, and the name put in front of them.
constexpr std::string_view kDesignatedCities[] = {
    "0101札幌市",   "0601仙台市",   "0801新潟市",     "1001東京都", "1101横浜市", "1103川崎市",
    "1110相模原市", "1201千葉市",   "1344さいたま市", "1801静岡市", "1802浜松市", "2001名古屋市",
    "2201京都市",   "2501大阪市",   "2502堺市",       "2701神戸市", "3101岡山市", "3501広島市",
    "4001福岡市",   "4021北九州市", "4301熊本市",
};

std::string_view DesignatedCity(std::string_view number) {
  for (std::string_view row : kDesignatedCities) {
    if (row.substr(0, 4) == number.substr(0, 4)) return row.substr(4);
  }
  return {};
}

// The words of a line split at blanks and tabs, at most `most` (the last keeps the rest).
int SplitWords(std::string_view line, std::string_view* words, int most) {
  int count = 0;
  size_t pos = 0;
  while (pos < line.size() && count < most) {
    while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t')) ++pos;
    if (pos == line.size()) break;
    size_t end = pos;
    if (count + 1 < most) {
      while (end < line.size() && line[end] != ' ' && line[end] != '\t') end += CharLength(line, end);
    } else {
      end = line.size();
    }
    words[count++] = line.substr(pos, end - pos);
    pos = end;
  }
  return count;
}

}  // namespace

bool CityLists::Load(const std::string& path) {
  std::ifstream in(FileNameForSystem(path), std::ios::binary);
  if (!in) return false;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    AddLine(line);
  }
  return true;
}

void CityLists::AddLine(std::string_view line) {
  // Entries with an end date are places that no longer exist.
  if (!jstrwldc("####*\t*", line, false) || jstrwldc("*-######*", line, false)) return;
  const char* suffix;
  std::string_view prefix;
  if (jstrwldc("####\t*", line, false)) {
    suffix = "市";
  } else if (jstrwldc("#####\t*", line, false)) {
    suffix = "郡";
  } else if (jstrwldc("######\t*", line, false)) {
    suffix = "区";
    prefix = DesignatedCity(line);
  } else {
    return;
  }
  const size_t prefecture = static_cast<size_t>((line[0] - '0') * 10 + (line[1] - '0'));
  if (prefecture >= kAreaOfPrefecture.size() || kAreaOfPrefecture[prefecture] == '-') return;
  Area& area = areas_[kAreaOfPrefecture[prefecture] - '0'];

  std::string_view words[4];
  if (SplitWords(line, words, 4) < 3) return;
  const std::string_view name = words[1];
  // Tokyo's 23 wards as a whole and Ogasawara have QTHs of their own.
  if (name == "東京23区" || name == "小笠原") return;

  std::string text;
  text.reserve(prefix.size() + name.size() + 2);
  text.append(prefix).append(name).append(suffix);
  const Capacity& capacity = kCapacity[&area - areas_.data()];
  const int left = capacity.poolBytes - area.poolBytes;
  // A name must fit the pool whole, terminator included.
  if (static_cast<int>(area.names.size()) >= capacity.entries || left <= kPoolReserve ||
      static_cast<int>(text.size()) + 1 > left) {
    return;
  }
  area.poolBytes += static_cast<int>(text.size()) + 1;
  area.names.push_back(std::move(text));
}

std::string_view CityLists::Pick(int area, MersenneTwister& rng) const {
  const std::vector<std::string>& list = areas_[area].names;
  if (list.empty()) return {};
  return list[rng.Random(static_cast<int>(list.size()))];
}

}  // namespace vondal::vonfill
